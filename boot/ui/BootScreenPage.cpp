#include "boot/ui/BootScreenPage.h"

#include <shellapi.h>

#include "boot/ui/BootScreenPreviewDlg.h"
#include "boot/ui/BootScreenRes.h"
#include "changers/ProgramPatch.h"
#include "core/PVoptionData.h"
#include "core/WindowsGeneration.h"
#include "i18n/MessageKeys.h"
#include "pages/PagesRes.h"
#include "platform/AsciiText.h"
#include "platform/Log.h"

namespace qv {
namespace {

const char kSection[] = "Boot Screen Page";

const ControlText kTexts[] = {
    {IDC_CHANGE_MODE_LABEL, kSection, "001"}, {IDC_RESTORE, kSection, "002"},
    {IDC_GET_MORE, kSection, "003"},          {IDC_SET_CURRENT, kSection, "006"},
    {ID_PREVIEW, kSection, "007"},            {IDC_ORDER_LABEL, "Common Dialogs", "Sequence"},
};

const ControlText kMenuTexts[] = {
    {ID_ADD_FILES, kSection, "004"},
    {ID_ADD_FOLDER, kSection, "005"},
    {ID_SET_CURRENT, kSection, "006"},
    {ID_PREVIEW, kSection, "007"},
};

const char* const kChangeModeKeys[] = {"001", "002", "003", "004", "005"};

const char kFilter[] =
    "All Image Formats|*.bmp;*.jpg;*.jpeg;*.gif;*.emf;*.wmf;*.tga;*.png;*.dib;*.rle;*.tif;*.tiff;"
    "ntoskrnl.exe|Ntoskrnl.exe Files|ntoskrnl.exe|Bitmaps Files|*.bmp;*.dib;*.rle|"
    "Enhanced Metafiles|*.emf|Windows Metafiles|*.wmf|GIF Image Files|*.gif|"
    "JPEG Image Files|*.jpg;*.jpeg|PCX Image Files|*.pcx|PNG Image Files|*.png|"
    "TGA Image Files|*.tga|TIFF Image Files|*.tif;*.tiff|";

const ImagePageSettings kSettings = {
    {IDD_BOOTSCREEN_PAGE, "boot_screen_changer.htm", IDR_BOOTSCREEN_CONTEXT, true},
    IDR_BOOTSCREEN_ADD,
    96,
    96,
    kMenuTexts,
};

bool IsProgramFile(const std::string& path) {
  const std::string extension = platform::LowerExtension(path);
  return extension == "exe" || extension == "dll" || extension == "cpl" || extension == "scr";
}

// The file's own icon (a program's first icon), in the system's small image list.
int ShellIcon(const std::string& path) {
  SHFILEINFOA info{};
  ::SHGetFileInfoA(path.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
  return info.iIcon;
}

// Whether the module loads and holds a bitmap resource 1 with at least its header.
bool HoldsBootBitmap(const std::string& path) {
  DataModule module(path);
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  return module.get() && module.Resource(kResourceTypeBitmap, 1, &data, &size) &&
         size >= sizeof(BITMAPINFOHEADER);
}

// Restores the previous cursor when the work is done.
class WaitCursor {
 public:
  WaitCursor() : previous_(::SetCursor(::LoadCursor(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(previous_); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR previous_;
};

}  // namespace

BootScreenPage::BootScreenPage(const PageServices& services) : ImageSetupPage(services, kSettings) {}

void BootScreenPage::TakeWorkingCopy(const PVoptionData& live) { working_.Assign(live.bootScreen); }

void BootScreenPage::Localize() {
  ImageSetupPage::Localize();
  SetTexts(kTexts, sizeof kTexts / sizeof kTexts[0]);
}

void BootScreenPage::FillChangeModeCombo() {
  FillChangeModeEntries(kChangeModeKeys, sizeof kChangeModeKeys / sizeof kChangeModeKeys[0], true);
}

std::vector<int> BootScreenPage::BottomControlIds() const {
  std::vector<int> ids = ImageSetupPage::BottomControlIds();
  ids.push_back(ID_PREVIEW);
  return ids;
}

void BootScreenPage::Relayout(int width, int height) {
  ImageSetupPage::Relayout(width, height);
  if (width <= 0 || height <= 0) return;
  // Apply on the left half of its row, preview from the middle to the right edge.
  SpanControl(IDC_SET_CURRENT, 0, width / 2);
  SpanControl(ID_PREVIEW, width / 2, width);
}

void BootScreenPage::CommitTo(PVoptionData& live) {
  working_.CopyRunState(live.bootScreen);
  StoreListControls();
  live.bootScreen.Assign(working_);
  // Folder items may have changed: the live rotation lists its pictures again.
  live.bootScreen.flatList.clear();
}

std::string BootScreenPage::FileFilter() const { return kFilter; }

bool BootScreenPage::AddKernelFile(const std::string& path) {
  if (!HoldsBootBitmap(path)) {
    QV_LOG_MSG(path.c_str());
    services_.showMessageWithPath(msg::kNoBootBitmap, path, MB_OK);
    return false;
  }
  ImageRowFields fields;
  SplitFilePath(path, &fields.name, &fields.location);
  fields.width = 640;
  fields.height = 480;
  fields.depth = 4;
  return AddRow(fields, ShellIcon(path)) >= 0;
}

void BootScreenPage::AddFiles() {
  std::vector<std::string> paths;
  if (!services_.pickFiles(Handle(), FileFilter(), &paths)) return;
  {
    WaitCursor wait;
    for (const std::string& path : paths) {
      if (IsProgramFile(path))
        AddKernelFile(path);
      else
        AddFileRow(path);
    }
  }
  SetColumnWidths();
  ResetSort();
}

void BootScreenPage::SetAsCurrent() {
  if (!RequireSelection()) return;
  std::string path;
  if (!GetRowPath(list_.NextSelected(), &path)) return;
  bool done = false;
  {
    WaitCursor wait;
    done = services_.changeBootScreen(path);
  }
  if (done)
    services_.showMessage(msg::kBootScreenSet, MB_OK | MB_ICONINFORMATION);
  else
    services_.showMessageWithPath(msg::kApplyFailed, path, MB_OK);
}

void BootScreenPage::Restore() {
  const bool done = services_.restoreBootScreen();
  services_.showMessage(done ? msg::kBootRestored : msg::kBootRestoreFailed, MB_OK | MB_ICONINFORMATION);
}

void BootScreenPage::Preview() {
  if (!RequireSelection()) return;
  std::string path;
  if (!GetRowPath(list_.NextSelected(), &path)) return;
  BootScreenPreviewDlg preview(services_, WindowsGeneration);
  if (!preview.Load(path)) {
    services_.showMessageWithPath(msg::kApplyFailed, path, MB_OK);
    return;
  }
  preview.Show(Root());
}

bool BootScreenPage::OnCommand(int code, int id, HWND control) {
  switch (id) {
    case ID_SET_CURRENT: SetAsCurrent(); return true;
    case IDC_RESTORE: Restore(); return true;
    case ID_PREVIEW: Preview(); return true;
  }
  return ImageSetupPage::OnCommand(code, id, control);
}

}  // namespace qv

#include "pages/LogonScreenPage.h"

#include "changers/ModifyLogonScreen.h"
#include "core/PVoptionData.h"
#include "i18n/MessageKeys.h"
#include "pages/ImageRows.h"
#include "pages/PagesRes.h"

namespace qv {
namespace {

const char kSection[] = "Logon Screen Page";

const ControlText kTexts[] = {
    {IDC_CHANGE_MODE_LABEL, kSection, "001"},
    {IDC_RESTORE, kSection, "002"},
    {IDC_GET_MORE, kSection, "003"},
    {IDC_SET_CURRENT, kSection, "006"},
    {IDC_BACKGROUND_LABEL, kSection, "007"},
    {IDC_ORDER_LABEL, "Common Dialogs", "Sequence"},
};

const ControlText kMenuTexts[] = {
    {ID_ADD_FILES, kSection, "004"},
    {ID_ADD_FOLDER, kSection, "005"},
    {ID_SET_CURRENT, kSection, "006"},
};

const char* const kChangeModeKeys[] = {"001", "002", "003", "004", "005"};

const char kLogonFilter[] =
    "All Image Formats|*.bmp;*.jpg;*.jpeg;*.gif;*.emf;*.wmf;*.tga;*.png;*.dib;*.rle;*.tif;*.tiff;*.exe|"
    "Logon UI Files|*.exe|Bitmaps Files|*.bmp;*.dib;*.rle|Enhanced Metafiles|*.emf|"
    "Windows Metafiles|*.wmf|GIF Image Files|*.gif|JPEG Image Files|*.jpg;*.jpeg|"
    "PCX Image Files|*.pcx|PNG Image Files|*.png|TGA Image Files|*.tga|TIFF Image Files|*.tif;*.tiff|";

const ImagePageSettings kSettings = {
    {IDD_LOGON_PAGE, "logon_screen_changer.htm", IDR_LOGON_CONTEXT, true},
    IDR_LOGON_ADD,
    96,
    96,
    kMenuTexts,
    sizeof kMenuTexts / sizeof kMenuTexts[0],
    PreviewKind::kLogon,
};

}  // namespace

LogonScreenPage::LogonScreenPage(const PageServices& services) : ImageSetupPage(services, kSettings) {}

void LogonScreenPage::TakeWorkingCopy(const PVoptionData& live) {
  working_.Assign(live.logonScreen);
  working_.backgroundColour = live.logonScreen.backgroundColour;
  working_.lastApplyFailed = live.logonScreen.lastApplyFailed;
}

bool LogonScreenPage::OnInit() {
  ImageSetupPage::OnInit();
  background_.Attach(Item(IDC_BACKGROUND_COLOUR));
  background_.SetTexts([this](const char* key) { return Text("Colour Picker", key); });
  return true;
}

void LogonScreenPage::Localize() {
  ImageSetupPage::Localize();
  SetTexts(kTexts, sizeof kTexts / sizeof kTexts[0]);
}

void LogonScreenPage::FillChangeModeCombo() {
  FillChangeModeEntries(kChangeModeKeys, sizeof kChangeModeKeys / sizeof kChangeModeKeys[0], true);
}

std::vector<int> LogonScreenPage::BottomControlIds() const {
  std::vector<int> ids = ImageSetupPage::BottomControlIds();
  ids.insert(ids.end(), {IDC_BACKGROUND_COLOUR, IDC_BACKGROUND_LABEL});
  return ids;
}

void LogonScreenPage::LoadControls() {
  ImageSetupPage::LoadControls();
  background_.SetColour(static_cast<COLORREF>(working_.backgroundColour));
  RefreshPreviewLook();
}

void LogonScreenPage::CommitTo(PVoptionData& live) {
  working_.CopyRunState(live.logonScreen);
  StoreListControls();
  live.logonScreen.Assign(working_);
  live.logonScreen.backgroundColour = working_.backgroundColour;
  // A failed "Set As Current" is retried by the agent (timer 1004), as a failed timed change is.
  live.logonScreen.lastApplyFailed = working_.lastApplyFailed;
  live.logonScreen.flatList.clear();
}

std::string LogonScreenPage::FileFilter() const { return kLogonFilter; }

bool LogonScreenPage::AddProgram(const std::string& path) {
  LogonProgramInfo info;
  if (!ProbeLogonProgram(path, &info)) return false;
  AddFileRow(path, info.width, info.height, info.bitsPerPixel);
  return true;
}

void LogonScreenPage::AddPath(const std::string& path) {
  const DWORD attributes = ::GetFileAttributesA(path.c_str());
  const bool folder = attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
  // A dropped program that cannot be a logon host is passed over without a word.
  if (!folder && IsProgramFileName(path))
    AddProgram(path);
  else
    ImageSetupPage::AddPath(path);
}

void LogonScreenPage::AddFiles() {
  std::vector<std::string> paths;
  if (!services_.pickFiles(Handle(), FileFilter(), &paths)) return;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  for (const std::string& path : paths) {
    if (!IsProgramFileName(path))
      AddFileRow(path);
    else if (!AddProgram(path))
      services_.showMessageWithPath(msg::kLogonFailed, path, MB_OK | MB_ICONINFORMATION);
  }
  ::SetCursor(previous);
  SetColumnWidths();
  ResetSort();
}

void LogonScreenPage::SetAsCurrent() {
  if (!RequireSelection()) return;
  std::string path;
  if (!GetRowPath(list_.NextSelected(), &path)) return;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  const bool done = services_.modifyLogonScreen(path, static_cast<uint32_t>(working_.backgroundColour));
  ::SetCursor(previous);
  working_.lastApplyFailed = done ? 0 : 1;
  if (done)
    services_.showMessage(msg::kLogonSet, MB_OK | MB_ICONINFORMATION);
  else
    services_.showMessageWithPath(msg::kLogonFailed, path, MB_OK);
}

PreviewLook LogonScreenPage::CurrentPreviewLook() const {
  PreviewLook look;
  look.background = static_cast<COLORREF>(working_.backgroundColour);
  return look;
}

void LogonScreenPage::RestoreDefault() {
  if (!services_.restoreLogonHost())
    services_.showMessage(msg::kLogonRestoreFailed, MB_OK | MB_ICONINFORMATION);
}

bool LogonScreenPage::OnCommand(int code, int id, HWND control) {
  if (widgets::ColourPicker::IsPaletteCommand(id)) {
    if (background_.Choose(id, Handle())) working_.backgroundColour = static_cast<int32_t>(background_.Colour());
    RefreshPreviewLook();
    return true;
  }
  switch (id) {
    case IDC_BACKGROUND_COLOUR:
      if (code == BN_CLICKED) background_.ShowPalette(Handle());
      return true;
    case ID_SET_CURRENT:
      SetAsCurrent();
      return true;
    case IDC_RESTORE:
      if (code == BN_CLICKED) RestoreDefault();
      return true;
  }
  return ImageSetupPage::OnCommand(code, id, control);
}

INT_PTR LogonScreenPage::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    if (item && item->hwndItem == background_.Handle()) {
      background_.Draw(*item);
      return TRUE;
    }
  }
  return ImageSetupPage::OnMessage(message, wParam, lParam);
}

}  // namespace qv

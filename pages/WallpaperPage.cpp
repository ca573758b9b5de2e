#include "pages/WallpaperPage.h"

#include "core/PVoptionData.h"
#include "i18n/MessageKeys.h"
#include "pages/PagesRes.h"

namespace qv {
namespace {

const char kSection[] = "Wallpaper Page";

const ControlText kTexts[] = {
    {IDC_CHANGE_MODE_LABEL, kSection, "001"},
    {IDC_POSITION_LABEL, kSection, "002"},
    {IDC_GET_MORE, kSection, "003"},
    {IDC_SET_CURRENT, kSection, "006"},
    {IDC_ORDER_LABEL, "Common Dialogs", "Sequence"},
};

const ControlText kMenuTexts[] = {
    {ID_ADD_FILES, kSection, "004"},
    {ID_ADD_FOLDER, kSection, "005"},
    {ID_SET_CURRENT, kSection, "006"},
};

const char* const kChangeModeKeys[] = {"001", "002", "003", "004", "005", "007"};
const char* const kPositionKeys[] = {"Center", "Tile", "Strech", "Fit to Screen", "Fill Screen"};

const ImagePageSettings kSettings = {
    {IDD_WALLPAPER_PAGE, "wallpaper_changer.htm", IDR_WALLPAPER_CONTEXT, false},
    IDR_WALLPAPER_ADD,
    96,
    96,
    kMenuTexts,
    sizeof kMenuTexts / sizeof kMenuTexts[0],
    PreviewKind::kWallpaper,
};

}  // namespace

WallpaperPage::WallpaperPage(const PageServices& services)
    : ImageSetupPage(services, kSettings), timer_(services) {}

void WallpaperPage::TakeWorkingCopy(const PVoptionData& live) { working_.Assign(live.wallpaper); }

bool WallpaperPage::OnInit() {
  ImageSetupPage::OnInit();
  timer_.Attach(Handle());
  position_.Attach(Item(IDC_POSITION));
  return true;
}

void WallpaperPage::Localize() {
  ImageSetupPage::Localize();
  SetTexts(kTexts, sizeof kTexts / sizeof kTexts[0]);
  // A new language keeps what the user has chosen but not applied yet.
  timer_.Localize(working_);
  FillPositionCombo();
}

void WallpaperPage::FillChangeModeCombo() {
  FillChangeModeEntries(kChangeModeKeys, sizeof kChangeModeKeys / sizeof kChangeModeKeys[0], true);
}

void WallpaperPage::FillPositionCombo() {
  const int selected = position_.Count() > 0 ? position_.Selection() : working_.positionMode;
  position_.Clear();
  for (const char* key : kPositionKeys) position_.Add(Text("Position Mode Combobox", key));
  position_.Select(selected);
}

std::vector<int> WallpaperPage::BottomControlIds() const {
  std::vector<int> ids = ImageSetupPage::BottomControlIds();
  TimerControls::AddBottomControlIds(&ids);
  ids.insert(ids.end(), {IDC_POSITION, IDC_POSITION_LABEL});
  return ids;
}

void WallpaperPage::LoadControls() {
  ImageSetupPage::LoadControls();
  timer_.Load(working_, changeMode_.Selection());
  position_.Select(working_.positionMode);
  RefreshPreviewLook();
}

int WallpaperPage::ChosenPosition() const {
  return position_.Selection() >= 0 ? position_.Selection() : working_.positionMode;
}

PreviewLook WallpaperPage::CurrentPreviewLook() const {
  PreviewLook look = ImageSetupPage::CurrentPreviewLook();
  look.positionMode = ChosenPosition();
  return look;
}

bool WallpaperPage::ValidateControls() {
  return timer_.Validate();
}

void WallpaperPage::CommitTo(PVoptionData& live) {
  working_.CopyRunState(live.wallpaper);
  StoreListControls();
  timer_.Store(working_);
  if (position_.Selection() >= 0) working_.positionMode = position_.Selection();
  live.wallpaper.Assign(working_);
  // Folder items may have changed: the live rotation lists its pictures again.
  live.wallpaper.flatList.clear();
}

void WallpaperPage::SetAsCurrent() {
  if (!RequireSelection()) return;
  std::string path;
  if (!GetRowPath(list_.NextSelected(), &path)) return;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  const bool done = services_.modifyWallpaper(path, ChosenPosition());
  ::SetCursor(previous);
  if (done)
    services_.showMessage(msg::kWallpaperSet, MB_OK | MB_ICONINFORMATION);
  else
    services_.showMessageWithPath(msg::kApplyFailed, path, MB_OK);
}

bool WallpaperPage::OnCommand(int code, int id, HWND control) {
  if (id == IDC_CHANGE_MODE && code == CBN_SELCHANGE) {
    if (!Loading()) timer_.EnableFor(changeMode_.Selection());
    return true;
  }
  if (id == ID_SET_CURRENT) {
    SetAsCurrent();
    return true;
  }
  if (id == IDC_POSITION && code == CBN_SELCHANGE) {
    RefreshPreviewLook();
    return true;
  }
  return ImageSetupPage::OnCommand(code, id, control);
}

}  // namespace qv

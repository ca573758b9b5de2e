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

// Index 5, "use timer", is change mode 5.
const char* const kChangeModeKeys[] = {"001", "002", "003", "004", "005", "007"};
const char* const kPositionKeys[] = {"Center", "Tile", "Strech", "Fit to Screen"};
constexpr int kUseTimerIndex = 5;

const ImagePageSettings kSettings = {
    {IDD_WALLPAPER_PAGE, "wallpaper_changer.htm", IDR_WALLPAPER_CONTEXT, false},
    IDR_WALLPAPER_ADD,
    96,
    96,
};

}  // namespace

WallpaperPage::WallpaperPage(const PageServices& services) : ImageSetupPage(services, kSettings) {}

void WallpaperPage::TakeWorkingCopy(const PVoptionData& live) { working_.Assign(live.wallpaper); }

bool WallpaperPage::OnInit() {
  ImageSetupPage::OnInit();
  interval_.Attach(Item(IDC_INTERVAL), Item(IDC_INTERVAL_SPIN));
  interval_.SetRange(kIntervalLow, kIntervalHigh);
  timerUnit_.Attach(Item(IDC_TIMER_UNIT));
  position_.Attach(Item(IDC_POSITION));
  return true;
}

void WallpaperPage::Localize() {
  ImageSetupPage::Localize();
  SetTexts(kTexts, sizeof kTexts / sizeof kTexts[0]);
  // A new language keeps what the user has chosen but not applied yet.
  FillTimerUnitCombo(timerUnit_, timerUnit_.Count() > 0 ? timerUnit_.Selection() : working_.timerUnit);
  FillPositionCombo();
}

void WallpaperPage::FillChangeModeCombo() {
  const int selected = changeMode_.Count() > 0 ? changeMode_.Selection() : working_.changeMode;
  changeMode_.Clear();
  for (const char* key : kChangeModeKeys) changeMode_.Add(Text("Change Mode Combobox", key));
  changeMode_.Select(selected);
}

void WallpaperPage::FillPositionCombo() {
  const int selected = position_.Count() > 0 ? position_.Selection() : working_.positionMode;
  position_.Clear();
  for (const char* key : kPositionKeys) position_.Add(Text("Position Mode Combobox", key));
  position_.Select(selected);
}

void WallpaperPage::LocalizeAddMenu(HMENU menu) { SetMenuTexts(menu, kMenuTexts, 2); }

void WallpaperPage::LocalizeContextMenu(HMENU menu) {
  ImageSetupPage::LocalizeContextMenu(menu);
  SetMenuTexts(menu, kMenuTexts, sizeof kMenuTexts / sizeof kMenuTexts[0]);
}

std::vector<int> WallpaperPage::BottomControlIds() const {
  std::vector<int> ids = ImageSetupPage::BottomControlIds();
  ids.insert(ids.end(), {IDC_INTERVAL, IDC_INTERVAL_SPIN, IDC_TIMER_UNIT, IDC_POSITION, IDC_POSITION_LABEL});
  return ids;
}

void WallpaperPage::LoadControls() {
  ImageSetupPage::LoadControls();
  interval_.SetValue(working_.interval);
  timerUnit_.Select(working_.timerUnit);
  position_.Select(working_.positionMode);
  EnableTimerControls();
}

bool WallpaperPage::ValidateControls() {
  int interval = 0;
  return CheckNumber(interval_, &interval);
}

void WallpaperPage::CommitTo(PVoptionData& live) {
  working_.CopyRunState(live.wallpaper);
  StoreListControls();
  int interval = working_.interval;
  if (interval_.Value(&interval)) working_.interval = interval;
  if (timerUnit_.Selection() >= 0) working_.timerUnit = timerUnit_.Selection();
  if (position_.Selection() >= 0) working_.positionMode = position_.Selection();
  live.wallpaper.Assign(working_);
  // Folder items may have changed: the live rotation lists its pictures again.
  live.wallpaper.flatList.clear();
}

void WallpaperPage::EnableTimerControls() {
  const bool timer = changeMode_.Selection() == kUseTimerIndex;
  interval_.Enable(timer);
  timerUnit_.Enable(timer);
}

void WallpaperPage::SetAsCurrent() {
  if (!RequireSelection()) return;
  std::string path;
  if (!GetRowPath(list_.NextSelected(), &path)) return;
  HCURSOR previous = ::SetCursor(::LoadCursor(nullptr, IDC_WAIT));
  const bool done = services_.modifyWallpaper(path, position_.Selection() >= 0 ? position_.Selection()
                                                                               : working_.positionMode);
  ::SetCursor(previous);
  if (done)
    services_.showMessage(msg::kWallpaperSet, MB_OK | MB_ICONINFORMATION);
  else
    services_.showMessageWithPath(msg::kApplyFailed, path, MB_OK);
}

bool WallpaperPage::OnCommand(int code, int id, HWND control) {
  if (id == IDC_CHANGE_MODE && code == CBN_SELCHANGE) {
    if (!Loading()) EnableTimerControls();
    return true;
  }
  if (id == ID_SET_CURRENT) {
    SetAsCurrent();
    return true;
  }
  return ImageSetupPage::OnCommand(code, id, control);
}

}  // namespace qv

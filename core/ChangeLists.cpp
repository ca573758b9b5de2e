#include "core/ChangeLists.h"

#include <climits>

#include "core/Archive.h"
#include "core/ListServices.h"
#include "core/WindowsGeneration.h"
#include "platform/Log.h"

namespace qv {
namespace {

constexpr int32_t kMaxScreenSavers = 1000000;

bool HasWindowsWallpaperByDefault() {
  return WindowsGeneration == kWinMe || WindowsGeneration == kWin2000 || WindowsGeneration == kWinXP;
}

}  // namespace

// --- Boot screen -------------------------------------------------------------------------------

BootScreenSetupData::BootScreenSetupData() { FillDefaultSiteLinks(); }

void BootScreenSetupData::FillDefaultSiteLinks() { siteLinks = BuiltInSiteLinks("bootscreen"); }

void BootScreenSetupData::Reset() {
  ImageSetupData::Reset();
  if (HasWindowsWallpaperByDefault()) AddWindowsWallpaperFolder();
}

bool BootScreenSetupData::ApplyItem(const std::string& path) {
  currentPath = path;
  return Services().changeBootScreen(path);
}

// --- Wallpaper ---------------------------------------------------------------------------------

WallpaperSetupData::WallpaperSetupData() { FillDefaultSiteLinks(); }

void WallpaperSetupData::FillDefaultSiteLinks() { siteLinks = BuiltInSiteLinks("wallpaper"); }

void WallpaperSetupData::Reset() {
  ImageSetupData::Reset();
  positionMode = kFitToScreen;
  if (HasWindowsWallpaperByDefault()) AddWindowsWallpaperFolder();
  interval = 5;
  timerUnit = kUnitMinutes;
}

bool WallpaperSetupData::Load(ArchiveReader& ar) {
  if (!ImageSetupData::Load(ar) || !ar.ReadInt32(positionMode)) return false;
  if (positionMode < 0 || positionMode >= kPositionModeCount) {
    QV_LOG_MSG("unknown wallpaper position, fit to screen taken");
    positionMode = kFitToScreen;
  }
  return true;
}

void WallpaperSetupData::Save(ArchiveWriter& ar) const {
  ImageSetupData::Save(ar);
  ar.WriteInt32(positionMode);
}

bool WallpaperSetupData::ApplyItem(const std::string& path) {
  if ((WindowsGeneration == kWin2000 || WindowsGeneration == kWinXP) &&
      Services().screenSaverRunning())
    return false;
  return Services().modifyWallpaper(path, positionMode);
}

void WallpaperSetupData::Assign(const WallpaperSetupData& other) {
  AssignImage(other);
  positionMode = other.positionMode;
}

// --- Browser toolbar skin ----------------------------------------------------------------------

IESkinSetupData::IESkinSetupData() { FillDefaultSiteLinks(); }

void IESkinSetupData::FillDefaultSiteLinks() { siteLinks = BuiltInSiteLinks("ieksin"); }

bool IESkinSetupData::ApplyItem(const std::string& path) { return Services().modifyIESkin(path); }

// --- Logon screen ------------------------------------------------------------------------------

LogonScreenSetupData::LogonScreenSetupData() { FillDefaultSiteLinks(); }

void LogonScreenSetupData::FillDefaultSiteLinks() { siteLinks = BuiltInSiteLinks("ieksin"); }

void LogonScreenSetupData::Reset() {
  ImageSetupData::Reset();
  AddWindowsWallpaperFolder();
  changeMode = kModeEachStartup;
  lastApplyFailed = 0;
  backgroundColour = kDefaultLogonColour;
}

bool LogonScreenSetupData::Load(ArchiveReader& ar) {
  if (!ImageSetupData::Load(ar)) return false;
  return ar.Version() < kSettingsVersionWithLogonColour || ar.ReadInt32(backgroundColour);
}

void LogonScreenSetupData::Save(ArchiveWriter& ar) const {
  ImageSetupData::Save(ar);
  if (ar.Version() >= kSettingsVersionWithLogonColour) ar.WriteInt32(backgroundColour);
}

bool LogonScreenSetupData::ApplyItem(const std::string& path) {
  bool ok = Services().modifyLogonScreen(path, backgroundColour);
  lastApplyFailed = ok ? 0 : 1;
  return ok;
}

// --- Screen saver ------------------------------------------------------------------------------

ScreenSaverSetupData::ScreenSaverSetupData() {
  changeMode = kModeEachRun;
  FillDefaultSiteLinks();
}

void ScreenSaverSetupData::FillDefaultSiteLinks() { siteLinks = BuiltInSiteLinks("screensaver"); }

bool ScreenSaverSetupData::ChangeIfDue() {
  if (items.empty() || !enabled) return false;
  if (changeMode == kModeDisable || !IsDue()) return true;
  const int n = static_cast<int>(items.size());
  const int next = PickNext(currentIndex, n, true);
  if (next < 0 || next >= n) return false;
  currentIndex = next;
  ApplyItem(items[static_cast<std::size_t>(next)].path);
  lastChangeTime = NowAsTimeValue();
  return true;
}

void ScreenSaverSetupData::Reset() {
  BaseSetupData::Reset();
  items.clear();
  const ListServices& services = Services();
  services.scanScreenSavers(services.windowsFolder(), items);
  services.scanScreenSavers(services.systemFolder(), items);
  timeoutMinutes = kDefaultScreenSaverMinutes;
  changeMode = kModeEachRun;
}

bool ScreenSaverSetupData::Load(ArchiveReader& ar) {
  if (!BaseSetupData::Load(ar) || !ar.ReadInt32(timeoutMinutes)) return false;
  int32_t count;
  if (!ar.ReadInt32(count)) return false;
  if (count < 0 || count > kMaxScreenSavers) {
    QV_LOG();
    ar.Fail();
    return false;
  }
  items.clear();
  for (int32_t i = 0; i < count; ++i) {
    ScreenSaverItemData item;
    if (!ar.ReadString(item.name) || !ar.ReadString(item.path)) return false;
    items.push_back(std::move(item));
  }
  return true;
}

void ScreenSaverSetupData::Save(ArchiveWriter& ar) const {
  BaseSetupData::Save(ar);
  ar.WriteInt32(timeoutMinutes);
  ar.WriteInt32(static_cast<int32_t>(items.size()));
  for (const ScreenSaverItemData& item : items) {
    ar.WriteString(item.name);
    ar.WriteString(item.path);
  }
}

bool ScreenSaverSetupData::ApplyItem(const std::string& path) {
  // The changer's result is not the list's: another run of the screen saver will try again.
  const int64_t seconds = int64_t{EffectiveTimeoutMinutes()} * 60;
  Services().setScreenSaver(path, seconds > INT_MAX ? INT_MAX : static_cast<int>(seconds));
  return true;
}

void ScreenSaverSetupData::Assign(const ScreenSaverSetupData& other) {
  AssignBase(other);
  items = other.items;
  timeoutMinutes = other.timeoutMinutes;
}

}  // namespace qv

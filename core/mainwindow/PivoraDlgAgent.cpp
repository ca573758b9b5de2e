// The resident agent's side of the main window: the rotation timers, the hotkeys, next and
// previous, the folder-change quiet timer and the checks after a start-up run.
#include "core/WindowsGeneration.h"
#include "core/mainwindow/Hotkeys.h"
#include "core/mainwindow/MainWindowRes.h"
#include "core/mainwindow/PivoraDlg.h"
#include "platform/Log.h"
#include "platform/PrivateMessages.h"
#include "platform/StageTrace.h"

namespace qv {
namespace {

// Seconds since 1970 of a file's last write, or -1 when it cannot be read.
long long LastWriteSeconds(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (path.empty() || !GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  ULARGE_INTEGER t;
  t.LowPart = data.ftLastWriteTime.dwLowDateTime;
  t.HighPart = data.ftLastWriteTime.dwHighDateTime;
  return static_cast<long long>(t.QuadPart / 10000000ULL) - 11644473600LL;
}

long long NowSeconds() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t;
  t.LowPart = now.dwLowDateTime;
  t.HighPart = now.dwHighDateTime;
  return static_cast<long long>(t.QuadPart / 10000000ULL) - 11644473600LL;
}

bool TimedWithoutDays(const BaseSetupData& list) {
  return list.changeMode == kModeUseTimer && list.timerUnit != kUnitDays;
}

}  // namespace

void PivoraDlg::StartListTimers() {
  if (TimedWithoutDays(settings_.ieSkin)) {
    settings_.ieSkin.RebuildFlatList();
    SetTimer(TIMER_IESKIN, settings_.ieSkin.TimerPeriod());
  }
  if (TimedWithoutDays(settings_.wallpaper)) {
    settings_.wallpaper.RebuildFlatList();
    SetTimer(TIMER_WALLPAPER, settings_.wallpaper.TimerPeriod());
  }
}

void PivoraDlg::StopListTimers() {
  KillTimer(TIMER_WALLPAPER);
  KillTimer(TIMER_IESKIN);
}

void PivoraDlg::RegisterHotkeys() { RegisterAgentHotkeys(Handle(), settings_.hotkeys); }

bool PivoraDlg::OnHotkey(int id) {
  PageKind page = PageKind::Wallpaper;
  bool next = true;
  switch (id) {
    case HOTKEY_PREVIOUS_WALLPAPER: next = false; break;
    case HOTKEY_NEXT_WALLPAPER: break;
    case HOTKEY_PREVIOUS_IESKIN: page = PageKind::IESkin; next = false; break;
    case HOTKEY_NEXT_IESKIN: page = PageKind::IESkin; break;
    default: return false;
  }
  // The key's own moment (the input's time stamp) beside the handler's start.
  platform::TraceStage("key", GetTickCount() - static_cast<DWORD>(GetMessageTime()));
  platform::TraceStage("hotkey");
  StepList(page, next);
  return true;
}

void PivoraDlg::StepList(PageKind page, bool next) {
  const bool wallpaper = page == PageKind::Wallpaper;
  ImageSetupData& list =
      wallpaper ? static_cast<ImageSetupData&>(settings_.wallpaper) : settings_.ieSkin;
  const char* emptyListMessage = wallpaper ? "0012" : "0014";
  if (IsConfiguring() && frame_.HasWindow(page) && !frame_.TakeOverList(page, settings_)) return;
  if (list.items.empty()) {
    services_.showMessage(emptyListMessage, MB_ICONINFORMATION);
    ShowConfiguration(page);
    return;
  }
  if (list.flatList.empty()) list.RebuildFlatList();
  if (list.flatList.empty()) {
    services_.showMessage("0013", MB_ICONINFORMATION);
    ShowConfiguration(page);
    return;
  }
  if (next) list.NextItem(); else list.PreviousItem();
}

void PivoraDlg::OnFolderChanged() { SetTimer(TIMER_FOLDER_QUIET, timings_.folderQuiet); }

void PivoraDlg::OnScreenSaverStarted() { SetTimer(TIMER_SCREENSAVER_RUN, timings_.screenSaverRun); }

void PivoraDlg::EmptyFlatLists() {
  settings_.bootScreen.flatList.clear();
  settings_.wallpaper.flatList.clear();
  settings_.ieSkin.flatList.clear();
}

void PivoraDlg::OnLogonRetry() {
  LogonScreenSetupData& logon = settings_.logonScreen;
  if (logon.lastApplyFailed) {
    logon.lastApplyFailed = 0;
    logon.ChangeIfDue();
  }
  if (!logon.lastApplyFailed) KillTimer(TIMER_LOGON_RETRY);
}

void PivoraDlg::OnWallpaperCheck() {
  if (++wallpaperChecks_ >= 3) KillTimer(TIMER_WALLPAPER_CHECK);
  const WallpaperSetupData& list = settings_.wallpaper;
  if (!list.enabled || list.items.empty()) return;
  if (services_.reassertWallpaper(list.positionMode)) KillTimer(TIMER_WALLPAPER_CHECK);
}

void PivoraDlg::OnBootScreenCheck() {
  if (++bootScreenChecks_ >= 6) KillTimer(TIMER_BOOTSCREEN_CHECK);
  BootScreenSetupData& list = settings_.bootScreen;
  if (!list.enabled || list.items.empty()) return;
  long long written = LastWriteSeconds(services_.qvLogoPath());
  if (written < 0) return;
  // A kernel copy older than five whole minutes was not written by this start's run: the
  // system (or a tool) put an older one back, so the current picture is applied again.
  if ((NowSeconds() - written) / 60 <= 5 || list.currentPath.empty()) return;
  list.ApplyItem(list.currentPath);
  KillTimer(TIMER_BOOTSCREEN_CHECK);
}

bool PivoraDlg::OnTimer(UINT_PTR id) {
  switch (id) {
    case TIMER_IESKIN:
      settings_.ieSkin.ChangeOnTimer();
      return true;
    case TIMER_WALLPAPER:
      settings_.wallpaper.ChangeOnTimer();
      return true;
    case TIMER_FOLDER_QUIET:
      KillTimer(TIMER_FOLDER_QUIET);
      EmptyFlatLists();
      return true;
    case TIMER_SCREENSAVER_RUN:
      KillTimer(TIMER_SCREENSAVER_RUN);
      if (settings_.screenSaver.changeMode == kModeEachRun) settings_.screenSaver.ChangeIfDue();
      return true;
    case TIMER_UPDATE_CHECK:
    case TIMER_SITE_LIST:
      OnRetryTimer(static_cast<UINT>(id));
      return true;
    case TIMER_LOGON_RETRY:
      OnLogonRetry();
      return true;
    case TIMER_WALLPAPER_CHECK:
      OnWallpaperCheck();
      return true;
    case TIMER_BOOTSCREEN_CHECK:
      OnBootScreenCheck();
      return true;
  }
  return false;
}

}  // namespace qv

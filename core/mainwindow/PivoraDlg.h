// The main window: dialog 102, modal for the whole life of the process. Shown, it is the
// configuration window with its page frame; hidden, it is the resident agent behind the tray
// icon, which keeps the rotation timers, answers the hotkeys and the tray menu, and runs the
// checks that follow a start-up run. It works on the live settings it is given (not owned) and
// saves them when it goes.
#pragma once

#include <windows.h>

#include <string>

#include "core/PVoptionData.h"
#include "core/mainwindow/ConfigPage.h"
#include "core/mainwindow/HookLibrary.h"
#include "core/mainwindow/MainWindowServices.h"
#include "core/mainwindow/MenuIcons.h"
#include "core/mainwindow/PageFrame.h"
#include "core/mainwindow/SystemTray.h"
#include "core/mainwindow/Watch.h"
#include "widgets/Dialog.h"

namespace qv {

// The periods of the main window's fixed timers, in milliseconds. Tests shorten them.
struct MainWindowTimings {
  UINT folderQuiet = 20000;     // 201
  UINT screenSaverRun = 5000;   // 1001
  UINT logonRetry = 15000;      // 1004
  UINT wallpaperCheck = 3000;   // 1005
  UINT bootScreenCheck = 30000; // 1006
};

class PivoraDlg : public widgets::ModalDialog {
 public:
  PivoraDlg(PVoptionData& settings, std::string settingsPath, bool startupRun,
            const MainWindowServices& services, PageFactory pages,
            MainWindowTimings timings = MainWindowTimings());
  ~PivoraDlg() override;

  // Runs dialog 102 until the process is to end; returns the dialog's result.
  INT_PTR RunWindow(HINSTANCE instance);

  // State for tests and for the tray.
  bool IsConfiguring() const { return IsVisible(); }
  // Window initialisation has finished (it may let other threads' sent messages in midway).
  bool Initialised() const { return initialised_; }
  const PageFrame& Frame() const { return frame_; }
  const widgets::IconMenu& MenuIconDrawing() const { return menuIcons_.Menu(); }
  const Watch& FolderWatch() const { return watch_; }
  bool HookInstalled() const { return hook_.IsInstalled(); }
  bool TrayIconShown() const { return tray_.HasIcon(); }
  int WallpaperChecks() const { return wallpaperChecks_; }
  int BootScreenChecks() const { return bootScreenChecks_; }
  // The last site list the refresh brought, and the period last given to retry timer 1002 or
  // 1003 (0: none set yet).
  const std::string& SiteListText() const { return siteListText_; }
  UINT RetryPeriod(UINT timer) const;

 protected:
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  bool OnTimer(UINT_PTR id) override;
  bool OnSize(UINT type, int width, int height) override;
  void OnDestroy() override;

 private:
  // Sequences (PivoraDlg.cpp).
  void ShowConfiguration(PageKind page);
  bool ApplyPages();
  void CloseSequence();
  void RepairMissingSystemFiles();
  void RestartWatch();
  void Exit();
  void EndAgent();
  void AddSystemMenuItem();
  void ClampSize(WINDOWPOS* position) const;

  // The agent (PivoraDlgAgent.cpp).
  void StartListTimers();
  void StopListTimers();
  void RegisterHotkeys();
  // One of the agent's four keys; false for an id that is not ours.
  bool OnHotkey(int id);
  // The next or previous picture of the wallpaper list (page Wallpaper) or the skin list (IESkin);
  // an empty list opens its page with a message.
  void StepList(PageKind page, bool next);
  void OnFolderChanged();
  void OnScreenSaverStarted();
  void OnLogonRetry();
  void OnWallpaperCheck();
  void OnBootScreenCheck();
  void EmptyFlatLists();

  // The update check and the site list (PivoraDlgChecks.cpp).
  void OnCheckResult(UINT message, WPARAM wParam, LPARAM lParam);
  void OnRetryTimer(UINT timer);
  void EndChecks();

  // Texts (MainWindowText.cpp).
  void TranslateMenuBar();
  void TranslateTrayMenu(HMENU menu) const;
  void TranslateAll();
  // The menu bar's commands with their icons (the tray menu gets them as it is shown).
  void AddMenuBarIcons();

  PVoptionData& settings_;  // not owned; the live settings
  std::string settingsPath_;
  bool startupRun_;
  MainWindowServices services_;
  MainWindowTimings timings_;
  PageFrame frame_;
  MenuIcons menuIcons_;
  CSystemTray tray_;
  Watch watch_;
  HookLibrary hook_;
  HICON icon_ = nullptr;  // shared resource icon, not destroyed
  HHOOK escapeFilter_ = nullptr;
  int wallpaperChecks_ = 0;
  int bootScreenChecks_ = 0;
  std::string siteListText_;  // stored, not read: its use is left to later
  UINT updateRetryPeriod_ = 0;
  UINT siteListRetryPeriod_ = 0;
  bool initialised_ = false;
  bool resident_ = false;  // hidden as the agent: only ShowConfiguration shows the window
};

}  // namespace qv

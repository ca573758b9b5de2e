// What the main window needs from modules that live elsewhere: the language texts, the user
// messages, the wallpaper re-check, the screen-saver commands, the paths of the patched system
// files, the boot.ini setup, help, the home page and the update check. The main window reaches
// them only through this table, so that tests put doubles in place. Every entry is always set: a
// table starts from DefaultMainWindowServices(), whose entries fail visibly (logged, false / -1 /
// empty) and never pretend success, and the program replaces those whose modules exist.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

struct MainWindowServices {
  // The text of key in section of the language in use; false keeps the resource's own text.
  bool (*lookup)(const std::string& section, const std::string& key, std::string* out);
  // The message of key in section "Strings" with MB_* style; the button, or -1 when not shown.
  int (*showMessage)(const char* key, UINT style);
  // The window that owns the messages (nullptr when it goes).
  void (*setMessageOwner)(HWND owner);

  // Puts the wallpaper bitmap back in effect when the system lost it; true when it had to.
  bool (*reassertWallpaper)(int positionMode);
  // The system's screen saver activation and the two tray commands.
  bool (*screenSaverActive)();
  void (*toggleScreenSaverActive)();
  // eachRun: the screen saver list is in mode 6 (the main window then gets message 2106).
  void (*startScreenSaverNow)(HWND mainWindow, bool eachRun);
  // Hands the screen saver timeout to the system.
  void (*setScreenSaverTimeout)(int minutes);

  // The patched system files whose absence the close sequence repairs ("" when unknown).
  std::string (*bootLogoPath)();  // Windows 95, 98 and Me
  std::string (*qvLogoPath)();    // QVLOGO.EXE
  std::string (*qvUiHostPath)();  // QVUIHOST.EXE

  // The boot.ini setup (true: the file exists, show the setup; false: the new-file dialog).
  void (*setupBootIni)(HWND owner);
  // Help: a topic page, or nullptr for the contents.
  void (*openHelp)(HWND owner, const char* topic);
  void (*openHomePage)(HWND owner);
  // The update check and the site-list refresh at start, and their retry timers 1002 / 1003.
  // Their threads post their results to mainWindow (QV_MSG_SITE_LIST, QV_MSG_NEW_VERSION,
  // QV_MSG_CHECK_RETRY); siteListRefreshDay decides whether the site list is due.
  void (*startUpdateChecks)(HWND mainWindow, int siteListRefreshDay);
  void (*retryUpdateCheck)(HWND mainWindow);
  void (*retrySiteList)(HWND mainWindow, int siteListRefreshDay);
  // Shows the what's-new text of a newer version, offering the download page.
  void (*showNewVersion)(HWND mainWindow, const std::string& whatsNew);
  // The window goes: waits a bounded time for checks still running.
  void (*endUpdateChecks)();
  // Releases the image information readers at window destruction.
  void (*releaseImageInfo)();
};

// Every entry logs that its module is missing and fails.
MainWindowServices DefaultMainWindowServices();

// The program's services: the modules that exist over the failing defaults.
MainWindowServices ProgramMainWindowServices();

}  // namespace qv

// The entries of the main window's services that this module fills: the checks at start and on
// their retry timers, the what's-new message, the home page, and the bounded wait at the end.
// Each reads the program's web addresses anew (see WebAddresses.h).
#pragma once

#include <windows.h>

#include <string>

namespace qv {

// Start-up with the check preference set: the update check, and the site list when it is due.
void StartUpdateChecks(HWND mainWindow, int siteListRefreshDay);
// Timer 1002 and 1003 fired (the main window has stopped them).
void RetryUpdateCheck(HWND mainWindow);
void RetrySiteList(HWND mainWindow, int siteListRefreshDay);
// The what's-new text arrived on the main window's thread.
void ShowNewVersion(HWND mainWindow, const std::string& whatsNew);
void ShowHomePage(HWND owner);
// The main window goes: waits a bounded time for checks still running.
void EndUpdateChecks();

}  // namespace qv

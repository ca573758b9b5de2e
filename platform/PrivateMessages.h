// The private window messages of the program. Their numbers are fixed: other processes (the
// message hook in every process, an undo run, a second start) and several modules send them, so
// they are kept here, below everyone who sends or receives them.
#pragma once

#define QV_MSG_FOLDER_CHANGED   1225  // from the folder watcher; wParam 1 file, 0 folder change
#define QV_MSG_TRANSLATE_MENU   2026  // from the tray, wParam = the menu about to be shown
// From the update-check threads. 2034 and 2035 carry owned text in lParam (platform/PostedText.h);
// 2036 asks for retry timer wParam (1002 or 1003) with the period lParam in milliseconds, since a
// thread cannot set a timer on a window of another thread.
#define QV_MSG_SITE_LIST        2034  // the site list arrived
#define QV_MSG_NEW_VERSION      2035  // a newer version: its what's-new text
#define QV_MSG_CHECK_RETRY      2036  // no network: try again later
#define TIMER_UPDATE_CHECK      1002  // the main window's retry timers that 2036 names
#define TIMER_SITE_LIST         1003
#define QV_MSG_TRAY_NOTIFY      2104  // the tray icon's callback; lParam = the mouse message
#define QV_MSG_SCREENSAVER_RUN  2106  // a screen saver has started (any sender, pv.dll too)
#define QV_MSG_QUIT_AGENT       2107  // sent by an undo run: the running agent ends
#define QV_MSG_LANGUAGE_CHANGED 3024  // from the preferences page

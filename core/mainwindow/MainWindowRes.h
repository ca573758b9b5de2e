// Identifiers of the main window's resource script (MainWindow.rc): the frame dialog, its menus,
// the command ids of menu bar and tray menu, and the timers and hotkeys of the main window. The
// numbers are fixed: other processes, the tray and the settings rely on them. The private window
// messages are in platform/PrivateMessages.h.
#pragma once

#include "res/resource.h"  // IDD_MAIN 102, IDR_MAINFRAME 128, ID_CONFIGURE 32771

#define IDR_MAINMENU            129   // the window's menu bar
#define IDR_TRAYMENU            132   // the tray menu; also the tray icon's id

#define IDM_ABOUTBOX            16    // system menu: "&About Quorvex..." (string IDS_ABOUTBOX)

// Asked on Exit when the language in use cannot give its own text.
#define IDS_CONFIRM_EXIT        160

// Frame controls of dialog 102.
#define IDC_PAGE_TREE           1000
#define IDC_PAGE_CAPTION        1001
#define IDC_PAGE_AREA           1002

// Commands.
#define ID_EXIT                 32773
#define ID_HELP_CONTENTS        32774
#define ID_ABOUT                32775
#define ID_SETUP_BOOTINI        32777
#define ID_TOGGLE_SCREENSAVER   32785
#define ID_START_SCREENSAVER    32786
#define ID_PREVIOUS_WALLPAPER   32788
#define ID_NEXT_WALLPAPER       32789
#define ID_PREFERENCES          32793
#define ID_PREVIOUS_IESKIN      32794
#define ID_NEXT_IESKIN          32795
#define ID_HOMEPAGE             32796
#define ID_CLOSE_CONFIGURE      32798

// Timers.
#define TIMER_IESKIN            101
#define TIMER_WALLPAPER         102
#define TIMER_FOLDER_QUIET      201
#define TIMER_SCREENSAVER_RUN   1001
// 1002 and 1003, the retry timers of the update checks, are in platform/PrivateMessages.h.
#define TIMER_LOGON_RETRY       1004
#define TIMER_WALLPAPER_CHECK   1005
#define TIMER_BOOTSCREEN_CHECK  1006

// Global hotkeys.
#define HOTKEY_PREVIOUS_WALLPAPER 10
#define HOTKEY_NEXT_WALLPAPER     11
#define HOTKEY_PREVIOUS_IESKIN    12
#define HOTKEY_NEXT_IESKIN        13

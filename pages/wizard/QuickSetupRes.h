// Identifiers of the quick setup wizard's pages (QuickSetup.rc). The boot.ini pages are
// IDD_QS_BOOTINI_SETUP 170 and IDD_QS_NEW_BOOTINI 171 of boot/ui/BootIniRes.h.
#pragma once

#include "pages/PagesRes.h"

#define IDD_QS_WELCOME          160
#define IDD_QS_LANGUAGE         162
#define IDD_QS_HOTKEY           163
#define IDB_QS_SIDE             160   // the welcome page's side bitmap

// Welcome page.
#define IDC_QS_SIDE_BITMAP      1063
#define IDC_QS_WELCOME_TITLE    1064
#define IDC_QS_WELCOME_TEXT     1065

// Language page.
#define IDC_QS_LANGUAGE_TITLE   1066
#define IDC_QS_LANGUAGE_TEXT1   1067
#define IDC_QS_LANGUAGE_TEXT2   1068
#define IDC_QS_LANGUAGE_LABEL   1059
#define IDC_QS_LANGUAGE_COMBO   1063

// Hotkey page (the hotkey controls and labels are the preferences page's, pages/PagesRes.h).
#define IDC_QS_HOTKEY_TITLE     1070
#define IDC_QS_HOTKEY_TEXT      1071

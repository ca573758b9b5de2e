// Identifiers of the pages' resource script (Pages.rc): the page dialogs, their menus, the
// controls they share and their own, and the commands of their menus. The numbers are fixed by
// the dialog templates and menus that every list page shares.
#pragma once

// Dialogs.
#define IDD_WALLPAPER_PAGE      132
#define IDD_IESKIN_PAGE         136
#define IDD_SCREENSAVER_PAGE    138
#define IDD_LOGON_PAGE          172
#define IDD_PREFERENCES_PAGE    140
#define IDD_ABOUT_PAGE          141

// Strings.
// Strings are stored in blocks of 16 ids: each resource script keeps to blocks of its own.
#define IDS_DEPTH_FORMAT        208   // "%d bit": the colour depth column

// Menus: first sub-menu of each is the one shown.
#define IDR_WALLPAPER_CONTEXT   162   // the wallpaper list's context menu
#define IDR_WALLPAPER_ADD       165   // the wallpaper page's "Add" drop-down
#define IDR_LIST_MODE           169   // "Details" / "Thumbnails" of the list-mode button
#define IDR_IESKIN_CONTEXT      163
#define IDR_IESKIN_ADD          166
#define IDR_LOGON_CONTEXT       167
#define IDR_LOGON_ADD           168
#define IDR_SCREENSAVER_CONTEXT 164
#define IDR_SCREENSAVER_VIEW    170   // "Details" / "Large Icons" of the screen saver list

// Controls shared by the list pages.
#define IDC_LIST                1040
#define IDC_ADD                 1022
#define IDC_REMOVE              1009
#define IDC_CLEAR               1010
#define IDC_LIST_MODE           1027
#define IDC_TOP                 1024
#define IDC_UP                  1023
#define IDC_DOWN                1012
#define IDC_BOTTOM              1014
#define IDC_CHANGE_MODE         1025
#define IDC_ORDER               1026
#define IDC_SET_CURRENT         1046
#define IDC_GET_MORE            1034
#define IDC_RESTORE             1045  // a restore or remove button, or the wallpaper's position label
#define IDC_CHANGE_MODE_LABEL   1043
#define IDC_ORDER_LABEL         1044

// Wallpaper page.
#define IDC_INTERVAL            1031
#define IDC_INTERVAL_SPIN       1032
#define IDC_TIMER_UNIT          1033
#define IDC_POSITION            1028
#define IDC_POSITION_LABEL      1045

// Logon screen page.
#define IDC_BACKGROUND_COLOUR   1041  // the colour picker of the logon list's background
#define IDC_BACKGROUND_LABEL    1047

// Screen saver page.
#define IDC_SAVER_WAIT          1037
#define IDC_SAVER_WAIT_SPIN     1038
#define IDC_SAVER_WAIT_LABEL    2046
#define IDC_MINUTES_LABEL       1049
#define IDC_PREVIEW             1036
#define IDC_SETTINGS            32778
// Preferences page. The hotkey controls and their labels have the same numbers on the quick
// setup wizard's hotkey page, which shares their exchange (HotkeyFields.h).
#define IDC_HOTKEY_PREV_WALLPAPER 1044
#define IDC_HOTKEY_NEXT_WALLPAPER 2047
#define IDC_HOTKEY_PREV_IESKIN  1045
#define IDC_HOTKEY_NEXT_IESKIN  1047
#define IDC_LABEL_PREV_WALLPAPER 1055
#define IDC_LABEL_NEXT_WALLPAPER 1062
#define IDC_LABEL_PREV_IESKIN   1056
#define IDC_LABEL_NEXT_IESKIN   1064
#define IDC_HOTKEY_GROUP        1065
#define IDC_LANGUAGE_GROUP      1066
#define IDC_LANGUAGE_LABEL      1059
#define IDC_LANGUAGE_COMBO      1063
#define IDC_AUTHOR_LABEL        1060
#define IDC_AUTHOR              1052
#define IDC_LANGUAGE_VERSION_LABEL 1061
#define IDC_LANGUAGE_VERSION    1057
#define IDC_LANGUAGE_PACK       1054
#define IDC_CHECK_NEW_VERSION   1053
#define IDC_RELOAD_LANGUAGES    1051
#define IDC_AGENT_ENABLED       1058

// About page.
#define IDC_ABOUT_ICON          1080  // the program's icon as a picture button: the home page
#define IDC_ABOUT_NAME          1081
#define IDC_ABOUT_VERSION       1082
#define IDC_ABOUT_COPYRIGHT     1083
#define IDC_ABOUT_THANKS_LABEL  1084
#define IDC_ABOUT_THANKS        1085  // the libraries' notices, read-only
#define IDC_ABOUT_HOMEPAGE      1086  // hyperlink label
#define IDC_ABOUT_FEEDBACK      1087  // hyperlink label
#define IDR_ABOUT_NOTICES       1088  // the notices' text (RCDATA)

// Commands of the pages' menus.
#define ID_REMOVE               1009
#define ID_CLEAR                1010
#define ID_PREVIEW              1036
#define ID_SELECT_ALL           32779
#define ID_INVERT_SELECTION     32780
#define ID_SET_CURRENT          32781
#define ID_VIEW_DETAILS         32776
#define ID_VIEW_THUMBNAILS      32777  // the screen saver list: "Large Icons"
#define ID_SETTINGS             32778
#define ID_ADD_FILES            32786
#define ID_ADD_FOLDER           32787
#define ID_SITE_FIRST           37100
#define ID_SITE_LAST            37125

// Private messages of a page to itself.
#define QV_MSG_THUMBNAILS_READY (WM_APP + 14)  // the thumbnail worker has finished results
#define QV_MSG_PREVIEW_SELECTION (WM_APP + 16)  // the selection changed: the preview follows

// The add-image-folder dialog's check box over the folder tree.
#define IDC_INCLUDE_SUBFOLDERS  1000

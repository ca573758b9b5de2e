// Identifiers of the program's own resource script (Quorvex.rc), and the command number that
// other processes and the tray rely on.
#pragma once

#define IDS_ABOUTBOX        101   // "&About Quorvex..." in the system menu
#define IDS_INSTANCE_NAME   102   // "Quorvex": mutex, main window caption, settings folder
#define IDS_LANGUAGE_FAILED 103   // shown when no language file can be used
#define IDS_NEW_VERSION     150   // "New Quorvex Available": caption of the update message
#define IDS_TRAY_TIP        151   // "Quorvex Agent"

#define IDR_MAINFRAME       128   // the main icon
#define IDD_MAIN            102   // the main window dialog

#define ID_CONFIGURE        32771 // "Configure": shows the configuration window

// Identifiers of the boot.ini dialogs and their wizard pages (BootIniDialogs.rc).
#pragma once

#define IDD_BOOTINI_SETUP        180  // the "Setup BOOT.INI" dialog
#define IDD_NEW_BOOTINI          181  // the new boot.ini dialog
#define IDD_QS_BOOTINI_SETUP     170  // the same choice as a page of the quick setup wizard
#define IDD_QS_NEW_BOOTINI       171  // the new boot.ini as a page of the quick setup wizard

#define IDC_OS_LIST              1100  // setup: the Windows entries of boot.ini
#define IDC_BOOTINI_PROMPT       1101  // setup: the instruction above the list
#define IDC_NEWBOOTINI_NOTFOUND  1102  // new: "BOOT.INI wasn't found..."
#define IDC_NEWBOOTINI_PROMPT    1103  // new: "Quorvex will generate..."
#define IDC_NEWBOOTINI_TEXT      1104  // new: the editable file text

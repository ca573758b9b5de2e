// Identifiers of the boot screen page's resource script (BootScreenPage.rc): the page, its menus
// and the preview dialog. The page's controls are the shared ones of pages/PagesRes.h.
#pragma once

#define IDD_BOOTSCREEN_PAGE      182  // the boot screen page
#define IDD_BOOT_PREVIEW         183  // the boot screen preview
#define IDR_BOOTSCREEN_CONTEXT   185  // the boot screen list's context menu
#define IDR_BOOTSCREEN_ADD       186  // the boot screen page's "Add" drop-down

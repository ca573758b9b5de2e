// What the boot.ini setup dialog and its wizard page, and the new boot.ini dialog and its
// wizard page, share: the list of entries, its save, the new file's texts and their save, the
// texts of their controls. One function each, used by dialog and page.
#pragma once

#include <windows.h>

#include <string>

#include "boot/BootIniSetup.h"
#include "help/HelpFile.h"

namespace qv {

// A message of section "Strings" with MB_* style flags; the button pressed, or -1.
using BootMessage = int (*)(const char* key, UINT style);

// The text of key in section of the language in use; false when there is none.
bool BootDialogText(const std::string& section, const std::string& key, std::string* out);

// Reads path into model when the file exists. False when it exists and cannot be read.
bool ReadBootIniIfPresent(BootINI& model, const std::string& path);

// Two columns of width 200 (texts of section "OS List"), grid lines, full-row selection and info
// tips; one row per offered entry with the pair index as its number; the preselected row chosen;
// both columns sized to their content when there is a row.
void FillBootEntryList(HWND list, const BootINI& model, int generation);
// The column titles again, from the language in use.
void LocalizeBootEntryList(HWND list);

enum class BootSaveStep {
  Close,        // marked (or the write failed, with "0007" shown): the dialog closes
  NoSelection,  // "0006" shown and the list focused: stay
  Invalid,      // the entry is gone (logged): the dialog stays, the wizard finishes
};
// The save of the setup dialog and of the wizard's Finish over the list's selection.
BootSaveStep SaveBootEntryChoice(HWND list, BootINI& model, const std::string& path,
                                 BootMessage message);

// The texts of a new boot.ini for this system's Windows directory and generation.
NewBootIniTexts NewBootIniTextsForThisSystem(int generation);
// Writes the edit control's text (the user may have changed it) as the new file at path.
NewBootIniWrite SaveNewBootIni(HWND edit, const NewBootIniTexts& texts, const std::string& path);

// The labels of the setup and new dialogs and pages (titles and buttons are the dialogs' own).
void LocalizeBootIniSetupLabels(HWND dialog);
void LocalizeNewBootIniLabels(HWND dialog);

// What the two boot.ini dialogs share: the help topic, and the caption (key "001" of
// titleSection) with the Save and Cancel buttons' texts.
constexpr const char kBootIniHelpTopic[] = "boot_ini_setup.htm";
void LocalizeBootIniDialog(HWND dialog, const char* titleSection);
// The help topic on WM_HELP: true when message was that and the help was opened.
bool OpenBootIniHelpOn(UINT message, HWND dialog, HelpOpener help);

}  // namespace qv

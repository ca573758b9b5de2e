// The steps of start-up that work on the settings: reading them (or falling back to the defaults
// and the quick setup wizard), the start-up run's changes, and the undo run's restore steps.
#pragma once

#include <string>

#include "core/PVoptionData.h"

namespace qv {

enum class WizardOutcome {
  Finished,      // the user finished it: the settings hold the hotkeys and language chosen
  Cancelled,     // the user cancelled it
  NotAvailable,  // there is no wizard to run
};

// Runs the quick setup wizard over the settings, which come preset with the defaults.
using QuickSetupWizard = WizardOutcome (*)(PVoptionData& settings);

// Reads the settings file. When it cannot be read: the defaults, then the wizard, whose chosen
// hotkeys and language file are kept when it is finished; a cancelled wizard, or one that throws,
// leaves the defaults. Returns true when the file was read.
bool InitialiseSettings(PVoptionData& settings, const std::string& path, QuickSetupWizard wizard);

// The start-up run: every list changes if due, in the order boot screen, logon screen, wallpaper,
// browser toolbar skin, screen saver. The results are not examined.
void ChangeEveryListIfDue(PVoptionData& settings);

// The undo run's three steps, through the changers' restore entry points.
struct RestoreSteps {
  bool (*restoreBootIni)();     // Windows 2000 and XP
  bool (*restoreBootScreen)();  // every other generation
  bool (*removeIESkin)();
  bool (*restoreLogonHost)();   // Windows XP
};
void RestoreSystemAppearance(const RestoreSteps& steps, int windowsGeneration);

}  // namespace qv

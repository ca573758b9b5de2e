#include "core/StartupRun.h"

#include "core/WindowsGeneration.h"
#include "platform/Log.h"
#include "platform/SafeFile.h"

namespace qv {

bool InitialiseSettings(PVoptionData& settings, const std::string& path, QuickSetupWizard wizard) {
  bool loaded = false;
  // A save cut off between its renames (Windows 95, 98 and Me) left the file under another name.
  if (!platform::RecoverReplacedFile(path)) QV_LOG_MSG(path.c_str());
  try {
    loaded = settings.Load(path);
  } catch (...) {
    QV_LOG();
  }
  if (loaded) return true;

  settings.Reset();
  WizardOutcome outcome = WizardOutcome::NotAvailable;
  PVoptionData chosen(settings);
  try {
    outcome = wizard ? wizard(chosen) : WizardOutcome::NotAvailable;
  } catch (...) {
    QV_LOG();
    outcome = WizardOutcome::Cancelled;
  }
  switch (outcome) {
    case WizardOutcome::Finished:
      for (int i = 0; i < kHotkeyCount; ++i) settings.hotkeys[i] = chosen.hotkeys[i];
      settings.languageFile = chosen.languageFile;
      break;
    case WizardOutcome::Cancelled:
      settings.Reset();
      break;
    case WizardOutcome::NotAvailable:
      break;  // the defaults stay
  }
  return false;
}

void ChangeEveryListIfDue(PVoptionData& settings) {
  settings.bootScreen.ChangeIfDue();
  settings.logonScreen.ChangeIfDue();
  settings.wallpaper.ChangeIfDue();
  settings.ieSkin.ChangeIfDue();
  settings.screenSaver.ChangeIfDue();
}

void RestoreSystemAppearance(const RestoreSteps& steps, int windowsGeneration) {
  if (windowsGeneration == kWin2000 || windowsGeneration == kWinXP)
    steps.restoreBootIni();
  else
    steps.restoreBootScreen();
  steps.removeIESkin();
  if (windowsGeneration == kWinXP) steps.restoreLogonHost();
}

}  // namespace qv

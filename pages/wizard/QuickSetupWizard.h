// The quick setup wizard of a first start: welcome, interface language, the four hotkeys and,
// on Windows 2000 and XP, the boot.ini entry to mark (or a new boot.ini). Its own property
// sheet; it exists only while it runs.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "boot/BootINI.h"
#include "boot/ui/BootIniPages.h"
#include "core/PVoptionData.h"
#include "core/StartupRun.h"
#include "pages/wizard/QuickSetupPages.h"
#include "widgets/PropertySheet.h"

namespace qv {

// What the wizard takes from outside; tests put their own in.
struct QuickSetupEnvironment {
  int generation = 0;
  std::string bootIniPath = BootINI::kPath;
  QuickSetupNames names;
  // "0006" and "0007" of the boot.ini page.
  BootMessage message = nullptr;
  // Asks the Cancel question with its text; true for Yes.
  bool (*confirmCancel)(HWND sheet, const std::string& text) = nullptr;
};

// The program's environment: this Windows, c:\boot.ini, the names of string resource 102 and
// the version, ShowMessage, a Yes/No message box.
QuickSetupEnvironment ProgramQuickSetupEnvironment();

class CQuickSetupWizard : public widgets::WizardSheet {
 public:
  // Reads the hotkeys from settings (not owned; it outlives the wizard).
  CQuickSetupWizard(const PVoptionData& settings, QuickSetupEnvironment environment);
  ~CQuickSetupWizard() override;

  // Runs the sheet over owner: Finished or Cancelled (also when it cannot be shown).
  WizardOutcome RunWizard(HWND owner);
  // The hotkey page's four values and the language in use go into settings.
  void TakeResults(PVoptionData& settings) const;

  // Title and every page's texts again, after the language changed on the language page.
  void Relocalize();
  // "Quick Setup Wizard" / "0001" as a format of the product name.
  std::string Title() const;
  bool HasBootIniPage() const { return bootSetup_ || newBootIni_; }

 protected:
  void OnInitialized() override;
  std::string Caption(const char* requested) override { return Title(); }
  bool OnCancel() override;

 private:
  void ArrangeButtons() const;
  void CentreOnScreen() const;

  QuickSetupEnvironment environment_;
  CQSWelcomePage welcome_;
  CQSLanguageSetupPage language_;
  CQSHotkeySetupPage hotkeys_;
  std::unique_ptr<CBootINISetupPage> bootSetup_;
  std::unique_ptr<CQSNewBooINIPage> newBootIni_;
};

}  // namespace qv

// The first three pages of the quick setup wizard: welcome, interface language, hotkeys.
// The boot.ini page is the fourth on Windows 2000 and XP (boot/ui/BootIniPages.h).
#pragma once

#include <string>

#include "core/PVoptionData.h"
#include "platform/Handles.h"
#include "widgets/PropertySheet.h"

namespace qv {

class CQuickSetupWizard;

// The title and the first page's welcome: the product's name and version.
struct QuickSetupNames {
  std::string product = "Quorvex";
  std::string version = "1.04";
};

class CQSWelcomePage : public widgets::PropertyPage {
 public:
  explicit CQSWelcomePage(const QuickSetupNames& names) : names_(names) {}
  void Localize() override;
  // The welcome text: "0002" as a format of product name, a blank and the version.
  std::string WelcomeText() const;

 protected:
  bool OnInit() override;
  void OnSetActive() override;
  void OnKillActive() override;

 private:
  QuickSetupNames names_;
  ScopedGdiObj<HFONT> titleFont_;
};

class CQSLanguageSetupPage : public widgets::PropertyPage {
 public:
  // wizard (not owned) is told to translate itself after a language change.
  explicit CQSLanguageSetupPage(CQuickSetupWizard* wizard) : wizard_(wizard) {}
  // The list index to select when the page opens; -1 selects the English entry.
  void SetPreset(int index) { preset_ = index; }
  void Localize() override;

 protected:
  bool OnInit() override;
  void OnSetActive() override;
  bool OnCommand(int code, int id, HWND control) override;

 private:
  CQuickSetupWizard* wizard_;
  int preset_ = -1;
  ScopedGdiObj<HFONT> titleFont_;
};

class CQSHotkeySetupPage : public widgets::PropertyPage {
 public:
  // lastPage: Finish is offered here (no boot.ini page follows).
  CQSHotkeySetupPage(const HotkeySetting (&hotkeys)[kHotkeyCount], bool lastPage);
  void Localize() override;
  // The four hotkeys as the controls last held them.
  const HotkeySetting& Hotkey(int index) const { return hotkeys_[index]; }

 protected:
  bool OnInit() override;
  void OnSetActive() override;
  void OnKillActive() override;
  bool OnWizardFinish() override;
  void OnDestroy() override;

 private:
  void Load();
  void Store();

  HotkeySetting hotkeys_[kHotkeyCount];
  bool lastPage_;
  ScopedGdiObj<HFONT> titleFont_;
};

}  // namespace qv

// The preferences page (dialog 140): the four global hotkeys, the interface language with its
// author and the program version it was prepared for, "Reload" of the language folder, the
// language-pack page, the update check at start-up and the resident agent. A language chosen
// here is current at once (message 3024 to the configuration window re-translates every page);
// the settings remember it, with the other values, only when the configuration is applied.
#pragma once

#include <string>

#include "core/PVoptionData.h"
#include "pages/SetupPage.h"
#include "widgets/Controls.h"

namespace qv {

// The values the page works on: copies of the settings' own.
struct PreferenceValues {
  HotkeySetting hotkeys[kHotkeyCount];
  int languageIndex = -1;
  std::string languageFile;  // set when the user picks a language
  std::string author;
  std::string programVersion;  // "qv ver" of the language file
  int agentEnabled = 1;
  int checkNewVersion = 0;
};

class PreferencesPage : public SetupPage {
 public:
  explicit PreferencesPage(const PageServices& services);

  void Localize() override;
  const PreferenceValues& Values() const { return values_; }

 protected:
  void TakeWorkingCopy(const PVoptionData& live) override;
  void LoadControls() override;
  void CommitTo(PVoptionData& live) override;

  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;

 private:
  void StoreControls();
  void FillLanguageCombo();
  void ChooseLanguage();
  void ReloadLanguages();
  // Message 3024 to the configuration window: every page translates its texts again.
  void AnnounceLanguageChange() const;

  PreferenceValues values_;
  widgets::ComboBox languages_;
  widgets::CheckBox agent_;
  widgets::CheckBox checkNewVersion_;
};

}  // namespace qv

#include "pages/PreferencesPage.h"

#include "platform/Log.h"
#include "platform/PrivateMessages.h"
#include "i18n/LanguageManager.h"
#include "net/WebLinks.h"
#include "pages/HotkeyFields.h"
#include "pages/PagesRes.h"

namespace qv {
namespace {

const char kSection[] = "Preferences Page";

const ControlText kTexts[] = {
    {IDC_HOTKEY_GROUP, kSection, "005"},       {IDC_LANGUAGE_GROUP, kSection, "006"},
    {IDC_LANGUAGE_LABEL, kSection, "007"},     {IDC_AUTHOR_LABEL, kSection, "008"},
    {IDC_LANGUAGE_VERSION_LABEL, kSection, "009"}, {IDC_LANGUAGE_PACK, kSection, "010"},
    {IDC_CHECK_NEW_VERSION, kSection, "011"},  {IDC_RELOAD_LANGUAGES, kSection, "012"},
    {IDC_AGENT_ENABLED, kSection, "013"},
};

}  // namespace

PreferencesPage::PreferencesPage(const PageServices& services)
    : SetupPage(services, IDD_PREFERENCES_PAGE, "preferences.htm") {}

void PreferencesPage::TakeWorkingCopy(const PVoptionData& live) {
  for (int i = 0; i < kHotkeyCount; ++i) values_.hotkeys[i] = live.hotkeys[i];
  values_.languageFile = live.languageFile;
  values_.agentEnabled = live.agentEnabled ? 1 : 0;
  values_.checkNewVersion = live.checkNewVersion ? 1 : 0;
}

bool PreferencesPage::OnInit() {
  languages_.Attach(Item(IDC_LANGUAGE_COMBO));
  agent_.Attach(Item(IDC_AGENT_ENABLED));
  checkNewVersion_.Attach(Item(IDC_CHECK_NEW_VERSION));
  FillLanguageCombo();
  return true;
}

void PreferencesPage::Localize() {
  SetTexts(kTexts, sizeof kTexts / sizeof kTexts[0]);
  SetTexts(kHotkeyLabelTexts, kHotkeyCount);
  LanguageInfo info;
  // Without a current language the two texts stay as they were (empty at first).
  if (!Languages().HasLanguage() || !Languages().GetCurrentInfo(&info)) return;
  values_.author = info.author;
  values_.programVersion = info.programVersion;
  widgets::Window(Item(IDC_AUTHOR)).SetText(values_.author);
  widgets::Window(Item(IDC_LANGUAGE_VERSION)).SetText(values_.programVersion);
}

void PreferencesPage::LoadControls() {
  LoadHotkeyControls(Handle(), values_.hotkeys);
  agent_.SetChecked(values_.agentEnabled != 0);
  checkNewVersion_.SetChecked(values_.checkNewVersion != 0);
  if (values_.languageIndex >= 0) languages_.Select(values_.languageIndex);
}

void PreferencesPage::StoreControls() {
  StoreHotkeyControls(Handle(), values_.hotkeys);
  values_.agentEnabled = agent_.Checked() ? 1 : 0;
  values_.checkNewVersion = checkNewVersion_.Checked() ? 1 : 0;
  values_.languageIndex = languages_.Selection();
}

void PreferencesPage::CommitTo(PVoptionData& live) {
  StoreControls();
  for (int i = 0; i < kHotkeyCount; ++i) live.hotkeys[i] = values_.hotkeys[i];
  live.languageFile = values_.languageFile;
  live.agentEnabled = values_.agentEnabled;
  live.checkNewVersion = values_.checkNewVersion;
}

void PreferencesPage::FillLanguageCombo() {
  languages_.Clear();
  values_.languageIndex = Languages().GetCurrentIndex();
  std::vector<std::string> names;
  Languages().GetLanguageNames(&names);
  for (const std::string& name : names) languages_.Add(name);
  // A current file that is not in the list (or none) shows the English entry.
  languages_.Select(values_.languageIndex >= 0 ? values_.languageIndex : Languages().EnglishIndex());
}

void PreferencesPage::ChooseLanguage() {
  StoreControls();
  if (values_.languageIndex < 0) return;
  // A file that cannot be loaded keeps the previous language; the combo keeps the chosen name.
  if (!Languages().LoadLanguageAt(values_.languageIndex)) QV_LOG();
  std::string path;
  if (Languages().GetCurrentPath(&path)) values_.languageFile = path;
  AnnounceLanguageChange();
}

void PreferencesPage::ReloadLanguages() {
  if (!Languages().Rescan()) QV_LOG();
  FillLanguageCombo();
  AnnounceLanguageChange();
}

void PreferencesPage::AnnounceLanguageChange() const {
  ::SendMessageA(::GetParent(Handle()), QV_MSG_LANGUAGE_CHANGED, 0, 0);
}

bool PreferencesPage::OnCommand(int code, int id, HWND control) {
  switch (id) {
    case IDC_LANGUAGE_COMBO:
      if (code == CBN_SELCHANGE && !Loading()) ChooseLanguage();
      return true;
    case IDC_RELOAD_LANGUAGES:
      if (code == BN_CLICKED) ReloadLanguages();
      return true;
    case IDC_LANGUAGE_PACK:
      if (code == BN_CLICKED) OpenLanguagePackPage(Handle());
      return true;
  }
  return SetupPage::OnCommand(code, id, control);
}

}  // namespace qv

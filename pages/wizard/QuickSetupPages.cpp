#include "pages/wizard/QuickSetupPages.h"

#include "i18n/LanguageFile.h"
#include "i18n/LanguageManager.h"
#include "pages/HotkeyFields.h"
#include "pages/wizard/QuickSetupRes.h"
#include "pages/wizard/QuickSetupWizard.h"
#include "widgets/Controls.h"
#include "widgets/ControlTexts.h"

namespace qv {
namespace {

bool PageText(const std::string& section, const std::string& key, std::string* out) {
  return Languages().Lookup(section, key, out);
}

const widgets::ControlText kLanguageTexts[] = {
    {IDC_QS_LANGUAGE_TITLE, "Quick Setup Language Page", "0001"},
    {IDC_QS_LANGUAGE_TEXT1, "Quick Setup Language Page", "0002"},
    {IDC_QS_LANGUAGE_TEXT2, "Quick Setup Language Page", "0003"},
    {IDC_QS_LANGUAGE_LABEL, "Quick Setup Language Page", "0004"},
};

const widgets::ControlText kHotkeyTexts[] = {
    {IDC_QS_HOTKEY_TITLE, "Quick Setup Hotkey Page", "0001"},
    {IDC_QS_HOTKEY_TEXT, "Quick Setup Hotkey Page", "0002"},
};

// Sets a page's heading in the page's font made bold; the font is kept in holder.
void MakeHeadingBold(HWND page, int heading, ScopedGdiObj<HFONT>* holder) {
  HWND control = ::GetDlgItem(page, heading);
  LOGFONTA font{};
  HFONT current = reinterpret_cast<HFONT>(::SendMessageA(control, WM_GETFONT, 0, 0));
  if (!current || !::GetObjectA(current, sizeof font, &font)) return;
  font.lfWeight = FW_BOLD;
  holder->Reset(::CreateFontIndirectA(&font));
  if (*holder) widgets::Window(control).SetFont(holder->Get());
}

}  // namespace

bool CQSWelcomePage::OnInit() {
  MakeHeadingBold(Handle(), IDC_QS_WELCOME_TITLE, &titleFont_);
  Localize();
  return true;
}

std::string CQSWelcomePage::WelcomeText() const {
  std::string format;
  if (!PageText("Quick Setup Welcome Page", "0002", &format)) return std::string();
  return FormatWithPath(format, names_.product + " " + names_.version);
}

void CQSWelcomePage::Localize() {
  std::string title;
  if (PageText("Quick Setup Welcome Page", "0001", &title))
    ::SetDlgItemTextA(Handle(), IDC_QS_WELCOME_TITLE, title.c_str());
  std::string text = WelcomeText();
  if (!text.empty()) ::SetDlgItemTextA(Handle(), IDC_QS_WELCOME_TEXT, text.c_str());
}

void CQSWelcomePage::OnSetActive() {
  SetWizardButtons(PSWIZB_NEXT);
  ::ShowWindow(SheetButton(widgets::kWizardBack), SW_HIDE);
  ::SetWindowTextA(Sheet(), "");  // the sheet puts its own title in
}

void CQSWelcomePage::OnKillActive() { ::ShowWindow(SheetButton(widgets::kWizardBack), SW_SHOW); }

bool CQSLanguageSetupPage::OnInit() {
  MakeHeadingBold(Handle(), IDC_QS_LANGUAGE_TITLE, &titleFont_);
  widgets::ComboBox combo(Item(IDC_QS_LANGUAGE_COMBO));
  std::vector<std::string> names;
  Languages().GetLanguageNames(&names);
  for (const std::string& name : names) combo.Add(name);
  combo.Select(preset_ >= 0 ? preset_ : Languages().EnglishIndex());
  Localize();
  return true;
}

void CQSLanguageSetupPage::Localize() {
  widgets::SetControlTexts(Handle(), kLanguageTexts, &PageText);
}

void CQSLanguageSetupPage::OnSetActive() {
  SetWizardButtons(PSWIZB_BACK | PSWIZB_NEXT);
  ::SetWindowTextA(Sheet(), "");
}

bool CQSLanguageSetupPage::OnCommand(int code, int id, HWND control) {
  if (id != IDC_QS_LANGUAGE_COMBO || code != CBN_SELCHANGE) return false;
  int selected = widgets::ComboBox(control).Selection();
  if (selected < 0) return true;
  // A file that cannot be loaded keeps the previous language and its texts.
  if (Languages().LoadLanguageAt(selected)) wizard_->Relocalize();
  return true;
}

CQSHotkeySetupPage::CQSHotkeySetupPage(const HotkeySetting (&hotkeys)[kHotkeyCount],
                                       bool lastPage)
    : lastPage_(lastPage) {
  for (int i = 0; i < kHotkeyCount; ++i) hotkeys_[i] = hotkeys[i];
}

bool CQSHotkeySetupPage::OnInit() {
  MakeHeadingBold(Handle(), IDC_QS_HOTKEY_TITLE, &titleFont_);
  Load();
  Localize();
  return true;
}

void CQSHotkeySetupPage::Localize() {
  widgets::SetControlTexts(Handle(), kHotkeyTexts, &PageText);
  widgets::SetControlTexts(Handle(), kHotkeyLabelTexts, &PageText);
}

void CQSHotkeySetupPage::Load() { LoadHotkeyControls(Handle(), hotkeys_); }

void CQSHotkeySetupPage::Store() { StoreHotkeyControls(Handle(), hotkeys_); }

void CQSHotkeySetupPage::OnSetActive() {
  SetWizardButtons(PSWIZB_BACK | (lastPage_ ? PSWIZB_FINISH : PSWIZB_NEXT));
  ::SetWindowTextA(Sheet(), "");
}

void CQSHotkeySetupPage::OnKillActive() { Store(); }

bool CQSHotkeySetupPage::OnWizardFinish() {
  Store();
  return true;
}

void CQSHotkeySetupPage::OnDestroy() { Store(); }

}  // namespace qv

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "boot/ui/BootIniRes.h"
#include "core/PVoptionData.h"
#include "core/StartupRun.h"
#include "core/WindowsGeneration.h"
#include "i18n/LanguageManager.h"
#include "pages/wizard/QuickSetupRes.h"
#include "pages/wizard/QuickSetupWizard.h"
#include "tests/support/LogCapture.h"
#include "tests/wizard/WinScript.h"
#include "widgets/Controls.h"

namespace {

using qvtest::ControlText;
using qvtest::Script;
using qvtest::WindowCaption;

const std::string kXp = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS";

std::vector<std::string> g_questions;
bool g_answer = true;
bool Answer(HWND, const std::string& text) {
  g_questions.push_back(text);
  return g_answer;
}
std::vector<std::string> g_messages;
int RecordMessage(const char* key, UINT) {
  g_messages.push_back(key);
  return IDOK;
}

std::string TempPath(const char* name) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  return std::string(temp) + name;
}
std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
void Remove(const std::string& path) {
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(path.c_str());
  DeleteFileA((path + ".qvbak").c_str());
}

bool Visible(HWND sheet, int id) { return IsWindowVisible(GetDlgItem(sheet, id)) != FALSE; }
bool Enabled(HWND sheet, int id) { return IsWindowEnabled(GetDlgItem(sheet, id)) != FALSE; }
HWND CurrentPage(HWND sheet) { return PropSheet_GetCurrentPageHwnd(sheet); }
int CurrentDialogId(HWND sheet) {
  // The pages tell themselves apart by a control only they have.
  HWND page = CurrentPage(sheet);
  if (GetDlgItem(page, IDC_QS_WELCOME_TEXT)) return IDD_QS_WELCOME;
  if (GetDlgItem(page, IDC_QS_LANGUAGE_COMBO) && GetDlgItem(page, IDC_QS_LANGUAGE_TITLE)) return IDD_QS_LANGUAGE;
  if (GetDlgItem(page, IDC_HOTKEY_PREV_WALLPAPER)) return IDD_QS_HOTKEY;
  if (GetDlgItem(page, IDC_OS_LIST)) return IDD_QS_BOOTINI_SETUP;
  if (GetDlgItem(page, IDC_NEWBOOTINI_TEXT)) return IDD_QS_NEW_BOOTINI;
  return 0;
}

// What one page offered when it was shown.
struct PageSeen {
  int dialog;
  bool back, next, finish;
};

class WinQuickSetup : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::LoadShippedLanguage("qveng.lng"));
    g_questions.clear();
    g_messages.clear();
    g_answer = true;
    Remove(bootIni_);
  }
  void TearDown() override { Remove(bootIni_); }

  qv::QuickSetupEnvironment Environment(int generation) const {
    qv::QuickSetupEnvironment e;
    e.generation = generation;
    e.bootIniPath = bootIni_;
    e.message = &RecordMessage;
    e.confirmCancel = &Answer;
    return e;
  }
  void WriteBootIni() const {
    std::ofstream(bootIni_, std::ios::binary)
        << "[boot loader]\r\ntimeout=30\r\n[operating systems]\r\n" << kXp
        << "=\"Microsoft Windows XP Professional\" /fastdetect\r\nC:\\=\"Microsoft Windows\"\r\n";
  }
  // Walks the wizard with Next to its end, noting each page, and presses Finish there.
  std::vector<PageSeen> WalkToFinish(qv::CQuickSetupWizard& wizard, qv::WizardOutcome* outcome) {
    std::vector<PageSeen> seen;
    int last = 0;
    Script script({[&] {
      HWND sheet = wizard.Handle();
      if (!sheet) return false;
      int id = CurrentDialogId(sheet);
      if (id == last) return false;  // the page change has not happened yet
      last = id;
      seen.push_back({id, Visible(sheet, widgets::kWizardBack) && Enabled(sheet, widgets::kWizardBack),
                      Visible(sheet, widgets::kWizardNext) && Enabled(sheet, widgets::kWizardNext),
                      Visible(sheet, widgets::kWizardFinish) && Enabled(sheet, widgets::kWizardFinish)});
      bool finish = seen.back().finish;
      PropSheet_PressButton(sheet, finish ? PSBTN_FINISH : PSBTN_NEXT);
      return finish;
    }});
    *outcome = wizard.RunWizard(nullptr);
    return seen;
  }

  std::string bootIni_ = TempPath("qv-wizard-boot.ini");
  qv::PVoptionData settings_;
};

TEST_F(WinQuickSetup, XpWithBootIniHasFourPagesAndFinishOnlyOnTheLast) {
  WriteBootIni();
  qv::CQuickSetupWizard wizard(settings_, Environment(qv::kWinXP));
  EXPECT_EQ(wizard.PageCount(), 4);
  qv::WizardOutcome outcome;
  std::vector<PageSeen> seen = WalkToFinish(wizard, &outcome);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[0].dialog, IDD_QS_WELCOME);
  EXPECT_FALSE(seen[0].back);  // hidden on the welcome page
  EXPECT_EQ(seen[1].dialog, IDD_QS_LANGUAGE);
  EXPECT_EQ(seen[2].dialog, IDD_QS_HOTKEY);
  EXPECT_EQ(seen[3].dialog, IDD_QS_BOOTINI_SETUP);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(seen[i].next && !seen[i].finish) << i;
  for (int i = 1; i < 4; ++i) EXPECT_TRUE(seen[i].back) << i;
  EXPECT_TRUE(seen[3].finish);
  EXPECT_EQ(outcome, qv::WizardOutcome::Finished);
  // Finish marked the preselected XP entry.
  EXPECT_NE(ReadFile(bootIni_).find("Professional\" /fastdetect /KERNEL=QVLOGO.EXE"),
            std::string::npos);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(WinQuickSetup, On98ThreePagesAndTheHotkeyPageFinishes) {
  WriteBootIni();
  std::string before = ReadFile(bootIni_);
  qv::CQuickSetupWizard wizard(settings_, Environment(qv::kWin98));
  EXPECT_EQ(wizard.PageCount(), 3);
  EXPECT_FALSE(wizard.HasBootIniPage());
  qv::WizardOutcome outcome;
  std::vector<PageSeen> seen = WalkToFinish(wizard, &outcome);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2].dialog, IDD_QS_HOTKEY);
  EXPECT_TRUE(seen[2].finish);
  EXPECT_FALSE(seen[2].next);
  EXPECT_EQ(outcome, qv::WizardOutcome::Finished);
  EXPECT_EQ(ReadFile(bootIni_), before);
}

TEST_F(WinQuickSetup, On2000WithoutBootIniTheLastPageWritesANewOne) {
  qv::CQuickSetupWizard wizard(settings_, Environment(qv::kWin2000));
  qv::WizardOutcome outcome;
  std::vector<PageSeen> seen = WalkToFinish(wizard, &outcome);
  ASSERT_EQ(seen.size(), 4u);
  EXPECT_EQ(seen[3].dialog, IDD_QS_NEW_BOOTINI);
  EXPECT_EQ(outcome, qv::WizardOutcome::Finished);
  std::string written = ReadFile(bootIni_);
  EXPECT_NE(written.find("=\"Microsoft Windows 2000\" /fastdetect /KERNEL=QVLOGO.EXE\r\n"),
            std::string::npos)
      << written;
  EXPECT_NE(written.find("=\"(Backuped by Quorvex)Microsoft Windows 2000\" /fastdetect\r\n"),
            std::string::npos);
}

TEST_F(WinQuickSetup, ChoosingGermanTranslatesTheTitleAndEveryPageAtOnce) {
  WriteBootIni();
  qv::CQuickSetupWizard wizard(settings_, Environment(qv::kWinXP));
  std::string englishTitle, germanTitle, welcome, hotkeyLabel, bootPrompt, languageTitle;
  std::string bootColumn;
  // Reads the texts of the page shown now, whichever it is.
  auto readPage = [&](HWND sheet) {
    HWND page = CurrentPage(sheet);
    switch (CurrentDialogId(sheet)) {
      case IDD_QS_WELCOME: welcome = ControlText(page, IDC_QS_WELCOME_TEXT); break;
      case IDD_QS_HOTKEY: hotkeyLabel = ControlText(page, IDC_LABEL_PREV_WALLPAPER); break;
      case IDD_QS_BOOTINI_SETUP: {
        bootPrompt = ControlText(page, IDC_BOOTINI_PROMPT);
        char column[64] = "";
        LVCOLUMNA c{};
        c.mask = LVCF_TEXT;
        c.pszText = column;
        c.cchTextMax = sizeof column;
        ListView_GetColumn(GetDlgItem(page, IDC_OS_LIST), 0, &c);
        bootColumn = column;
        break;
      }
    }
  };
  int last = 0;
  auto onNewPage = [&](int dialog) {
    HWND sheet = wizard.Handle();
    if (CurrentDialogId(sheet) != dialog || last == dialog) return false;
    last = dialog;
    readPage(sheet);
    return true;
  };
  Script script({[&] {
                   HWND sheet = wizard.Handle();
                   if (!sheet) return false;
                   englishTitle = WindowCaption(sheet);
                   PropSheet_PressButton(sheet, PSBTN_NEXT);
                   return true;
                 },
                 [&] {
                   HWND sheet = wizard.Handle();
                   if (CurrentDialogId(sheet) != IDD_QS_LANGUAGE) return false;
                   HWND page = CurrentPage(sheet);
                   widgets::ComboBox combo(GetDlgItem(page, IDC_QS_LANGUAGE_COMBO));
                   int german = -1;
                   for (int i = 0; i < combo.Count(); ++i)
                     if (combo.ItemText(i) == "Deutsch") german = i;
                   combo.Select(german);
                   SendMessageA(page, WM_COMMAND, MAKEWPARAM(IDC_QS_LANGUAGE_COMBO, CBN_SELCHANGE),
                                reinterpret_cast<LPARAM>(combo.Handle()));
                   germanTitle = WindowCaption(sheet);
                   languageTitle = ControlText(page, IDC_QS_LANGUAGE_TITLE);
                   last = IDD_QS_LANGUAGE;
                   PropSheet_PressButton(sheet, PSBTN_NEXT);
                   return true;
                 },
                 [&] {
                   if (!onNewPage(IDD_QS_HOTKEY)) return false;
                   PropSheet_PressButton(wizard.Handle(), PSBTN_NEXT);
                   return true;
                 },
                 [&] {
                   if (!onNewPage(IDD_QS_BOOTINI_SETUP)) return false;
                   PropSheet_SetCurSel(wizard.Handle(), nullptr, 0);
                   return true;
                 },
                 [&] {
                   if (!onNewPage(IDD_QS_WELCOME)) return false;
                   g_answer = true;
                   PropSheet_PressButton(wizard.Handle(), PSBTN_CANCEL);
                   return true;
                 }});
  EXPECT_EQ(wizard.RunWizard(nullptr), qv::WizardOutcome::Cancelled);
  EXPECT_TRUE(script.Finished());
  EXPECT_EQ(englishTitle, "Quorvex Quick Setup Wizard");
  EXPECT_EQ(germanTitle, "Quorvex Schnelleinrichtung");
  EXPECT_EQ(languageTitle.substr(0, 7), "Sprache");
  EXPECT_EQ(welcome.substr(0, 26), "Sie starten Quorvex 1.04 z");
  EXPECT_EQ(hotkeyLabel, "Vorheriges Hintergrundbild:");
  EXPECT_EQ(bootPrompt.substr(0, 5), "Bitte");
  EXPECT_EQ(bootColumn, "Betriebssystem");
  // The language stays German after the wizard (the settings keep the default path).
  std::string path;
  ASSERT_TRUE(qv::Languages().GetCurrentPath(&path));
  EXPECT_NE(path.find("qvdeu.lng"), std::string::npos);
}

TEST_F(WinQuickSetup, CancelAsksAndNoKeepsTheWizardOpen) {
  qv::CQuickSetupWizard wizard(settings_, Environment(qv::kWin98));
  bool openAfterNo = false;
  std::string welcome;
  Script script({[&] {
                   HWND sheet = wizard.Handle();
                   if (!sheet) return false;
                   welcome = ControlText(CurrentPage(sheet), IDC_QS_WELCOME_TEXT);
                   g_answer = false;
                   SendMessageA(GetDlgItem(sheet, IDCANCEL), BM_CLICK, 0, 0);
                   return true;
                 },
                 [&] {
                   openAfterNo = IsWindow(wizard.Handle()) && IsWindowVisible(wizard.Handle());
                   g_answer = true;
                   SendMessageA(wizard.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
                   return true;
                 }});
  EXPECT_EQ(wizard.RunWizard(nullptr), qv::WizardOutcome::Cancelled);
  EXPECT_TRUE(openAfterNo);
  ASSERT_EQ(g_questions.size(), 2u);
  EXPECT_EQ(g_questions[0].substr(0, 46), "Do you want to cancel the Quick Setup Wizard?\n");
  EXPECT_EQ(welcome.substr(0, 40), "It's your first time to run Quorvex 1.04");
}

TEST_F(WinQuickSetup, HelpIsHiddenAndCancelTakesItsPlace) {
  qv::CQuickSetupWizard wizard(settings_, Environment(qv::kWin98));
  bool helpVisible = true;
  LONG cancelLeft = 0, nextLeft = 0, helpLeft = 0;
  Script script({[&] {
    HWND sheet = wizard.Handle();
    if (!sheet) return false;
    RECT r;
    helpVisible = Visible(sheet, IDHELP);
    GetWindowRect(GetDlgItem(sheet, IDCANCEL), &r);
    cancelLeft = r.left;
    GetWindowRect(GetDlgItem(sheet, widgets::kWizardNext), &r);
    nextLeft = r.left;
    GetWindowRect(GetDlgItem(sheet, IDHELP), &r);
    helpLeft = r.left;
    PropSheet_PressButton(sheet, PSBTN_CANCEL);
    return true;
  }});
  wizard.RunWizard(nullptr);
  EXPECT_FALSE(helpVisible);
  EXPECT_EQ(cancelLeft, helpLeft);
  EXPECT_LT(nextLeft, cancelLeft);
}

// The first start's settings initialisation with this wizard: Finish keeps the chosen hotkeys
// and language in the settings file, Cancel leaves the defaults.
qv::QuickSetupEnvironment g_environment;
WORD g_hotkey = 0;
bool g_finish = true;
qv::WizardOutcome TestWizard(qv::PVoptionData& settings) {
  qv::CQuickSetupWizard wizard(settings, g_environment);
  Script script({[&] {
                   HWND sheet = wizard.Handle();
                   if (!sheet) return false;
                   PropSheet_SetCurSel(sheet, nullptr, 2);
                   return true;
                 },
                 [&] {
                   HWND sheet = wizard.Handle();
                   if (CurrentDialogId(sheet) != IDD_QS_HOTKEY) return false;
                   SendDlgItemMessageA(CurrentPage(sheet), IDC_HOTKEY_NEXT_WALLPAPER, HKM_SETHOTKEY,
                                       g_hotkey, 0);
                   PropSheet_PressButton(sheet, g_finish ? PSBTN_FINISH : PSBTN_CANCEL);
                   return true;
                 }});
  qv::WizardOutcome outcome = wizard.RunWizard(nullptr);
  if (outcome == qv::WizardOutcome::Finished) wizard.TakeResults(settings);
  return outcome;
}

TEST_F(WinQuickSetup, FinishStoresTheHotkeysInTheSettingsFileAndCancelResets) {
  std::string file = TempPath("qv-wizard-qv.dat");
  DeleteFileA(file.c_str());
  g_environment = Environment(qv::kWin98);
  g_hotkey = MAKEWORD(VK_F7, HOTKEYF_CONTROL | HOTKEYF_SHIFT);
  g_finish = true;
  qv::PVoptionData settings;
  EXPECT_FALSE(qv::InitialiseSettings(settings, file, &TestWizard));
  ASSERT_TRUE(settings.Save(file));
  qv::PVoptionData read;
  ASSERT_TRUE(read.Load(file));
  EXPECT_EQ(read.hotkeys[qv::kNextWallpaper],
            qv::HotkeySetting(VK_F7, qv::HotkeySetting::kControl | qv::HotkeySetting::kShift));
  qv::PVoptionData defaults;
  EXPECT_EQ(read.hotkeys[qv::kPreviousWallpaper], defaults.hotkeys[qv::kPreviousWallpaper]);
  std::string english;
  ASSERT_TRUE(qv::Languages().GetCurrentPath(&english));
  EXPECT_EQ(read.languageFile, english);

  DeleteFileA(file.c_str());
  g_finish = false;
  qv::PVoptionData cancelled;
  EXPECT_FALSE(qv::InitialiseSettings(cancelled, file, &TestWizard));
  EXPECT_EQ(cancelled.hotkeys[qv::kNextWallpaper], defaults.hotkeys[qv::kNextWallpaper]);
  EXPECT_EQ(cancelled.languageFile, defaults.languageFile);
  DeleteFileA(file.c_str());
}

}  // namespace

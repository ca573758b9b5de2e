// The preferences page inside the real configuration window with the program's pages: a new
// language translates the window and every open page at once, the shown one included, and an
// agent switched off ends the program when the window closes.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

#include "core/mainwindow/MainWindowRes.h"
#include "i18n/LanguageManager.h"
#include "pages/PagesRes.h"
#include "core/app/ProgramPages.h"
#include "tests/mainwindow/MainWindowHarness.h"
#include "tests/support/WinTestSupport.h"
#include "widgets/Menu.h"
#include "widgets/TreeView.h"

namespace {

// The page window of the configuration window that holds control id.
HWND PageWith(HWND window, int id) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (GetDlgItem(child, id)) return child;
  return nullptr;
}

std::string ItemText(HWND dialog, int id) {
  char text[256] = "";
  GetDlgItemTextA(dialog, id, text, sizeof text);
  return text;
}

void Open(HWND window, qv::PageKind kind) {
  widgets::TreeView tree(GetDlgItem(window, IDC_PAGE_TREE));
  tree.Select(tree.FindByValue(static_cast<LPARAM>(kind)));
}

class PreferencesFlow : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string languages = qvtest::DistFolder() + "language";
    ASSERT_TRUE(qv::Languages().ScanLanguages(languages, "qv*.lng"));
    english = languages + "\\qveng.lng";
    ASSERT_TRUE(qv::Languages().LoadLanguage(english));
    h.pages = &qv::MakeProgramPage;
    h.programTexts = true;
    h.settings.languageFile = english;
  }
  void TearDown() override { qv::Languages().LoadLanguage(english); }
  std::string english;
  qvtest::MainWindowHarness h;
};

TEST_F(PreferencesFlow, GermanTranslatesTheWindowAndEveryOpenPageAtOnce) {
  h.Run(false, [&](qvtest::MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_CONFIGURE, 0);
      Open(h.Window(), qv::PageKind::Wallpaper);
      Open(h.Window(), qv::PageKind::About);
      SendMessageA(h.Window(), WM_COMMAND, ID_PREFERENCES, 0);
      HWND wallpaper = PageWith(h.Window(), IDC_INTERVAL);
      HWND about = PageWith(h.Window(), IDC_ABOUT_FEEDBACK);
      HWND prefs = PageWith(h.Window(), IDC_RELOAD_LANGUAGES);
      ASSERT_TRUE(wallpaper && about && prefs);
      EXPECT_TRUE(IsWindowVisible(prefs));
      EXPECT_EQ(ItemText(wallpaper, IDC_CHANGE_MODE_LABEL), "Change Wallpaper:");
      EXPECT_EQ(ItemText(prefs, IDC_RELOAD_LANGUAGES), "Reload");

      HWND combo = GetDlgItem(prefs, IDC_LANGUAGE_COMBO);
      int german = static_cast<int>(SendMessageA(combo, CB_FINDSTRINGEXACT, -1,
                                                 reinterpret_cast<LPARAM>("Deutsch")));
      ASSERT_GE(german, 0);
      SendMessageA(combo, CB_SETCURSEL, german, 0);
      SendMessageA(prefs, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE_COMBO, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
      // The shown page, the pages behind it, the tree, the caption and the menu bar.
      EXPECT_EQ(ItemText(prefs, IDC_RELOAD_LANGUAGES), "Neu laden");
      EXPECT_EQ(ItemText(prefs, IDC_LABEL_NEXT_WALLPAPER), "N\xE4" "chstes Hintergrundbild:");
      EXPECT_EQ(ItemText(wallpaper, IDC_CHANGE_MODE_LABEL), "Bild wechseln:");
      EXPECT_EQ(ItemText(about, IDC_ABOUT_HOMEPAGE), "Homepage");
      EXPECT_EQ(h.Dialog().Frame().CaptionText(), "Einstellungen");
      std::vector<std::string> tree = h.Dialog().Frame().TreeTexts();
      ASSERT_FALSE(tree.empty());
      EXPECT_EQ(tree.back(), "Info");
      EXPECT_EQ(widgets::MenuItemText(GetMenu(h.Window()), ID_ABOUT), "Info");
      EXPECT_EQ(h.settings.languageFile, english) << "remembered only when applied";
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      EXPECT_EQ(h.settings.languageFile, qvtest::DistFolder() + "language\\qvdeu.lng");
    });
  });
  qv::PVoptionData saved;
  ASSERT_TRUE(saved.Load(h.settingsPath));
  EXPECT_EQ(saved.languageFile, qvtest::DistFolder() + "language\\qvdeu.lng");
}

TEST_F(PreferencesFlow, UntickingTheAgentEndsTheProgramWhenTheWindowCloses) {
  h.settings.agentEnabled = 1;
  h.Run(false, [&](qvtest::MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_PREFERENCES, 0);
      HWND prefs = PageWith(h.Window(), IDC_AGENT_ENABLED);
      ASSERT_NE(prefs, nullptr);
      EXPECT_EQ(SendDlgItemMessageA(prefs, IDC_AGENT_ENABLED, BM_GETCHECK, 0, 0), BST_CHECKED);
      // Closed with the agent on, the window stays as the agent.
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      EXPECT_FALSE(IsWindowVisible(h.Window()));
    });
    EXPECT_FALSE(h.WaitEnded(1500));
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_PREFERENCES, 0);
      HWND prefs = PageWith(h.Window(), IDC_AGENT_ENABLED);
      SendDlgItemMessageA(prefs, IDC_AGENT_ENABLED, BM_CLICK, 0, 0);
      EXPECT_EQ(SendDlgItemMessageA(prefs, IDC_AGENT_ENABLED, BM_GETCHECK, 0, 0), BST_UNCHECKED);
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(h.WaitEnded(5000));
  });
  qv::PVoptionData saved;
  ASSERT_TRUE(saved.Load(h.settingsPath));
  EXPECT_EQ(saved.agentEnabled, 0);
}

TEST_F(PreferencesFlow, ReloadShowsAnEditedLanguageFileAtOnceOnEveryOpenPage) {
  // A language folder of the test's own, whose English file is edited while the window runs.
  const std::string folder = qvtest::TempFolder("languages");
  for (const char* file : {"qveng.lng", "qvdeu.lng"})
    ASSERT_TRUE(CopyFileA((qvtest::DistFolder() + "language\\" + file).c_str(),
                          (folder + "\\" + file).c_str(), FALSE));
  ASSERT_TRUE(qv::Languages().ScanLanguages(folder, "qv*.lng"));
  ASSERT_TRUE(qv::Languages().LoadLanguage(folder + "\\qveng.lng"));
  h.Run(false, [&](qvtest::MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_CONFIGURE, 0);
      Open(h.Window(), qv::PageKind::Wallpaper);
      SendMessageA(h.Window(), WM_COMMAND, ID_PREFERENCES, 0);
      HWND wallpaper = PageWith(h.Window(), IDC_INTERVAL);
      HWND prefs = PageWith(h.Window(), IDC_RELOAD_LANGUAGES);
      ASSERT_TRUE(wallpaper && prefs);
      {
        std::ofstream edit(folder + "\\qveng.lng", std::ios::binary | std::ios::app);
        edit << "\r\n[Wallpaper Page]\r\n001=Edited while running:\r\n"
                "[Page Name]\r\nPreferences=Edited Preferences\r\n";
      }
      EXPECT_EQ(ItemText(wallpaper, IDC_CHANGE_MODE_LABEL), "Change Wallpaper:");
      SendDlgItemMessageA(prefs, IDC_RELOAD_LANGUAGES, BM_CLICK, 0, 0);
      EXPECT_EQ(ItemText(wallpaper, IDC_CHANGE_MODE_LABEL), "Edited while running:");
      EXPECT_EQ(h.Dialog().Frame().CaptionText(), "Edited Preferences");
      EXPECT_EQ(ItemText(prefs, IDC_RELOAD_LANGUAGES), "Reload") << "keys the edit left alone";
    });
  });
}

}  // namespace

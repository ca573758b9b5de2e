#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/WindowsGeneration.h"
#include "core/mainwindow/Hotkeys.h"
#include "core/mainwindow/MainWindowRes.h"
#include "platform/AgentWindow.h"
#include "platform/PrivateMessages.h"
#include "tests/mainwindow/DialogTemplate.h"
#include "tests/mainwindow/MainWindowHarness.h"
#include "tests/support/WinTestSupport.h"
#include "widgets/Dialog.h"
#include "widgets/Menu.h"
#include "widgets/TreeView.h"

namespace {

using qvtest::MainWindowHarness;
using qvtest::Record;

struct GenerationScope {
  explicit GenerationScope(int g) : saved(qv::WindowsGeneration) { qv::WindowsGeneration = g; }
  ~GenerationScope() { qv::WindowsGeneration = saved; }
  int saved;
};

void AddPictures(qv::ImageSetupData& list, const std::string& folderName, int count) {
  std::string folder = qvtest::TempFolder(folderName);
  for (int i = 0; i < count; ++i) {
    qv::SetupItem item;
    item.path = qvtest::TouchFile(folder, "p" + std::to_string(i) + ".jpg");
    list.items.push_back(item);
  }
}

TEST(MainWindow, TheFrameOffersThePagesOfTheGenerationAndItsMenus) {
  struct Row {
    int generation;
    std::vector<std::string> pages;
    bool bootIniItem;
  } rows[] = {
      {qv::kWinXP, {"Boot Screen", "Wallpaper", "IE Skin", "Logon Screen", "Screen Saver",
                    "Preferences", "About"}, true},
      {qv::kWin2000, {"Boot Screen", "Wallpaper", "IE Skin", "Screen Saver", "Preferences",
                      "About"}, true},
      {qv::kWinNT4, {"Wallpaper", "IE Skin", "Screen Saver", "Preferences", "About"}, false},
      {qv::kWin98, {"Boot Screen", "Wallpaper", "IE Skin", "Screen Saver", "Preferences",
                    "About"}, false},
  };
  for (const Row& r : rows) {
    GenerationScope generation(r.generation);
    MainWindowHarness h;
    h.Run(false, [&](MainWindowHarness& h) {
      h.OnUi([&] {
        EXPECT_EQ(h.Dialog().Frame().TreeTexts(), r.pages) << r.generation;
        EXPECT_EQ(h.Dialog().Frame().CaptionText(), r.pages.front());
        HMENU bar = GetMenu(h.Window());
        ASSERT_NE(bar, nullptr);
        EXPECT_EQ(widgets::MenuItemText(bar, 0, true), "Setting");
        EXPECT_EQ(widgets::MenuItemText(bar, 1, true), "Help");
        EXPECT_EQ(widgets::MenuHasCommand(bar, ID_SETUP_BOOTINI), r.bootIniItem) << r.generation;
        for (UINT id : {ID_PREFERENCES, ID_CLOSE_CONFIGURE, ID_HELP_CONTENTS, ID_HOMEPAGE, ID_ABOUT})
          EXPECT_TRUE(widgets::MenuHasCommand(bar, id)) << id;
        HMENU system = GetSystemMenu(h.Window(), FALSE);
        EXPECT_EQ(widgets::MenuItemText(system, IDM_ABOUTBOX), "&About Quorvex...");
        EXPECT_NE(SendMessageA(h.Window(), WM_GETICON, ICON_BIG, 0), 0);
        EXPECT_NE(SendMessageA(h.Window(), WM_GETICON, ICON_SMALL, 0), 0);
        char caption[64];
        GetWindowTextA(h.Window(), caption, sizeof caption);
        EXPECT_STREQ(caption, "Quorvex");
        char className[64];
        GetClassNameA(h.Window(), className, sizeof className);
        EXPECT_STREQ(className, QV_AGENT_WINDOW_CLASS) << "other processes find it by class";
        EXPECT_TRUE(h.Dialog().TrayIconShown());
      });
    });
  }
}

TEST(MainWindow, TextsComeFromTheLanguageAndTheToggleFollowsTheSystem) {
  GenerationScope generation(qv::kWinXP);
  MainWindowHarness h;
  Record().translate = true;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] {
      std::vector<std::string> names = h.Dialog().Frame().TreeTexts();
      ASSERT_FALSE(names.empty());
      EXPECT_EQ(names[1], "<Wallpaper>");
      HMENU bar = GetMenu(h.Window());
      EXPECT_EQ(widgets::MenuItemText(bar, 0, true), "<Setting>");
      EXPECT_EQ(widgets::MenuItemText(bar, ID_HELP_CONTENTS), "<Contents>");
      EXPECT_EQ(widgets::MenuItemText(bar, ID_CLOSE_CONFIGURE), "<Close Configure Window>");
    });
    for (bool active : {true, false}) {
      h.OnUi([&] {
        Record().screenSaverActive = active;
        HMENU tray = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAYMENU));
        HMENU popup = GetSubMenu(tray, 0);
        SendMessageA(h.Window(), QV_MSG_TRANSLATE_MENU, reinterpret_cast<WPARAM>(popup), 0);
        EXPECT_EQ(widgets::MenuItemText(popup, ID_HELP_CONTENTS), "<Help>");
        EXPECT_EQ(widgets::MenuItemText(popup, ID_CONFIGURE), "<Configure>");
        EXPECT_EQ(widgets::MenuItemText(popup, ID_TOGGLE_SCREENSAVER),
                  active ? "<Disable Screen Saver>" : "<Enable Screen Saver>");
        DestroyMenu(tray);
      });
    }
    // The language changes: everything is translated again.
    h.OnUi([&] {
      Record().translate = false;
      SetWindowTextA(GetDlgItem(h.Window(), IDC_PAGE_CAPTION), "stale");
      Record().translate = true;
      SendMessageA(h.Window(), QV_MSG_LANGUAGE_CHANGED, 0, 0);
      EXPECT_EQ(h.Dialog().Frame().CaptionText(), "<Boot Screen>");
    });
  });
}

TEST(MainWindow, TheWindowNeverShrinksBelowTheMinimumAndEscapeDoesNotEndIt) {
  MainWindowHarness h;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] {
      RECT r;
      GetWindowRect(h.Window(), &r);
      EXPECT_GE(r.right - r.left, 658) << "as it first shows";
      EXPECT_GE(r.bottom - r.top, 480);
      SetWindowPos(h.Window(), nullptr, 0, 0, 100, 100, SWP_NOMOVE | SWP_NOZORDER);
      GetWindowRect(h.Window(), &r);
      EXPECT_GE(r.right - r.left, 658);
      EXPECT_GE(r.bottom - r.top, 480);
      SetWindowPos(h.Window(), nullptr, 0, 0, 800, 600, SWP_NOMOVE | SWP_NOZORDER);
      GetWindowRect(h.Window(), &r);
      EXPECT_EQ(r.right - r.left, 800);
    });
    h.OnUi([&] {
      HWND tree = GetDlgItem(h.Window(), IDC_PAGE_TREE);
      SetFocus(tree);
      PostMessageA(tree, WM_KEYDOWN, VK_ESCAPE, 0);
      PostMessageA(tree, WM_KEYUP, VK_ESCAPE, 0);
      PostMessageA(h.Window(), WM_COMMAND, IDCANCEL, 0);
    });
    h.Wait(300);
    EXPECT_FALSE(h.Ended());
    h.OnUi([&] { EXPECT_TRUE(IsWindowVisible(h.Window())); });
  });
}

TEST(MainWindow, TheWallpaperTimerRunsOnlyWhileTheWindowIsClosed) {
  GenerationScope generation(qv::kWinXP);
  MainWindowHarness h;
  AddPictures(h.settings.wallpaper, "timer", 3);
  h.settings.wallpaper.changeMode = qv::kModeUseTimer;
  h.settings.wallpaper.timerUnit = qv::kUnitSeconds;
  h.settings.wallpaper.interval = 1;
  h.settings.agentEnabled = 1;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] { SendMessageA(h.Window(), WM_CLOSE, 0, 0); });
    h.OnUi([&] { EXPECT_FALSE(IsWindowVisible(h.Window())) << "closed, the agent stays"; });
    EXPECT_TRUE(h.WaitFor([] { return Record().wallpapers.size() >= 2; }, 5000));
    std::size_t whileOpen = 0;
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_CONFIGURE, 0);
      EXPECT_TRUE(IsWindowVisible(h.Window()));
      whileOpen = Record().wallpapers.size();
    });
    h.Wait(2500);
    h.OnUi([&] {
      EXPECT_EQ(Record().wallpapers.size(), whileOpen) << "no change while configuring";
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(h.WaitFor([&] { return Record().wallpapers.size() >= whileOpen + 2; }, 5000));
  });
}

TEST(MainWindow, TheUnitDaysStartsNoTimer) {
  MainWindowHarness h;
  AddPictures(h.settings.wallpaper, "days", 2);
  h.settings.wallpaper.changeMode = qv::kModeUseTimer;
  h.settings.wallpaper.timerUnit = qv::kUnitDays;
  h.settings.wallpaper.interval = 1;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] { SendMessageA(h.Window(), WM_CLOSE, 0, 0); });
    h.Wait(2500);
    h.OnUi([&] { EXPECT_TRUE(Record().wallpapers.empty()); });
  });
}

TEST(MainWindow, NextWallpaperWithNothingToShowOpensTheWallpaperPage) {
  struct Row {
    int pictures;
    bool folderOnly;  // a folder item that holds no pictures
    const char* message;
  } rows[] = {{0, false, "0012"}, {0, true, "0013"}, {2, false, nullptr}};
  for (const Row& r : rows) {
    MainWindowHarness h;
    AddPictures(h.settings.wallpaper, "step", r.pictures);
    if (r.folderOnly) {
      qv::SetupItem folder;
      folder.path = qvtest::TempFolder("empty-folder");
      folder.isFolder = 1;
      h.settings.wallpaper.items.push_back(folder);
    }
    h.Run(false, [&](MainWindowHarness& h) {
      h.OnUi([&] {
        SendMessageA(h.Window(), WM_CLOSE, 0, 0);
        ASSERT_FALSE(IsWindowVisible(h.Window()));
        SendMessageA(h.Window(), WM_HOTKEY, HOTKEY_NEXT_WALLPAPER, 0);
        if (r.message) {
          ASSERT_EQ(Record().messages.size(), 1u);
          EXPECT_EQ(Record().messages[0], r.message);
          EXPECT_TRUE(IsWindowVisible(h.Window()));
          EXPECT_EQ(h.Dialog().Frame().Selected(), qv::PageKind::Wallpaper);
          EXPECT_TRUE(Record().wallpapers.empty());
        } else {
          EXPECT_TRUE(Record().messages.empty());
          EXPECT_FALSE(IsWindowVisible(h.Window()));
          ASSERT_EQ(Record().wallpapers.size(), 1u);
          SendMessageA(h.Window(), WM_HOTKEY, HOTKEY_NEXT_WALLPAPER, 0);
          SendMessageA(h.Window(), WM_HOTKEY, HOTKEY_PREVIOUS_WALLPAPER, 0);
          ASSERT_EQ(Record().wallpapers.size(), 3u);
          EXPECT_NE(Record().wallpapers[0], Record().wallpapers[1]);
          EXPECT_EQ(Record().wallpapers[0], Record().wallpapers[2]) << "previous goes back";
        }
      });
    });
  }
}

TEST(MainWindow, HelpOpensTheContentsOrTheShownPagesTopicAndSetupBootIniRunsTheSetup) {
  MainWindowHarness h;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_HELP_CONTENTS, 0);
      SendMessageA(h.Window(), WM_COMMAND, ID_PREFERENCES, 0);
      SendMessageA(h.Window(), WM_HELP, 0, 0);
      SendMessageA(h.Window(), WM_COMMAND, ID_ABOUT, 0);
      SendMessageA(h.Window(), WM_HELP, 0, 0);
      EXPECT_EQ(Record().helpTopics,
                (std::vector<std::string>{"<contents>", "preferences.htm", "<contents>"}));
      SendMessageA(h.Window(), WM_COMMAND, ID_SETUP_BOOTINI, 0);
      // The test prefix reports Windows XP, where the command runs the setup.
      EXPECT_EQ(Record().bootIniSetups, qv::WindowsGeneration == qv::kWinXP ? 1 : 0);
    });
  });
  EXPECT_STREQ(qv::PageHelpTopic(qv::PageKind::Wallpaper), "wallpaper_changer.htm");
  EXPECT_STREQ(qv::PageHelpTopic(qv::PageKind::BootScreen), "boot_screen_changer.htm");
}

TEST(MainWindow, SkinCommandsUseTheirOwnListAndMessage) {
  MainWindowHarness h;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      SendMessageA(h.Window(), WM_COMMAND, ID_NEXT_IESKIN, 0);
      ASSERT_EQ(Record().messages.size(), 1u);
      EXPECT_EQ(Record().messages[0], "0014");
      EXPECT_EQ(h.Dialog().Frame().Selected(), qv::PageKind::IESkin);
    });
  });
}

TEST(MainWindow, AFolderChangeBurstEmptiesTheFlatListsOnceAfterTheQuietPeriod) {
  MainWindowHarness h;
  h.timings.folderQuiet = 600;
  h.Run(false, [&](MainWindowHarness& h) {
    auto fill = [&] {
      h.OnUi([&] {
        h.settings.wallpaper.flatList = {"a", "b"};
        h.settings.ieSkin.flatList = {"c"};
        h.settings.bootScreen.flatList = {"d"};
      });
    };
    fill();
    for (int i = 0; i < 10; ++i) {
      h.OnUi([&] { PostMessageA(h.Window(), QV_MSG_FOLDER_CHANGED, 1, 0); });
      h.Wait(100);
    }
    h.OnUi([&] { EXPECT_EQ(h.settings.wallpaper.flatList.size(), 2u) << "still in the burst"; });
    EXPECT_TRUE(h.WaitFor([&] {
      return h.settings.wallpaper.flatList.empty() && h.settings.ieSkin.flatList.empty() &&
             h.settings.bootScreen.flatList.empty();
    }, 3000));
    fill();
    h.Wait(1500);
    h.OnUi([&] { EXPECT_EQ(h.settings.wallpaper.flatList.size(), 2u) << "the timer stopped"; });
  });
}

TEST(MainWindow, CopiesIntoAWatchedFolderEmptyTheFlatLists) {
  MainWindowHarness h;
  h.timings.folderQuiet = 800;
  std::string folder = qvtest::TempFolder("watched");
  qvtest::TouchFile(folder, "first.jpg");
  qv::SetupItem item;
  item.path = folder;
  item.isFolder = 1;
  h.settings.wallpaper.items.push_back(item);
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      EXPECT_TRUE(h.Dialog().FolderWatch().IsRunning());
      ASSERT_EQ(h.Dialog().FolderWatch().Folders().size(), 1u);
      h.settings.wallpaper.RebuildFlatList();
      EXPECT_EQ(h.settings.wallpaper.flatList.size(), 1u);
    });
    h.Wait(300);
    for (int i = 0; i < 10; ++i) qvtest::TouchFile(folder, "copy" + std::to_string(i) + ".jpg");
    EXPECT_TRUE(h.WaitFor([&] { return h.settings.wallpaper.flatList.empty(); }, 5000));
  });
}

TEST(MainWindow, StartupModeGoesResidentWithoutShowingAndRunsTheChecks) {
  struct Row {
    bool reassertResult;
    int expectedChecks;
  } rows[] = {{false, 3}, {true, 1}};
  for (const Row& r : rows) {
    GenerationScope generation(qv::kWinXP);
    MainWindowHarness h;
    h.timings.wallpaperCheck = 100;
    h.timings.bootScreenCheck = 100;
    AddPictures(h.settings.wallpaper, "startup", 1);
    h.settings.hotkeys[qv::kNextWallpaper] = qv::HotkeySetting(VK_F9, qv::HotkeySetting::kControl);
    h.Run(true, [&](MainWindowHarness& h) {
      h.OnUi([&] { Record().reassertResult = r.reassertResult; });
      h.Wait(1200);
      h.OnUi([&] {
        EXPECT_FALSE(IsWindowVisible(h.Window()));
        EXPECT_EQ(Record().reassertCalls, r.expectedChecks);
        EXPECT_EQ(h.Dialog().BootScreenChecks(), 6) << "at most six boot screen checks";
        // The hotkey belongs to the agent now: nobody else can take it.
        EXPECT_FALSE(RegisterHotKey(nullptr, 77, MOD_CONTROL, VK_F9));
      });
    });
  }
}

TEST(MainWindow, TheBootScreenCheckReappliesAnOldKernelCopyOnce) {
  GenerationScope generation(qv::kWinXP);
  MainWindowHarness h;
  h.timings.bootScreenCheck = 100;
  AddPictures(h.settings.bootScreen, "boot", 1);
  h.settings.bootScreen.currentPath = h.settings.bootScreen.items[0].path;
  std::string logo = qvtest::TouchFile(qvtest::TempFolder("kernel"), "QVLOGO.EXE");
  HANDLE file = CreateFileA(logo.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  t.QuadPart -= 10ULL * 60 * 10000000;  // ten minutes ago
  FILETIME old{t.LowPart, t.HighPart};
  SetFileTime(file, nullptr, nullptr, &old);
  CloseHandle(file);
  h.Run(true, [&](MainWindowHarness& h) {
    h.OnUi([&] { Record().qvLogoPath = logo; });
    h.Wait(1000);
    h.OnUi([&] {
      ASSERT_EQ(Record().bootScreens.size(), 1u);
      EXPECT_EQ(Record().bootScreens[0], h.settings.bootScreen.currentPath);
      EXPECT_EQ(h.Dialog().BootScreenChecks(), 1);
    });
  });
}

TEST(MainWindow, ExitAsksAndEndsOnlyOnYes) {
  for (int answer : {IDNO, IDYES}) {
    MainWindowHarness h;
    h.Run(false, [&](MainWindowHarness& h) {
      h.OnUi([&] {
        Record().messageAnswer = answer;
        PostMessageA(h.Window(), WM_COMMAND, ID_EXIT, 0);
      });
      EXPECT_EQ(h.WaitEnded(answer == IDYES ? 15000 : 1000), answer == IDYES);
      h.OnUi([&] {
        ASSERT_EQ(Record().messages.size(), 1u);
        EXPECT_EQ(Record().messages[0], "0005");
      });
    });
  }
}

BOOL CALLBACK AppendChildText(HWND child, LPARAM texts) {
  char text[256] = {};
  GetWindowTextA(child, text, sizeof text);
  reinterpret_cast<std::string*>(texts)->append(text).append("|");
  return TRUE;
}

// A language file without "0005" still gets the question, in the program's own words, and Exit
// still ends the program on Yes.
TEST(MainWindow, ExitAsksInTheBuiltInWordsWhenTheLanguageLacksTheQuestion) {
  for (int answer : {IDNO, IDYES}) {
    MainWindowHarness h;
    h.Run(false, [&](MainWindowHarness& h) {
      h.OnUi([&] {
        Record().messageAnswer = -1;  // as the language routine answers for a missing key
        PostMessageA(h.Window(), WM_COMMAND, ID_EXIT, 0);
      });
      HWND box = nullptr;
      for (DWORD start = GetTickCount(); !box && GetTickCount() - start < 15000; Sleep(100))
        for (HWND w : qvtest::TopLevelsOfClass("#32770", GetCurrentProcessId()))
          if (GetWindow(w, GW_OWNER) == h.Window() && IsWindowVisible(w)) box = w;
      ASSERT_NE(box, nullptr) << "the built-in question";
      std::string texts;
      EnumChildWindows(box, AppendChildText, reinterpret_cast<LPARAM>(&texts));
      EXPECT_NE(texts.find("Do you want to exit Quorvex?"), std::string::npos) << texts;
      PostMessageA(box, WM_COMMAND, answer, 0);
      EXPECT_EQ(h.WaitEnded(answer == IDYES ? 15000 : 1000), answer == IDYES);
    });
  }
}

TEST(MainWindow, ClosingWithTheAgentDisabledEndsAndSaves) {
  MainWindowHarness h;
  h.settings.agentEnabled = 0;
  DeleteFileA(h.settingsPath.c_str());
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] { PostMessageA(h.Window(), WM_CLOSE, 0, 0); });
    EXPECT_TRUE(h.WaitEnded(15000));
  });
  EXPECT_NE(GetFileAttributesA(h.settingsPath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(MainWindow, TheHookLibraryComesFromTheProgramFolderOnly) {
  MainWindowHarness h;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] { EXPECT_TRUE(h.Dialog().HookInstalled()) << "pv.dll beside the test program"; });
  });
  // A library of that name in the current folder is never taken for one that is missing.
  std::string planted = qvtest::TempFolder("planted");
  char self[MAX_PATH];
  GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string own(self);
  std::string besides = own.substr(0, own.find_last_of('\\') + 1);
  ASSERT_TRUE(CopyFileA((besides + "pv.dll").c_str(), (planted + "\\kz.dll").c_str(), FALSE));
  char previous[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, previous);
  SetCurrentDirectoryA(planted.c_str());
  EXPECT_EQ(qv::LoadProgramLibrary("kz.dll"), nullptr);
  qv::HookLibrary hook;
  EXPECT_FALSE(hook.Install("kz.dll")) << "a bare name is refused";
  EXPECT_FALSE(hook.Install(besides + "kz.dll"));
  EXPECT_EQ(GetModuleHandleA("kz.dll"), nullptr);
  SetCurrentDirectoryA(previous);
}

// A page over the wallpaper list that sets the interval from its "control" on commit.
class FakeWallpaperPage : public qv::ConfigPage, public widgets::Page {
 public:
  static bool refuse;
  static int editedInterval;
  bool Create(HWND parent, const qv::PVoptionData& live) override {
    working_.Assign(live.wallpaper);
    static qvtest::DialogTemplate dialogTemplate(WS_CHILD, 100, 100);
    return CreateIndirect(GetModuleHandleA(nullptr), dialogTemplate.Get(), parent);
  }
  HWND Handle() const override { return widgets::Page::Handle(); }
  void Load() override {}
  bool Validate() override { return !refuse; }
  void Commit(qv::PVoptionData& live) override {
    working_.CopyRunState(live.wallpaper);
    working_.interval = editedInterval;
    live.wallpaper.Assign(working_);
  }
  void Localize() override {}

 private:
  qv::WallpaperSetupData working_;
};
bool FakeWallpaperPage::refuse = false;
int FakeWallpaperPage::editedInterval = 0;

// A page that edits nothing: committing it changes no list; it may refuse to validate.
class FakePlainPage : public qv::ConfigPage, public widgets::Page {
 public:
  static bool refuse;
  bool Create(HWND parent, const qv::PVoptionData&) override {
    static qvtest::DialogTemplate dialogTemplate(WS_CHILD, 100, 100);
    return CreateIndirect(GetModuleHandleA(nullptr), dialogTemplate.Get(), parent);
  }
  HWND Handle() const override { return widgets::Page::Handle(); }
  void Load() override {}
  bool Validate() override { return !refuse; }
  void Commit(qv::PVoptionData&) override {}
  void Localize() override {}
};
bool FakePlainPage::refuse = false;

std::unique_ptr<qv::ConfigPage> FakePages(qv::PageKind kind) {
  if (kind == qv::PageKind::Wallpaper) return std::make_unique<FakeWallpaperPage>();
  if (kind == qv::PageKind::ScreenSaver) return std::make_unique<FakePlainPage>();
  return nullptr;
}

TEST(MainWindow, ClosingAppliesOpenedPagesAndKeepsTheLiveRunState) {
  struct Row {
    bool refuse;
    bool staysShown;
  } rows[] = {{false, false}, {true, true}};
  for (const Row& r : rows) {
    MainWindowHarness h;
    h.pages = &FakePages;
    AddPictures(h.settings.wallpaper, "apply", 2);
    FakeWallpaperPage::refuse = r.refuse;
    FakeWallpaperPage::editedInterval = 7;
    h.Run(false, [&](MainWindowHarness& h) {
      h.OnUi([&] {
        SendMessageA(h.Window(), WM_COMMAND, ID_CONFIGURE, 0);
        EXPECT_FALSE(h.Dialog().Frame().HasWindow(qv::PageKind::Wallpaper));
        // The user opens the wallpaper page; meanwhile the live list moves on.
        widgets::TreeView tree(GetDlgItem(h.Window(), IDC_PAGE_TREE));
        tree.Select(tree.FindByValue(static_cast<LPARAM>(qv::PageKind::Wallpaper)));
        EXPECT_EQ(h.Dialog().Frame().Selected(), qv::PageKind::Wallpaper);
        EXPECT_TRUE(h.Dialog().Frame().HasWindow(qv::PageKind::Wallpaper));
        h.settings.wallpaper.currentIndex = 1;
        h.settings.wallpaper.flatList = {"x"};
        SendMessageA(h.Window(), WM_CLOSE, 0, 0);
        EXPECT_EQ(IsWindowVisible(h.Window()) != FALSE, r.staysShown);
        if (!r.refuse) {
          EXPECT_EQ(h.settings.wallpaper.interval, 7) << "the page's edit reached the live list";
          EXPECT_EQ(h.settings.wallpaper.currentIndex, 1) << "the live run state survived";
        } else {
          EXPECT_NE(h.settings.wallpaper.interval, 7);
        }
      });
    });
  }
}

// The resident agent of a start-up run never shows its window unless the user opens it, so it
// makes no page until then; a run that shows the window makes the first page at once.
TEST(MainWindow, AStartupRunMakesTheFirstPageOnlyWhenTheWindowOpens) {
  GenerationScope generation(qv::kWinNT4);  // no boot screen page: the wallpaper page is first
  for (bool startupRun : {true, false}) {
    MainWindowHarness h;
    h.pages = &FakePages;
    h.Run(startupRun, [&](MainWindowHarness& h) {
      h.Wait(300);
      h.OnUi([&] {
        EXPECT_EQ(IsWindowVisible(h.Window()) != FALSE, !startupRun);
        EXPECT_EQ(h.Dialog().Frame().Selected(), qv::PageKind::Wallpaper);
        EXPECT_EQ(h.Dialog().Frame().HasWindow(qv::PageKind::Wallpaper), !startupRun);
        widgets::TreeView tree(GetDlgItem(h.Window(), IDC_PAGE_TREE));
        EXPECT_EQ(tree.Selection(), tree.FindByValue(static_cast<LPARAM>(qv::PageKind::Wallpaper)))
            << "the tree shows the choice either way";
        SendMessageA(h.Window(), WM_COMMAND, ID_CONFIGURE, 0);
        EXPECT_TRUE(IsWindowVisible(h.Window()));
        EXPECT_TRUE(h.Dialog().Frame().HasWindow(qv::PageKind::Wallpaper));
        EXPECT_EQ(h.Dialog().Frame().CaptionText(), "Wallpaper");
      });
    });
  }
}

// The screen saver page comes after the wallpaper page in the apply order: its refusal must
// leave the wallpaper list, whose page agreed, as it was.
TEST(MainWindow, ALaterPageRefusingLeavesEveryLiveListUnchanged) {
  MainWindowHarness h;
  h.pages = &FakePages;
  AddPictures(h.settings.wallpaper, "refuse", 2);
  h.settings.wallpaper.interval = 3;
  FakeWallpaperPage::refuse = false;
  FakeWallpaperPage::editedInterval = 9;
  FakePlainPage::refuse = true;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_CONFIGURE, 0);
      widgets::TreeView tree(GetDlgItem(h.Window(), IDC_PAGE_TREE));
      for (qv::PageKind kind : {qv::PageKind::Wallpaper, qv::PageKind::ScreenSaver})
        tree.Select(tree.FindByValue(static_cast<LPARAM>(kind)));
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      EXPECT_TRUE(IsWindowVisible(h.Window())) << "the refusal keeps the window shown";
      EXPECT_EQ(h.settings.wallpaper.interval, 3) << "no page committed";
      FakePlainPage::refuse = false;
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      EXPECT_EQ(h.settings.wallpaper.interval, 9);
    });
  });
  FakePlainPage::refuse = false;
}

TEST(MainWindow, ApplyingTheScreenSaverPageMakesAZeroWaitFiveMinutesInTheListToo) {
  MainWindowHarness h;
  h.pages = &FakePages;
  h.settings.screenSaver.timeoutMinutes = 0;
  Record().timeouts.clear();
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] {
      SendMessageA(h.Window(), WM_COMMAND, ID_CONFIGURE, 0);
      widgets::TreeView tree(GetDlgItem(h.Window(), IDC_PAGE_TREE));
      tree.Select(tree.FindByValue(static_cast<LPARAM>(qv::PageKind::ScreenSaver)));
      ASSERT_TRUE(h.Dialog().Frame().HasWindow(qv::PageKind::ScreenSaver));
      SendMessageA(h.Window(), WM_CLOSE, 0, 0);
      EXPECT_EQ(h.settings.screenSaver.timeoutMinutes, 5);
      EXPECT_EQ(Record().timeouts, std::vector<int>{5});
    });
  });
}

}  // namespace

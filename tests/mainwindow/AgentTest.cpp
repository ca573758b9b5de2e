// The resident agent with its tray menu open, and the program's own services table.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "boot/ModifyBootScreen.h"
#include "changers/ModifyLogonScreen.h"
#include "core/ShowMessage.h"
#include "core/mainwindow/MainWindowRes.h"
#include "core/mainwindow/MainWindowServices.h"
#include "i18n/LanguageManager.h"
#include "platform/PrivateMessages.h"
#include "platform/SystemFunctions.h"
#include "tests/mainwindow/MainWindowHarness.h"
#include "tests/support/LogCapture.h"
#include "widgets/Menu.h"

namespace {

using qvtest::MainWindowHarness;

// The visible pop-up menu window of any thread, or nullptr once ms have passed.
HWND WaitForOpenMenu(DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start <= ms; Sleep(25)) {
    HWND menu = FindWindowA("#32768", nullptr);
    if (menu && IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

void OpenTrayMenu(HWND window) {
  PostMessageA(window, QV_MSG_TRAY_NOTIFY, IDR_TRAYMENU, WM_RBUTTONUP);
}

// With EndMenu, and without it as on NT 4.0, where the menu's owner is told to cancel its mode.
TEST(Agent, EndingTheAgentWhileItsTrayMenuIsOpenEndsTheWindow) {
  for (bool withoutEndMenu : {false, true}) {
    SCOPED_TRACE(withoutEndMenu ? "without EndMenu" : "with EndMenu");
    platform::SetSystemFunctionMissing(platform::SystemFunction::kEndMenu, withoutEndMenu);
    MainWindowHarness h;
    h.settings.agentEnabled = 1;
    h.Run(false, [&](MainWindowHarness& h) {
      h.OnUi([&] { SendMessageA(h.Window(), WM_CLOSE, 0, 0); });
      OpenTrayMenu(h.Window());
      ASSERT_NE(WaitForOpenMenu(5000), nullptr) << "the right button opens the tray menu";
      PostMessageA(h.Window(), QV_MSG_QUIT_AGENT, 0, 0);
      bool ended = h.WaitEnded(5000);
      EXPECT_TRUE(ended) << "the open menu kept the agent alive";
      // Without the end the menu still runs on the window's thread: close it so the run can end.
      if (!ended) h.OnUi([] { EndMenu(); });
    });
    EXPECT_EQ(WaitForOpenMenu(0), nullptr);
  }
  platform::SetSystemFunctionMissing(platform::SystemFunction::kEndMenu, false);
}

TEST(Agent, TheOpenTrayMenuShowsTheTextsOfTheLoadedLanguage) {
  std::string file = qvtest::TempFolder("language") + "\\test.lng";
  {
    std::ofstream out(file, std::ios::binary);
    out << "[info]\r\nlang name=Testish\r\nauthor=t\r\nversion=1\r\nqv ver=1.04\r\n\r\n"
           "[Menu]\r\nConfigure=Einrichten\r\nNext Wallpaper=Naechstes Bild\r\n"
           "Disable Screen Saver=Schoner aus\r\nEnable Screen Saver=Schoner an\r\n"
           "Exit=Beenden\r\n";
  }
  ASSERT_TRUE(qv::Languages().LoadLanguage(file));
  MainWindowHarness h;
  h.programTexts = true;
  h.Run(false, [&](MainWindowHarness& h) {
    h.OnUi([&] { SendMessageA(h.Window(), WM_CLOSE, 0, 0); });
    OpenTrayMenu(h.Window());
    HWND menuWindow = WaitForOpenMenu(5000);
    ASSERT_NE(menuWindow, nullptr);
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(menuWindow, MN_GETHMENU, 0, 0));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(widgets::MenuItemText(menu, ID_CONFIGURE), "Einrichten");
    EXPECT_EQ(widgets::MenuItemText(menu, ID_NEXT_WALLPAPER), "Naechstes Bild");
    EXPECT_EQ(widgets::MenuItemText(menu, ID_EXIT), "Beenden");
    EXPECT_EQ(GetMenuDefaultItem(menu, FALSE, 0), static_cast<UINT>(ID_CONFIGURE));
    // Keys the language leaves out keep the resource's text.
    EXPECT_EQ(widgets::MenuItemText(menu, ID_PREVIOUS_WALLPAPER), "Previous Wallpaper");
    // The harness reports the screen saver as off: the item offers to switch it on.
    EXPECT_EQ(widgets::MenuItemText(menu, ID_TOGGLE_SCREENSAVER), "Schoner an");
    h.OnUi([] { EndMenu(); });
  });
}

TEST(Agent, TheProgramsServicesReachTheLanguageTheMessagesAndThePatchedFiles) {
  std::string file = qvtest::TempFolder("language") + "\\services.lng";
  {
    std::ofstream out(file, std::ios::binary);
    out << "[info]\r\nlang name=Services\r\n\r\n[Menu]\r\nExit=Quit now\r\n";
  }
  ASSERT_TRUE(qv::Languages().LoadLanguage(file));
  qv::MainWindowServices s = qv::ProgramMainWindowServices();
  std::string text;
  ASSERT_TRUE(s.lookup("menu", "EXIT", &text));
  EXPECT_EQ(text, "Quit now");
  EXPECT_FALSE(s.lookup("Menu", "Not there", &text));
  // The message routine is the real one: a key the language lacks is reported as not shown.
  EXPECT_EQ(s.showMessage("9999", MB_OK), -1);
  HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                               nullptr);
  s.setMessageOwner(owner);
  EXPECT_EQ(qv::MessageOwner(), owner);
  s.setMessageOwner(nullptr);
  EXPECT_EQ(qv::MessageOwner(), nullptr);
  DestroyWindow(owner);
  EXPECT_EQ(s.bootLogoPath(), qv::LogoSysPath());
  EXPECT_EQ(s.qvLogoPath(), qv::KernelCopyPath());
  EXPECT_EQ(s.qvUiHostPath(), qv::LogonCopyPath());
  EXPECT_NE(s.qvUiHostPath().find("QVUIHOST.EXE"), std::string::npos);
}

// Without a module behind it, every entry still answers: it logs what is missing and fails.
TEST(Agent, TheDefaultServicesFailAndLogInsteadOfBeingEmpty) {
  qv::MainWindowServices s = qv::DefaultMainWindowServices();
  qvtest::LogCapture log;
  std::string text = "kept";
  EXPECT_FALSE(s.lookup("Menu", "Exit", &text));
  EXPECT_EQ(text, "kept");
  EXPECT_EQ(s.showMessage("0005", MB_YESNO), -1);
  EXPECT_FALSE(s.reassertWallpaper(1));
  EXPECT_FALSE(s.screenSaverActive());
  EXPECT_EQ(s.bootLogoPath(), "");
  EXPECT_EQ(s.qvLogoPath(), "");
  EXPECT_EQ(s.qvUiHostPath(), "");
  s.setMessageOwner(nullptr);
  s.toggleScreenSaverActive();
  s.startScreenSaverNow(nullptr, false);
  s.setScreenSaverTimeout(5);
  s.setupBootIni(nullptr);
  s.openHelp(nullptr, nullptr);
  s.openHomePage(nullptr);
  s.startUpdateChecks(nullptr, 0);
  s.retryUpdateCheck(nullptr);
  s.retrySiteList(nullptr, 0);
  s.showNewVersion(nullptr, "text");
  s.endUpdateChecks();
  s.releaseImageInfo();
  EXPECT_EQ(log.lines().size(), 20u) << "each of the 20 entries says what is missing";
}

}  // namespace

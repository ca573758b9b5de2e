// The screen saver page through its real controls under Wine, with the stand-in screen savers of
// the test build: the "each run" mode, drops and the file dialog, "Preview" and "Settings"
// starting the program, "Set As Current" through the list's own apply, the waiting time taken
// from the system and checked, and the two views.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "core/app/ProgramChangers.h"
#include "pages/PagesRes.h"
#include "pages/ScreenSaverPage.h"
#include "tests/pages/PageTestSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::Page;
using HostedSaverPage = qvtest::HostedPage<qv::ScreenSaverPage>;

// The command line a stand-in screen saver was started with, waiting up to ten seconds for it.
std::string StartedWith(const std::string& saver) {
  for (int i = 0; i < 100; ++i) {
    std::ifstream in(saver + ".args", std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!text.empty()) return text;
    Sleep(100);
  }
  return std::string();
}

std::string DesktopText(const char* name) {
  char text[MAX_PATH] = "";
  DWORD size = sizeof text;
  if (RegGetValueA(HKEY_CURRENT_USER, "Control Panel\\desktop", name, RRF_RT_REG_SZ, nullptr, text,
                   &size) != ERROR_SUCCESS)
    return "(none)";
  return text;
}

std::string SystemIniSaver() {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  char text[MAX_PATH] = {};
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "(none)", text, MAX_PATH,
                           (std::string(windows) + "\\SYSTEM.INI").c_str());
  return text;
}

void SetSystemTimeout(UINT seconds) { SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, seconds, nullptr, 0); }

class ScreenSaverPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(qvtest::LoadProgramLanguage("qveng.lng"));
    qv::InstallProgramChangers();
    Page() = qvtest::PageRecord();
    live.screenSaver.items.clear();
    live.screenSaver.viewMode = 0;
    SetSystemTimeout(600);
    folder = qvtest::PageTempFolder("saver folder");
    saver = Install("qv_fake_saver_named.exe", "x.SCR");
  }
  std::string Install(const char* program, const char* name) const {
    const std::string path = folder + "\\" + name;
    EXPECT_TRUE(CopyFileA((qvtest::TestFolder() + "..\\changers\\" + program).c_str(), path.c_str(), FALSE))
        << program;
    return path;
  }
  qv::PVoptionData live;
  std::string folder, saver;
};

TEST_F(ScreenSaverPageTest, EachRunIsTheSixthEntryAndIsStoredAsSix) {
  live.screenSaver.changeMode = qv::kModeEachRun;
  HostedSaverPage host(live);
  widgets::ComboBox mode(GetDlgItem(host.Window(), IDC_CHANGE_MODE));
  ASSERT_EQ(mode.Count(), 6);
  EXPECT_EQ(mode.Selection(), 5);
  EXPECT_EQ(mode.ItemText(5), "each run");
  mode.Select(3);
  host.page().Commit(live);
  EXPECT_EQ(live.screenSaver.changeMode, qv::kModeEachWeek);
  mode.Select(5);
  host.page().Commit(live);
  EXPECT_EQ(live.screenSaver.changeMode, qv::kModeEachRun);
}

TEST_F(ScreenSaverPageTest, OnlyScreenSaverFilesAreAddedByDrops) {
  HostedSaverPage host(live);
  const std::string text = folder + "\\readme.txt";
  std::ofstream(text) << "not a saver";
  const std::string sub = folder + "\\inner.scr";
  CreateDirectoryA(sub.c_str(), nullptr);
  host.Drop({text, sub, folder});
  EXPECT_EQ(host.List().Count(), 0);
  host.Drop({saver});
  ASSERT_EQ(host.List().Count(), 1);
  EXPECT_EQ(host.List().Text(0, 0), "Quorvex Test Saver") << "string 1 of the program names it";
  EXPECT_EQ(host.List().Text(0, 1), folder);
  // The file dialog takes what it is given, named by the file when string 1 is empty.
  Page().files = {Install("qv_fake_saver_blank.exe", "My.Saver.scr")};
  host.Command(IDC_ADD);
  ASSERT_EQ(host.List().Count(), 2);
  EXPECT_EQ(host.List().Text(1, 0), "My.Saver");
  host.page().Commit(live);
  ASSERT_EQ(live.screenSaver.items.size(), 2u);
  EXPECT_EQ(live.screenSaver.items[0].path, saver);
  EXPECT_EQ(live.screenSaver.items[1].name, "My.Saver");
}

TEST_F(ScreenSaverPageTest, PreviewAndSettingsStartTheSelectedProgram) {
  HostedSaverPage host(live);
  const std::string spaced = Install("qv_fake_saver_plain.exe", "with space.scr");
  host.Drop({spaced});
  host.Command(IDC_PREVIEW);
  EXPECT_EQ(Page().messages, std::vector<std::string>{"0003"});
  host.SelectRows({true});
  host.Command(IDC_PREVIEW);
  const std::string preview = StartedWith(spaced);
  EXPECT_NE(preview.find("/P"), std::string::npos) << preview;
  DeleteFileA((spaced + ".args").c_str());
  host.Command(IDC_SETTINGS);
  EXPECT_EQ(StartedWith(spaced), "\"" + spaced + "\" /C");
  EXPECT_EQ(Page().previews, std::vector<std::string>{spaced});
}

TEST_F(ScreenSaverPageTest, SetAsCurrentNamesTheProgramWithThePagesWait) {
  HostedSaverPage host(live);
  host.Drop({saver});
  host.SelectRows({true});
  widgets::Window wait(GetDlgItem(host.Window(), IDC_SAVER_WAIT));
  wait.SetText("7");
  host.Command(IDC_SET_CURRENT);
  HostedSaverPage::Pump(200);
  char shortPath[MAX_PATH] = "";
  ASSERT_GT(GetShortPathNameA(saver.c_str(), shortPath, MAX_PATH), 0u);
  EXPECT_EQ(DesktopText("SCRNSAVE.EXE"), shortPath);
  EXPECT_EQ(SystemIniSaver(), shortPath);
  UINT seconds = 0;
  SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
  EXPECT_EQ(seconds, 420u);
  EXPECT_EQ(Page().messages, std::vector<std::string>{"0021"});
  wait.SetText("0");
  host.Command(ID_SET_CURRENT);
  EXPECT_EQ(Page().messages.back(), "range|1|100000");
}

TEST_F(ScreenSaverPageTest, TheWaitComesFromTheSystemAndIsChecked) {
  struct Case {
    UINT seconds;
    const char* shown;
  } cases[] = {{0, "5"}, {59, "5"}, {1200, "20"}, {1259, "20"}};
  for (const Case& c : cases) {
    SetSystemTimeout(c.seconds);
    HostedSaverPage host(live);
    EXPECT_EQ(widgets::Window(GetDlgItem(host.Window(), IDC_SAVER_WAIT)).Text(), c.shown) << c.seconds;
  }
  HostedSaverPage host(live);
  widgets::Window wait(GetDlgItem(host.Window(), IDC_SAVER_WAIT));
  for (const char* bad : {"0", "100001", ""}) {
    wait.SetText(bad);
    EXPECT_FALSE(host.page().Validate()) << bad;
  }
  EXPECT_EQ(Page().messages.back(), "range|1|100000");
  wait.SetText("100000");
  ASSERT_TRUE(host.page().Validate());
  host.page().Commit(live);
  EXPECT_EQ(live.screenSaver.timeoutMinutes, 100000);
}

TEST_F(ScreenSaverPageTest, ViewsSwitchAndAreRemembered) {
  HostedSaverPage host(live);
  const widgets::Window button(GetDlgItem(host.Window(), IDC_LIST_MODE));
  EXPECT_EQ(host.List().View(), static_cast<DWORD>(LVS_REPORT));
  EXPECT_EQ(host.List().ColumnWidth(0), 100) << "an empty list's columns";
  EXPECT_EQ(host.List().ColumnTitle(1), "Location");
  host.Command(ID_VIEW_THUMBNAILS);
  EXPECT_EQ(host.List().View(), static_cast<DWORD>(LVS_ICON));
  EXPECT_EQ(button.Text(), "Large Icons");
  host.page().Commit(live);
  EXPECT_EQ(live.screenSaver.viewMode, 1);
  host.Command(ID_VIEW_DETAILS);
  EXPECT_EQ(button.Text(), "Details");
  EXPECT_EQ(host.List().View(), static_cast<DWORD>(LVS_REPORT));
  HostedSaverPage again(live);
  EXPECT_EQ(again.List().View(), static_cast<DWORD>(LVS_ICON));
}

}  // namespace

// The program's start-up run and undo run under Wine, over a settings file prepared in the
// application-data folder of the test prefix.
#include <gtest/gtest.h>
#include <windows.h>

#include <ctime>
#include <string>

#include "core/PVoptionData.h"
#include "platform/Platform.h"
#include "platform/SafeFile.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::ChildProcess;

std::string SettingsPath() {
  return qv::SettingsFilePath(platform::AppDataFolder(), "Quorvex", qvtest::DistFolder() + "Quorvex.exe");
}

// A wallpaper list with one picture that does not exist (so its change fails) and a screen saver list
// in "each run", whose change is recorded whatever its changer says.
qv::PVoptionData PreparedSettings(int32_t agentEnabled) {
  qv::PVoptionData s;
  s.agentEnabled = agentEnabled;
  qv::SetupItem picture;
  picture.path = "C:\\pictures\\a.jpg";
  s.wallpaper.items = {picture};
  s.wallpaper.lastChangeTime = 1000;
  s.bootScreen.enabled = 0;
  s.logonScreen.enabled = 0;
  s.screenSaver.items = {{"Test", "C:\\none.scr"}};
  s.screenSaver.lastChangeTime = 1000;
  return s;
}

class WinSettingsRun : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = SettingsPath();
    ASSERT_NE(path_.find("\\Quorvex\\qv.dat"), std::string::npos) << path_;
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }

  // A running agent may be replacing the file just then (for a moment it is missing or short):
  // read until it loads, for 5 seconds at most.
  qv::PVoptionData ReadBack() {
    const DWORD start = GetTickCount();
    for (;;) {
      qv::PVoptionData s;
      std::string bytes;
      bool read = platform::ReadFileBytes(path_, bytes);
      bool loaded = read && s.LoadFromBytes(bytes.data(), bytes.size());
      if (loaded || GetTickCount() - start >= 5000) {
        EXPECT_TRUE(read) << path_;
        EXPECT_TRUE(loaded) << path_;
        return s;
      }
      Sleep(50);
    }
  }

  std::string path_;
};

TEST_F(WinSettingsRun, StartupRunWithTheAgentOffWritesTheFileAndEnds) {
  const std::string prepared = PreparedSettings(0).SaveToBytes();
  ASSERT_TRUE(platform::ReplaceFileContent(path_, prepared, std::string()));
  const long long before = static_cast<long long>(std::time(nullptr));

  ChildProcess run;
  ASSERT_TRUE(run.Start(qvtest::DistFolder() + "Quorvex.exe", "-r"));
  ASSERT_TRUE(run.WaitForExit(60000)) << "the start-up run must end by itself";
  EXPECT_EQ(run.ExitCode(), 0u);
  EXPECT_EQ(qvtest::WaitForWindow("Quorvex", run.Id(), 0), nullptr);

  std::string written;
  ASSERT_TRUE(platform::ReadFileBytes(path_, written));
  EXPECT_NE(written, prepared);
  qv::PVoptionData s = ReadBack();
  EXPECT_EQ(s.agentEnabled, 0);
  EXPECT_EQ(s.screenSaver.currentIndex, 0);
  EXPECT_GE(s.screenSaver.lastChangeTime, before - 5);
  // The wallpaper's picture is not there: the list stays where it was.
  EXPECT_EQ(s.wallpaper.currentIndex, -1);
  EXPECT_EQ(s.wallpaper.lastChangeTime, 1000);
  ASSERT_EQ(s.wallpaper.items.size(), 1u);
  EXPECT_EQ(s.wallpaper.items[0].path, "C:\\pictures\\a.jpg");
}

TEST_F(WinSettingsRun, StartupRunWithTheAgentOnStaysUntilAnUndoRunEndsIt) {
  ASSERT_TRUE(platform::ReplaceFileContent(path_, PreparedSettings(1).SaveToBytes(), std::string()));
  ChildProcess agent;
  ASSERT_TRUE(agent.Start(qvtest::DistFolder() + "Quorvex.exe", "-r"));
  ASSERT_NE(qvtest::WaitForWindow("Quorvex", agent.Id(), 60000), nullptr);
  EXPECT_TRUE(agent.IsRunning());
  EXPECT_EQ(ReadBack().screenSaver.currentIndex, 0);  // saved before the window came

  ChildProcess undo;
  ASSERT_TRUE(undo.Start(qvtest::DistFolder() + "Quorvex.exe", "-u"));
  ASSERT_TRUE(undo.WaitForExit(60000));
  EXPECT_TRUE(agent.WaitForExit(30000)) << "message 2107 must end the running agent";
  EXPECT_EQ(ReadBack().agentEnabled, 1);  // the ending window saved the settings again
}

TEST_F(WinSettingsRun, AFileThatIsNotOursRunsTheWizardWhoseCancelLeavesTheDefaultsWhichTheWindowSaves) {
  ASSERT_TRUE(platform::ReplaceFileContent(path_, "not a settings file", std::string()));
  ChildProcess first;
  ASSERT_TRUE(first.Start(qvtest::DistFolder() + "Quorvex.exe"));
  // The first-start wizard: Cancel asks; No keeps it open, Yes leaves the defaults.
  HWND wizard = qvtest::WaitForWindow("Quorvex Quick Setup Wizard", first.Id(), 60000);
  ASSERT_NE(wizard, nullptr);
  for (int answer : {IDNO, IDYES}) {
    PostMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
    HWND question = qvtest::WaitForWindow("Quorvex", first.Id(), 30000);
    ASSERT_NE(question, nullptr) << "Cancel asks first";
    PostMessageA(question, WM_COMMAND, answer, 0);
    DWORD start = GetTickCount();
    while (IsWindow(question) && GetTickCount() - start < 10000) Sleep(50);
    if (answer == IDNO) {
      Sleep(500);
      EXPECT_TRUE(IsWindow(wizard) && IsWindowVisible(wizard)) << "No keeps the wizard open";
    }
  }
  ASSERT_NE(qvtest::WaitForWindow("Quorvex", first.Id(), 60000), nullptr);
  ChildProcess undo;
  ASSERT_TRUE(undo.Start(qvtest::DistFolder() + "Quorvex.exe", "-u"));
  ASSERT_TRUE(undo.WaitForExit(60000));
  ASSERT_TRUE(first.WaitForExit(30000));
  qv::PVoptionData s = ReadBack();
  EXPECT_EQ(s.agentEnabled, 1);
  EXPECT_EQ(s.wallpaper.interval, 5);  // the reset's every 5 minutes
  EXPECT_EQ(s.wallpaper.timerUnit, qv::kUnitMinutes);
  ASSERT_EQ(s.logonScreen.items.size(), 1u);
  EXPECT_EQ(s.logonScreen.items[0].path.substr(s.logonScreen.items[0].path.size() - 14),
            "\\web\\wallpaper");
}

}  // namespace

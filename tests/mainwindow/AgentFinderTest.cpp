// The processes that look for the agent (an undo run, a second start, the hook library's
// screen-saver notice) reach its main window even while one of its message boxes, with the same
// caption and above its owner, is open.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/ScreenSaverItemData.h"
#include "platform/Handles.h"
#include "tests/changers/WinChangerSupport.h"
#include "tests/mainwindow/AgentStarts.h"

namespace {

using qvtest::ChildProcess;

constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr UINT kNextWallpaper = 32789;

class AgentFinder : public qvtest::AgentStarts {
 protected:
  // Starts the agent hidden (start-up run) and opens one of its message boxes from the tray's
  // "Next Wallpaper" with the wallpaper list empty ("0012"); the box stays unanswered.
  void StartAgentWithMessageBox() {
    ChildProcess& agent = Start("-r");
    agent_ = WaitForMainWindow(agent.Id(), 60000);
    ASSERT_NE(agent_, nullptr);
    ASSERT_EQ(WaitForInputIdle(agent.Handle(), 30000), 0u);
    ASSERT_FALSE(IsWindowVisible(agent_));
    PostMessageA(agent_, WM_COMMAND, kNextWallpaper, 0);
    for (DWORD start = GetTickCount(); !box_ && GetTickCount() - start < 30000; Sleep(100))
      for (HWND box : qvtest::TopLevelsOfClass("#32770", agent.Id()))
        if (box != agent_ && IsWindowVisible(box)) box_ = box;
    ASSERT_NE(box_, nullptr) << "the message box";
    char caption[64] = {};
    GetWindowTextA(box_, caption, sizeof caption);
    ASSERT_STREQ(caption, QV_AGENT_WINDOW_CAPTION) << "the box shares the agent's caption";
    agentProcess_ = &agent;
  }

  HWND agent_ = nullptr;
  HWND box_ = nullptr;
  ChildProcess* agentProcess_ = nullptr;
};

TEST_F(AgentFinder, AnUndoRunEndsTheAgentWhileItsMessageBoxIsOpen) {
  ASSERT_NO_FATAL_FAILURE(StartAgentWithMessageBox());
  ChildProcess& undo = Start("-u");
  ASSERT_TRUE(undo.WaitForExit(60000));
  EXPECT_TRUE(agentProcess_->WaitForExit(30000)) << "message 2107 went to the message box";
}

TEST_F(AgentFinder, ASecondStartShowsTheConfigurationWindowWhileAMessageBoxIsOpen) {
  ASSERT_NO_FATAL_FAILURE(StartAgentWithMessageBox());
  ChildProcess& second = Start("");
  ASSERT_TRUE(second.WaitForExit(60000)) << "the second start ends by itself";
  EXPECT_TRUE(qvtest::WaitVisible(agent_, true, 15000)) << "\"Configure\" went to the message box";
  EXPECT_TRUE(IsWindowVisible(box_)) << "the box is still unanswered";
}

// Two screen savers in turn, each run: every notice of a started saver puts the next one in place
// five seconds later. The savers are copies of a test program under .scr names.
std::vector<qv::ScreenSaverItemData> TwoSavers() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::vector<qv::ScreenSaverItemData> savers;
  for (const char* name : {"qvone.scr", "qvtwo.scr"}) {
    std::string path = std::string(temp) + name;
    CopyFileA((qvtest::TestFolder() + "..\\changers\\qv_fake_saver_plain.exe").c_str(), path.c_str(),
              FALSE);
    savers.push_back({name, path});
  }
  return savers;
}

TEST_F(AgentFinder, TheHookLibrarysScreenSaverNoticeReachesTheAgentWhileItsMessageBoxIsOpen) {
  settings_.screenSaver.items = TwoSavers();
  settings_.screenSaver.changeMode = qv::kModeEachRun;
  settings_.screenSaver.order = qv::kOrderNormalize;
  for (const auto& saver : settings_.screenSaver.items)
    ASSERT_NE(GetFileAttributesA(saver.path.c_str()), INVALID_FILE_ATTRIBUTES) << saver.path;
  ASSERT_TRUE(qvtest::PlantAgentSettings(settings_));
  ASSERT_NO_FATAL_FAILURE(StartAgentWithMessageBox());
  const std::string before = qvtest::ReadUserValue(kDesktopKey, "SCRNSAVE.EXE").Text();
  ASSERT_FALSE(before.empty()) << "the start-up run put the first saver in place";

  // The hook library as it runs in any process that takes a screen-saver command from its queue.
  qv::ScopedLibrary library(LoadLibraryA((qvtest::DistFolder() + "pv.dll").c_str()));
  ASSERT_TRUE(library);
  using HookProc = LRESULT(CALLBACK*)(int, WPARAM, LPARAM);
  auto hook = reinterpret_cast<HookProc>(GetProcAddress(library.Get(), "HookGetMsgProc"));
  ASSERT_NE(hook, nullptr);
  MSG command{};
  command.message = WM_SYSCOMMAND;
  command.wParam = SC_SCREENSAVE;
  hook(HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(&command));

  std::string after = before;
  for (DWORD start = GetTickCount(); after == before && GetTickCount() - start < 30000; Sleep(250))
    after = qvtest::ReadUserValue(kDesktopKey, "SCRNSAVE.EXE").Text();
  EXPECT_NE(after, before) << "message 2106 went to the message box";
}

}  // namespace

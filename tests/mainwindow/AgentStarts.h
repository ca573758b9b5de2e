// Starts of the real program for the tests of the one resident agent: every process started is
// ended by the fixture (with the agent's quit message, or terminated), so none is left behind.
// The tests find the program's main window as no other process does: by its caption and its page
// tree, without the window class, so that they judge a build from before the class as well.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/AgentWindow.h"
#include "platform/PrivateMessages.h"
#include "tests/mainwindow/AgentSettings.h"
#include "tests/support/WinTestSupport.h"

namespace qvtest {

struct MainWindowSearch {
  DWORD pid;
  std::vector<HWND> found;
};

inline BOOL CALLBACK MatchMainWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<MainWindowSearch*>(param);
  char caption[64] = {};
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  GetWindowTextA(window, caption, sizeof caption);
  if ((search->pid == 0 || owner == search->pid) && lstrcmpA(caption, QV_AGENT_WINDOW_CAPTION) == 0 &&
      GetDlgItem(window, 1000))  // the page tree
    search->found.push_back(window);
  return TRUE;
}

// The program's main windows (of process pid; 0: of every process).
inline std::vector<HWND> MainWindows(DWORD pid = 0) {
  MainWindowSearch search{pid, {}};
  EnumWindows(MatchMainWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

class AgentStarts : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(MainWindows().empty()) << "an agent of an earlier test runs";
    ASSERT_TRUE(PlantAgentSettings(settings_));
  }
  void TearDown() override {
    for (HWND agent : MainWindows()) PostMessageA(agent, QV_MSG_QUIT_AGENT, 0, 0);
    for (auto& start : starts_)
      if (!start->WaitForExit(20000)) ADD_FAILURE() << "process " << start->Id() << " still ran";
    starts_.clear();  // ends whatever still runs
    DeleteFileA(AgentSettingsPath().c_str());
  }

  ChildProcess& Start(const std::string& arguments, bool suspended = false) {
    starts_.push_back(std::make_unique<ChildProcess>());
    EXPECT_TRUE(starts_.back()->Start(DistFolder() + "Quorvex.exe", arguments, suspended));
    return *starts_.back();
  }

  // The main window of process pid (0: of any), waited for up to ms.
  static HWND WaitForMainWindow(DWORD pid, DWORD ms) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < ms; Sleep(100)) {
      std::vector<HWND> found = MainWindows(pid);
      if (!found.empty()) return found.front();
    }
    return nullptr;
  }

  qv::PVoptionData settings_ = AgentSettings();
  std::vector<std::unique_ptr<ChildProcess>> starts_;
};

}  // namespace qvtest

// Many starts at once leave exactly one resident agent: the instance mutex is created and tested in
// one call, so no two starts close together both become the first.
#include <gtest/gtest.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/mainwindow/AgentStarts.h"

namespace {

using qvtest::ChildProcess;

constexpr char kTrayClass[] = "QuorvexTrayWindow";

// Every process of the program that still runs, of those started.
int Running(const std::vector<std::unique_ptr<ChildProcess>>& starts) {
  int running = 0;
  for (const auto& start : starts) running += start->IsRunning() ? 1 : 0;
  return running;
}

class AgentInstance : public qvtest::AgentStarts {
 protected:
  // Ten starts at once; waits until all but one have ended (generously: ten Wine processes start
  // slowly side by side) and checks that the one left is the only agent.
  void TenStartsLeaveOneAgent(const std::string& arguments) {
    // Made first and let go together, so that their starts overlap as closely as they can.
    for (int i = 0; i < 10; ++i) Start(arguments, true);
    for (auto& start : starts_) start->Resume();
    for (DWORD start = GetTickCount(); Running(starts_) > 1 && GetTickCount() - start < 150000;)
      Sleep(250);
    ASSERT_EQ(Running(starts_), 1) << "every start but one hands over and ends";
    HWND agent = WaitForMainWindow(0, 60000);
    ASSERT_NE(agent, nullptr);
    EXPECT_EQ(qvtest::MainWindows().size(), 1u);
    EXPECT_EQ(qvtest::TopLevelsOfClass(kTrayClass).size(), 1u) << "one tray icon";
    DWORD pid = 0;
    GetWindowThreadProcessId(agent, &pid);
    for (const auto& start : starts_) {
      if (start->IsRunning())
        EXPECT_EQ(start->Id(), pid) << "the process left is the agent";
      else
        EXPECT_EQ(start->ExitCode(), 0u) << "a second start ends normally";
    }
  }

};

TEST_F(AgentInstance, TenPlainStartsAtOnceLeaveOneAgent) { TenStartsLeaveOneAgent(""); }

TEST_F(AgentInstance, TenStartupRunsAtOnceLeaveOneAgent) { TenStartsLeaveOneAgent("-r"); }

}  // namespace

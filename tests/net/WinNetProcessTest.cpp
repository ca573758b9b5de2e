// The program's own process with the update check, against the loopback server around this
// test: nothing is requested while the preference is off, a newer version is announced by the
// agent and Yes opens the download page in the browser, and an undo run ends an agent whose
// check is held inside a request.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "tests/mainwindow/AgentSettings.h"
#include "tests/net/WinNetSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::ChildProcess;
using qvtest::ServedRequests;

constexpr char kBoxCaption[] = "New Quorvex Available";

std::string Program() { return qvtest::DistFolder() + "Quorvex.exe"; }

// The environment the agent inherits: where its web addresses point.
void PointAgentAt(const std::string& kase, const std::string& probeHost) {
  SetEnvironmentVariableA("QUORVEX_WEB_BASE", (qvtest::TestServer() + "/" + kase).c_str());
  SetEnvironmentVariableA("QUORVEX_PROBE_HOST", probeHost.c_str());
}

// The text of the static control of a message box (its id is 0xFFFF).
std::string BoxText(HWND box) {
  char text[512] = {};
  GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
  return text;
}

// The test prefix's browser for "http" addresses is the recorder beside this test while an object
// of this class lives; the prefix's own one comes back afterwards.
class BrowserScope {
 public:
  BrowserScope() {
    char old[1024] = {};
    LONG size = sizeof old;
    hadOld_ = RegQueryValueA(HKEY_CLASSES_ROOT, kKey, old, &size) == ERROR_SUCCESS;
    old_ = old;
    std::string command = "\"" + qvtest::TestFolder() + "qv_url_recorder.exe\" \"%1\"";
    set_ = RegSetValueA(HKEY_CLASSES_ROOT, kKey, REG_SZ, command.c_str(),
                        static_cast<DWORD>(command.size())) == ERROR_SUCCESS;
  }
  ~BrowserScope() {
    if (hadOld_)
      RegSetValueA(HKEY_CLASSES_ROOT, kKey, REG_SZ, old_.c_str(), static_cast<DWORD>(old_.size()));
  }
  bool Set() const { return set_; }

 private:
  static constexpr const char* kKey = "http\\shell\\open\\command";
  bool hadOld_ = false;
  bool set_ = false;
  std::string old_;
};

// The lines the browser stand-in wrote, once there are n of them (or after 30 s).
std::vector<std::string> RecordedLines(const std::string& path, std::size_t n) {
  std::vector<std::string> lines;
  for (DWORD start = GetTickCount(); lines.size() < n && GetTickCount() - start < 30000;) {
    Sleep(200);
    lines.clear();
    std::ifstream in(path);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
  }
  return lines;
}

// Wine's crash dialog of a process that died of an exception.
bool CrashDialogShown() { return FindWindowA(nullptr, "Program Error") != nullptr; }

class NetProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(qvtest::TestServer().empty()) << "run through tests/net/loopback-server.py";
    ASSERT_GE(ServedRequests(""), 0) << "the loopback server does not answer";
    ASSERT_EQ(FindWindowA(nullptr, "Quorvex"), nullptr) << "an agent of an earlier test runs";
  }
  void TearDown() override {
    DeleteFileA(qvtest::AgentSettingsPath().c_str());
    SetEnvironmentVariableA("QUORVEX_WEB_BASE", nullptr);
    SetEnvironmentVariableA("QUORVEX_PROBE_HOST", nullptr);
  }
  static void Plant(bool check) {
    qv::PVoptionData settings = qvtest::AgentSettings();
    settings.checkNewVersion = check ? 1 : 0;
    settings.siteListRefreshDay = 0;  // due at every start
    ASSERT_TRUE(qvtest::PlantAgentSettings(settings));
  }
  static void StartAgent(ChildProcess* agent) {
    ASSERT_TRUE(agent->Start(Program(), "-r"));
    ASSERT_NE(qvtest::WaitForWindow("Quorvex", agent->Id(), 60000), nullptr);
  }
  // Ends the agent through an undo run; returns the milliseconds from the undo run's end to the
  // agent's.
  static DWORD Undo(ChildProcess* agent) {
    ChildProcess undo;
    EXPECT_TRUE(undo.Start(Program(), "-u"));
    EXPECT_TRUE(undo.WaitForExit(60000));
    DWORD start = GetTickCount();
    EXPECT_TRUE(agent->WaitForExit(30000));
    return GetTickCount() - start;
  }
};

TEST_F(NetProcess, WithThePreferenceOffTheServerSeesNoRequestAtAll) {
  ASSERT_NO_FATAL_FAILURE(Plant(false));
  PointAgentAt("off", "127.0.0.1");
  ChildProcess agent;
  ASSERT_NO_FATAL_FAILURE(StartAgent(&agent));
  // Agent life: the start-up checks' first period and more; QV_AGENT_LIFE_MS makes it longer.
  char life[16] = {};
  DWORD ms = GetEnvironmentVariableA("QV_AGENT_LIFE_MS", life, sizeof life) ? atoi(life) : 15000;
  Sleep(ms);
  EXPECT_TRUE(agent.IsRunning());
  EXPECT_EQ(0, ServedRequests("off"));
  EXPECT_EQ(nullptr, qvtest::WaitForWindow(kBoxCaption, agent.Id(), 100));
  std::cout << "agent's end after the undo run: " << Undo(&agent) << " ms\n";
  EXPECT_EQ(0, ServedRequests("off"));
}

TEST_F(NetProcess, TheAgentAnnouncesANewerVersionAndYesOpensTheDownloadPageMaximised) {
  ASSERT_NO_FATAL_FAILURE(Plant(true));
  PointAgentAt("v10500", "127.0.0.1");
  std::string record = qvtest::TestFolder() + "url-record.txt";
  DeleteFileA(record.c_str());
  SetEnvironmentVariableA("QV_URL_RECORD", record.c_str());
  BrowserScope browser;
  ASSERT_TRUE(browser.Set());
  ChildProcess agent;
  ASSERT_NO_FATAL_FAILURE(StartAgent(&agent));
  HWND box = qvtest::WaitForWindow(kBoxCaption, agent.Id(), 30000);
  ASSERT_NE(box, nullptr) << "the what's-new message";
  EXPECT_EQ("Quorvex 1.05 is out.\r\nFaster rotation.", BoxText(box));
  // QV_BOX_HOLD_MS keeps the box up for a screenshot of the display.
  char hold[16] = {};
  if (GetEnvironmentVariableA("QV_BOX_HOLD_MS", hold, sizeof hold)) Sleep(atoi(hold));
  PostMessageA(box, WM_COMMAND, IDYES, 0);
  std::vector<std::string> recorded = RecordedLines(record, 1);
  ASSERT_EQ(1u, recorded.size()) << "the shell started no browser";
  EXPECT_EQ("3 \"" + qvtest::TestServer() + "/v10500/download.html#quorvex\"", recorded[0])
      << "the shell opens the download page with SW_SHOWMAXIMIZED (3)";
  // The Help menu's "Quorvex Homepage" takes the same road.
  PostMessageA(qvtest::WaitForWindow("Quorvex", agent.Id(), 1000), WM_COMMAND, 32796, 0);
  recorded = RecordedLines(record, 2);
  ASSERT_EQ(2u, recorded.size());
  EXPECT_EQ("3 \"" + qvtest::TestServer() + "/v10500/\"", recorded[1]);
  EXPECT_EQ(3, ServedRequests("v10500"))
      << "the version, the what's-new file and the site list (due at every start with day 0)";
  Undo(&agent);
  EXPECT_EQ(0u, agent.ExitCode());
}

TEST_F(NetProcess, AnUndoRunEndsTheAgentWithinSecondsWhileTheServerHoldsItsRequest) {
  ASSERT_NO_FATAL_FAILURE(Plant(true));
  PointAgentAt("slow", "127.0.0.1");
  int before = ServedRequests("slow");
  ChildProcess agent;
  ASSERT_NO_FATAL_FAILURE(StartAgent(&agent));
  for (DWORD start = GetTickCount(); ServedRequests("slow") < before + 2; Sleep(100))
    ASSERT_LT(GetTickCount() - start, 30000u) << "both checks reach the server and wait there";
  DWORD start = GetTickCount();
  DWORD ending = Undo(&agent);
  DWORD took = GetTickCount() - start;
  EXPECT_LT(ending, 5000u) << "the agent waited for the held requests";
  EXPECT_EQ(0u, agent.ExitCode()) << "ended normally, not by an exception";
  Sleep(1000);
  EXPECT_FALSE(CrashDialogShown());
  std::cout << "undo run start to agent's end: " << took << " ms, after the undo run's end: "
            << ending << " ms\n";
}

TEST_F(NetProcess, AnUnresolvableProbeHostGivesNoMessageAndNoRequest) {
  ASSERT_NO_FATAL_FAILURE(Plant(true));
  PointAgentAt("off", qvtest::UnresolvableHost());
  ChildProcess agent;
  ASSERT_NO_FATAL_FAILURE(StartAgent(&agent));
  EXPECT_EQ(nullptr, qvtest::WaitForWindow(kBoxCaption, agent.Id(), 5000));
  EXPECT_EQ(0, ServedRequests("off"));
  EXPECT_TRUE(agent.IsRunning()) << "the agent waits for its retry timers";
  Undo(&agent);
}

}  // namespace

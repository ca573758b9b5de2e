// The agent's quieter paths: the next screen saver after a run, the retry of a failed logon
// change, and the repair of a system file that went missing while the agent was away.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/ChangeLists.h"
#include "core/ListServices.h"
#include "core/WindowsGeneration.h"
#include "platform/PrivateMessages.h"
#include "tests/mainwindow/MainWindowHarness.h"

namespace {

using qvtest::MainWindowHarness;
using qvtest::Record;

struct Changes {
  std::vector<std::string> savers;
  std::vector<std::string> logons;
  int logonFailuresLeft = 0;
};
Changes& Seen() {
  static Changes changes;
  return changes;
}
bool Saver(const std::string& path, int) {
  Seen().savers.push_back(path);
  return true;
}
bool Logon(const std::string& path, int32_t) {
  Seen().logons.push_back(path);
  if (Seen().logonFailuresLeft == 0) return true;
  --Seen().logonFailuresLeft;
  return false;
}

// The harness's doubles plus the screen saver and logon changers of this file.
void UseChangeDoubles() {
  Seen() = Changes();
  qv::ListServices services = qv::Services();
  services.setScreenSaver = &Saver;
  services.modifyLogonScreen = &Logon;
  qv::SetServices(services);
}

struct GenerationScope {
  explicit GenerationScope(int g) : saved(qv::WindowsGeneration) { qv::WindowsGeneration = g; }
  ~GenerationScope() { qv::WindowsGeneration = saved; }
  int saved;
};

size_t SaverChanges(MainWindowHarness& h) {
  size_t n = 0;
  h.OnUi([&] { n = Seen().savers.size(); });
  return n;
}

TEST(AgentPaths, AScreenSaverRunBringsTheNextSaverOfAnEachRunListAfterItsDelay) {
  MainWindowHarness h;
  UseChangeDoubles();
  h.timings.screenSaverRun = 1500;
  qv::ScreenSaverSetupData& list = h.settings.screenSaver;
  list.items.clear();
  for (const char* name : {"C:\\savers\\a.scr", "C:\\savers\\b.scr"}) {
    qv::ScreenSaverItemData item;
    item.path = name;
    list.items.push_back(item);
  }
  list.enabled = 1;
  list.changeMode = qv::kModeEachRun;
  list.order = 0;  // in turn
  list.currentIndex = 0;
  h.Run(false, [&](MainWindowHarness& h) {
    const size_t before = SaverChanges(h);
    // What the hook library posts when a screen saver starts.
    PostMessageA(h.Window(), QV_MSG_SCREENSAVER_RUN, 0, 0);
    MainWindowHarness::Wait(500);
    EXPECT_EQ(SaverChanges(h), before) << "the next saver waits until the running one had its time";
    ASSERT_TRUE(h.WaitFor([&] { return Seen().savers.size() > before; }, 5000));
    h.OnUi([&] {
      EXPECT_EQ(Seen().savers.back(), "C:\\savers\\b.scr");
      EXPECT_EQ(h.settings.screenSaver.currentIndex, 1);
    });
    MainWindowHarness::Wait(2000);
    EXPECT_EQ(SaverChanges(h), before + 1) << "timer 1001 fires once per run";

    // Another mode ignores the runs.
    h.OnUi([&] { h.settings.screenSaver.changeMode = qv::kModeEachDay; });
    PostMessageA(h.Window(), QV_MSG_SCREENSAVER_RUN, 0, 0);
    MainWindowHarness::Wait(2500);
    EXPECT_EQ(SaverChanges(h), before + 1);
  });
}

// A logon list of one picture, changed at each start and retried 400 ms after a failure;
// lastApplyFailed as the last change left it.
qv::SetupItem OneLogonPictureToRetry(MainWindowHarness& h, int lastApplyFailed) {
  h.timings.logonRetry = 400;
  qv::LogonScreenSetupData& logon = h.settings.logonScreen;
  logon.items.clear();
  qv::SetupItem item;
  item.path = qvtest::TouchFile(qvtest::TempFolder("logons"), "logon.bmp");
  logon.items.push_back(item);
  logon.enabled = 1;
  logon.changeMode = qv::kModeEachStartup;
  logon.lastApplyFailed = lastApplyFailed;
  return item;
}

TEST(AgentPaths, AFailedLogonChangeIsRetriedByTimer1004UntilItWorks) {
  GenerationScope xp(qv::kWinXP);
  MainWindowHarness h;
  UseChangeDoubles();
  Seen().logonFailuresLeft = 1;  // the retry's first attempt fails too
  const qv::SetupItem item = OneLogonPictureToRetry(h, 1);
  h.Run(false, [&](MainWindowHarness& h) {
    ASSERT_TRUE(h.WaitFor([] { return Seen().logons.size() >= 2; }, 5000));
    h.OnUi([&] { EXPECT_EQ(h.settings.logonScreen.lastApplyFailed, 0); });
    size_t attempts = 0;
    h.OnUi([&] { attempts = Seen().logons.size(); });
    MainWindowHarness::Wait(1500);
    h.OnUi([&] {
      EXPECT_EQ(Seen().logons.size(), attempts) << "no retry after the change worked";
      EXPECT_EQ(Seen().logons.back(), item.path);
    });
  });
}

// A logon change that failed from the page reaches the settings on apply; the agent then retries
// it with timer 1004 as it retries one that failed at start-up.
TEST(AgentPaths, AFailedLogonChangeAppliedFromThePageIsRetriedByTimer1004) {
  GenerationScope xp(qv::kWinXP);
  MainWindowHarness h;
  UseChangeDoubles();
  const qv::SetupItem item = OneLogonPictureToRetry(h, 0);
  h.Run(false, [&](MainWindowHarness& h) {
    size_t before = 0;
    h.OnUi([&] {
      Record().qvUiHostPath = item.path;  // a logon program exists: the close itself changes nothing
      before = Seen().logons.size();
      // What the logon page's commit leaves after its "Set As Current" failed.
      h.settings.logonScreen.lastApplyFailed = 1;
      PostMessageA(h.Window(), WM_CLOSE, 0, 0);
    });
    EXPECT_TRUE(h.WaitFor([&] { return Seen().logons.size() > before; }, 5000)) << "no retry";
    h.OnUi([&] { EXPECT_EQ(h.settings.logonScreen.lastApplyFailed, 0); });
  });
}

TEST(AgentPaths, TheCloseWritesAMissingSystemFileAgainWhenItsListIsDue) {
  struct Case {
    int generation;
    bool kernelMissing, logonMissing, logoSysMissing;
    size_t bootChanges, logonChanges;
  } cases[] = {
      {qv::kWinXP, true, true, false, 1, 1},  {qv::kWinXP, false, false, false, 0, 0},
      {qv::kWinXP, false, true, false, 0, 1}, {qv::kWin2000, true, true, false, 1, 0},
      {qv::kWin98, true, false, true, 1, 0},  {qv::kWin98, true, false, false, 0, 0},
  };
  const std::string folder = qvtest::TempFolder("copies");
  const std::string present = qvtest::TouchFile(folder, "present.exe");
  const std::string gone = folder + "\\gone.exe";
  for (const Case& c : cases) {
    GenerationScope generation(c.generation);
    MainWindowHarness h;
    UseChangeDoubles();
    Record().qvLogoPath = c.kernelMissing ? gone : present;
    Record().qvUiHostPath = c.logonMissing ? gone : present;
    Record().bootLogoPath = c.logoSysMissing ? gone : present;
    qv::SetupItem picture;
    picture.path = qvtest::TouchFile(folder, "picture.bmp");
    for (qv::ImageSetupData* list : {static_cast<qv::ImageSetupData*>(&h.settings.bootScreen),
                                     static_cast<qv::ImageSetupData*>(&h.settings.logonScreen)}) {
      list->items = {picture};
      list->flatList.clear();
      list->enabled = 1;
      list->changeMode = qv::kModeEachStartup;
    }
    h.Run(false, [&](MainWindowHarness& h) {
      // The window's close makes the agent resident, and checks the system files on the way.
      h.OnUi([&] { EXPECT_TRUE(Record().bootScreens.empty() && Seen().logons.empty()); });
      PostMessageA(h.Window(), WM_CLOSE, 0, 0);
      h.WaitFor([&] { return !IsWindowVisible(h.Window()) && Record().bootScreens.size() >= c.bootChanges &&
                             Seen().logons.size() >= c.logonChanges; }, 3000);
      MainWindowHarness::Wait(200);
      h.OnUi([&] {
        EXPECT_EQ(Record().bootScreens.size(), c.bootChanges) << "generation " << c.generation;
        EXPECT_EQ(Seen().logons.size(), c.logonChanges) << "generation " << c.generation;
      });
    });
  }
}

}  // namespace

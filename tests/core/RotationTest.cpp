// Rotation over the flat list: order, the random pick, next and previous, failed applies, and what
// each kind's apply hands to its changer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/ChangeLists.h"
#include "tests/core/ListTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::FakeServices;

// An image list whose apply is scripted: it records the paths and answers from a list of results.
class ScriptedList final : public qv::ImageSetupData {
 public:
  void FillDefaultSiteLinks() override { siteLinks.clear(); }
  bool ApplyItem(const std::string& path) override {
    applied.push_back(path);
    indexDuringApply.push_back(currentIndex);
    if (results.empty()) return true;
    bool r = results.front();
    results.erase(results.begin());
    return r;
  }

  std::vector<std::string> applied;
  std::vector<int> indexDuringApply;
  std::vector<bool> results;
};

ScriptedList ListOfFiles(int n) {
  ScriptedList list;
  for (int i = 0; i < n; ++i) {
    qv::SetupItem item;
    item.path = "C:\\p\\" + std::to_string(i) + ".jpg";
    list.items.push_back(item);
  }
  list.changeMode = qv::kModeEachStartup;
  return list;
}

TEST(Rotation, SequentialOrderWrapsAfterTheLastEntry) {
  FakeServices services;
  ScriptedList list = ListOfFiles(3);
  std::vector<int> indexes;
  for (int i = 0; i < 5; ++i) {
    ASSERT_TRUE(list.ChangeIfDue());
    indexes.push_back(list.currentIndex);
  }
  EXPECT_EQ(indexes, (std::vector<int>{0, 1, 2, 0, 1}));
  EXPECT_EQ(list.applied.front(), "C:\\p\\0.jpg");
  EXPECT_EQ(list.flatList.size(), 3u);  // rebuilt once from the file items
  EXPECT_EQ(list.lastChangeTime, services.clock.now);
}

TEST(Rotation, SequentialOrderFromAnIndexOutsideTheListStartsAtZero) {
  FakeServices services;
  for (int start : {-7, 3, 99}) {
    ScriptedList list = ListOfFiles(3);
    list.currentIndex = start;
    ASSERT_TRUE(list.ChangeIfDue());
    EXPECT_EQ(list.currentIndex, 0) << start;
  }
}

TEST(Rotation, RandomOrderAvoidsRepeatingTheItemInEffect) {
  struct Row {
    const char* name;
    int size, old, pick, expected;
  } rows[] = {
      {"pick differs", 5, 1, 3, 3},
      {"pick equals old", 5, 2, 2, 3},
      {"pick equals old at the end wraps to the first", 5, 4, 4, 0},
      {"single entry applies it again", 1, 0, 0, 0},
  };
  for (const Row& r : rows) {
    FakeServices services;
    ScriptedList list = ListOfFiles(r.size);
    list.order = qv::kOrderRandomize;
    list.currentIndex = r.old;
    services.randomPicks = {r.pick};
    ASSERT_TRUE(list.ChangeIfDue()) << r.name;
    EXPECT_EQ(list.currentIndex, r.expected) << r.name;
    ASSERT_EQ(list.applied.size(), 1u) << r.name;
    EXPECT_EQ(services.randomRanges, std::vector<int>{r.size}) << r.name;
  }
}

TEST(Rotation, OnlyOrderOneIsRandom) {
  FakeServices services;
  ScriptedList list = ListOfFiles(4);
  list.order = 2;
  services.randomPicks = {3};
  ASSERT_TRUE(list.ChangeIfDue());
  EXPECT_EQ(list.currentIndex, 0);
  EXPECT_TRUE(services.randomRanges.empty());
}

TEST(Rotation, ChangeOnTimerKeepsARandomPickEqualToTheOldIndex) {
  FakeServices services;
  ScriptedList list = ListOfFiles(5);
  list.order = qv::kOrderRandomize;
  list.currentIndex = 2;
  list.changeMode = qv::kModeUseTimer;
  list.lastChangeTime = static_cast<int32_t>(services.clock.now);  // not due: the timer decides
  services.randomPicks = {2};
  list.ChangeOnTimer();
  EXPECT_EQ(list.currentIndex, 2);
  EXPECT_EQ(list.applied, std::vector<std::string>{"C:\\p\\2.jpg"});
}

TEST(Rotation, FailedApplyKeepsIndexAndTimeButTheApplySawTheNewIndex) {
  FakeServices services;
  ScriptedList list = ListOfFiles(3);
  list.currentIndex = 1;
  list.lastChangeTime = 1234;
  list.results = {false};
  EXPECT_FALSE(list.ChangeIfDue());
  EXPECT_EQ(list.currentIndex, 1);
  EXPECT_EQ(list.lastChangeTime, 1234);
  EXPECT_EQ(list.indexDuringApply, std::vector<int>{2});

  list.results = {false};
  list.ChangeOnTimer();
  EXPECT_EQ(list.currentIndex, 1);
  EXPECT_EQ(list.lastChangeTime, 1234);
}

TEST(Rotation, ChangeIfDueRefusesOrSkipsWithoutApplying) {
  struct Row {
    const char* name;
    int items, enabled, mode;
    bool result;
  } rows[] = {
      {"no items", 0, 1, 1, false},
      {"switched off", 3, 0, 1, false},
      {"mode disable", 3, 1, 0, false},
      {"not due", 3, 1, qv::kModeEachMonth, true},
  };
  for (const Row& r : rows) {
    FakeServices services;
    ScriptedList list = ListOfFiles(r.items);
    list.enabled = r.enabled;
    list.changeMode = r.mode;
    list.lastChangeTime = static_cast<int32_t>(services.clock.now);
    EXPECT_EQ(list.ChangeIfDue(), r.result) << r.name;
    EXPECT_TRUE(list.applied.empty()) << r.name;
    EXPECT_EQ(list.currentIndex, -1) << r.name;
    list.ChangeOnTimer();
    EXPECT_EQ(list.applied.empty(), r.items == 0 || r.enabled == 0 || r.mode == 0) << r.name;
  }
}

TEST(Rotation, FolderWithoutPicturesFailsAndChangesNothing) {
  FakeServices services;
  ScriptedList list;
  qv::SetupItem folder;
  folder.path = "/nonexistent-folder-for-quorvex-tests";
  folder.isFolder = 1;
  list.items.push_back(folder);
  list.lastChangeTime = 77;
  qvtest::LogCapture log;
  EXPECT_FALSE(list.ChangeIfDue());
  EXPECT_EQ(list.currentIndex, -1);
  EXPECT_EQ(list.lastChangeTime, 77);
  EXPECT_TRUE(list.applied.empty());
  EXPECT_FALSE(log.lines().empty());  // the folder that cannot be listed
}

TEST(Rotation, NextAndPreviousStepAndApplyWhateverTheSchedule) {
  struct Row {
    const char* name;
    int start;
    bool next;
    int expected;
  } rows[] = {
      {"next from none is the first", -1, true, 0},
      {"previous from none is the last", -1, false, 3},
      {"next wraps", 3, true, 0},
      {"previous wraps", 0, false, 3},
      {"next steps", 1, true, 2},
      {"previous steps", 2, false, 1},
  };
  for (const Row& r : rows) {
    FakeServices services;
    ScriptedList list = ListOfFiles(4);
    list.RebuildFlatList();
    list.enabled = 0;
    list.changeMode = qv::kModeDisable;
    list.currentIndex = r.start;
    list.lastChangeTime = 42;
    list.results = {false};  // the new index stays even when the apply fails
    EXPECT_FALSE(r.next ? list.NextItem() : list.PreviousItem()) << r.name;
    EXPECT_EQ(list.currentIndex, r.expected) << r.name;
    EXPECT_EQ(list.lastChangeTime, 42) << r.name;
    ASSERT_EQ(list.applied.size(), 1u) << r.name;
    EXPECT_EQ(list.applied[0], list.flatList[static_cast<std::size_t>(r.expected)]) << r.name;
  }
}

TEST(Rotation, NextOnAnEmptyFlatListLogsAndDoesNothing) {
  FakeServices services;
  ScriptedList list = ListOfFiles(2);
  qvtest::LogCapture log;
  EXPECT_FALSE(list.NextItem());
  EXPECT_FALSE(list.PreviousItem());
  EXPECT_TRUE(list.applied.empty());
  EXPECT_EQ(list.currentIndex, -1);
  ASSERT_EQ(log.lines().size(), 2u);
  EXPECT_NE(log.lines()[0].find("BaseSetupData.cpp"), std::string::npos);
}

TEST(KindApply, EachKindHandsItsItemToItsChanger) {
  FakeServices services;
  qv::BootScreenSetupData boot;
  EXPECT_TRUE(boot.ApplyItem("C:\\a.bmp"));
  EXPECT_EQ(boot.currentPath, "C:\\a.bmp");

  qv::WallpaperSetupData wallpaper;
  wallpaper.positionMode = qv::kPositionTile;
  EXPECT_TRUE(wallpaper.ApplyItem("C:\\w.jpg"));

  qv::IESkinSetupData skin;
  EXPECT_TRUE(skin.ApplyItem("C:\\s.gif"));

  qv::LogonScreenSetupData logon;
  logon.backgroundColour = 0x123456;
  services.changerResult = false;
  EXPECT_FALSE(logon.ApplyItem("C:\\l.png"));
  EXPECT_EQ(logon.lastApplyFailed, 1);
  services.changerResult = true;
  EXPECT_TRUE(logon.ApplyItem("C:\\l.png"));
  EXPECT_EQ(logon.lastApplyFailed, 0);

  qv::ScreenSaverSetupData saver;
  saver.timeoutMinutes = 7;
  services.changerResult = false;
  EXPECT_TRUE(saver.ApplyItem("C:\\x.scr"));  // the list never reports the changer's failure
  saver.timeoutMinutes = 0;
  saver.ApplyItem("C:\\y.scr");
  saver.timeoutMinutes = 0x7FFFFFFF;
  saver.ApplyItem("C:\\z.scr");

  const std::vector<qvtest::ChangerCall> expected = {
      {"boot", "C:\\a.bmp", 0},          {"wallpaper", "C:\\w.jpg", 1},
      {"ieskin", "C:\\s.gif", 0},        {"logon", "C:\\l.png", 0x123456},
      {"logon", "C:\\l.png", 0x123456},  {"screensaver", "C:\\x.scr", 420},
      {"screensaver", "C:\\y.scr", 300}, {"screensaver", "C:\\z.scr", 0x7FFFFFFF},
  };
  ASSERT_EQ(services.calls.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(services.calls[i].changer, expected[i].changer) << i;
    EXPECT_EQ(services.calls[i].path, expected[i].path) << i;
    EXPECT_EQ(services.calls[i].argument, expected[i].argument) << i;
  }
}

TEST(KindApply, WallpaperWaitsForARunningScreenSaverOnWindows2000AndXP) {
  struct Row {
    int generation;
    bool running, reachesChanger;
  } rows[] = {{qv::kWinXP, true, false},  {qv::kWin2000, true, false}, {qv::kWinXP, false, true},
              {qv::kWin98, true, true},   {qv::kWinNT4, true, true},   {qv::kWinUnknown, true, true}};
  for (const Row& r : rows) {
    FakeServices services;
    qv::WindowsGeneration = r.generation;
    services.screenSaverRunning = r.running;
    qv::WallpaperSetupData wallpaper;
    EXPECT_EQ(wallpaper.ApplyItem("C:\\w.jpg"), r.reachesChanger) << r.generation;
    EXPECT_EQ(services.calls.size(), r.reachesChanger ? 1u : 0u) << r.generation;
  }
}

TEST(ScreenSaverRotation, PicksOverItsItemsAndRecordsTheTimeWhateverTheChangerSaid) {
  FakeServices services;
  qv::ScreenSaverSetupData saver;
  saver.items = {{"A", "C:\\a.scr"}, {"B", "C:\\b.scr"}};
  saver.lastChangeTime = 5;
  services.changerResult = false;
  EXPECT_TRUE(saver.ChangeIfDue());  // mode 6: each run
  EXPECT_EQ(saver.currentIndex, 0);
  EXPECT_EQ(saver.lastChangeTime, services.clock.now);
  EXPECT_TRUE(saver.ChangeIfDue());
  EXPECT_EQ(saver.currentIndex, 1);
  ASSERT_EQ(services.calls.size(), 2u);
  EXPECT_EQ(services.calls[1].path, "C:\\b.scr");

  saver.changeMode = qv::kModeDisable;  // not due, and nothing wrong
  EXPECT_TRUE(saver.ChangeIfDue());
  saver.enabled = 0;
  EXPECT_FALSE(saver.ChangeIfDue());
  saver.enabled = 1;
  saver.items.clear();
  EXPECT_FALSE(saver.ChangeIfDue());
  EXPECT_EQ(services.calls.size(), 2u);
}

}  // namespace

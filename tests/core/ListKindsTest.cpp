// Resets per kind and Windows generation, assign and copy run state, site links, picture names.
#include <gtest/gtest.h>

#include "core/ChangeLists.h"
#include "tests/core/ListTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::FakeServices;

bool HoldsWindowsWallpaperFolder(const qv::ImageSetupData& list) {
  return list.items.size() == 1 && list.items[0].path == "C:\\WINDOWS\\web\\wallpaper" &&
         list.items[0].isFolder == 1 && list.items[0].includeSubFolders == 1;
}

TEST(Reset, FolderItemsFollowTheWindowsGeneration) {
  struct Row {
    int generation;
    bool bootAndWallpaperFolder;
  } rows[] = {{qv::kWin95, false}, {qv::kWin98, false},   {qv::kWinMe, true},      {qv::kWinNT4, false},
              {qv::kWin2000, true}, {qv::kWinXP, true},   {qv::kWinUnknown, false}};
  for (const Row& r : rows) {
    FakeServices services;
    qv::WindowsGeneration = r.generation;
    qv::BootScreenSetupData boot;
    qv::WallpaperSetupData wallpaper;
    qv::IESkinSetupData skin;
    qv::LogonScreenSetupData logon;
    boot.Reset();
    wallpaper.Reset();
    skin.Reset();
    logon.Reset();
    EXPECT_EQ(HoldsWindowsWallpaperFolder(boot), r.bootAndWallpaperFolder) << r.generation;
    EXPECT_EQ(HoldsWindowsWallpaperFolder(wallpaper), r.bootAndWallpaperFolder) << r.generation;
    EXPECT_TRUE(skin.items.empty());
    EXPECT_TRUE(HoldsWindowsWallpaperFolder(logon)) << "every generation: " << r.generation;
  }
}

TEST(Reset, ReturnsEveryFieldToTheKindsDefaults) {
  FakeServices services;
  qv::WallpaperSetupData wallpaper;
  wallpaper.enabled = 0;
  wallpaper.currentIndex = 9;
  wallpaper.changeMode = 4;
  wallpaper.order = 1;
  wallpaper.viewMode = 0;
  wallpaper.positionMode = 0;
  wallpaper.siteLinks.clear();
  wallpaper.flatList = {"x"};
  wallpaper.Reset();
  EXPECT_EQ(wallpaper.enabled, 1);
  EXPECT_EQ(wallpaper.currentIndex, -1);
  EXPECT_EQ(wallpaper.changeMode, 1);
  EXPECT_EQ(wallpaper.order, 0);
  EXPECT_EQ(wallpaper.viewMode, 1);
  EXPECT_EQ(wallpaper.positionMode, qv::kFitToScreen);
  EXPECT_EQ(wallpaper.interval, 5);
  EXPECT_EQ(wallpaper.timerUnit, qv::kUnitMinutes);
  EXPECT_TRUE(wallpaper.flatList.empty());
  EXPECT_EQ(wallpaper.siteLinks.size(), 5u);

  qv::LogonScreenSetupData logon;
  logon.changeMode = 3;
  logon.lastApplyFailed = 1;
  logon.backgroundColour = 0;
  logon.Reset();
  EXPECT_EQ(logon.changeMode, 1);
  EXPECT_EQ(logon.lastApplyFailed, 0);
  EXPECT_EQ(logon.backgroundColour, 0x00DC7E5A);
  EXPECT_EQ(logon.interval, 1);
  EXPECT_EQ(logon.timerUnit, qv::kUnitDays);
}

TEST(Reset, WithoutAWindowsDirectoryNoFolderIsAddedAndItIsLogged) {
  FakeServices services;
  services.windowsFolder = "";
  qvtest::LogCapture log;
  qv::LogonScreenSetupData logon;
  logon.Reset();
  EXPECT_TRUE(logon.items.empty());
  EXPECT_EQ(log.lines().size(), 1u);
}

TEST(Reset, ScreenSaverListScansWindowsThenSystemFolder) {
  FakeServices services;
  qv::ScreenSaverSetupData saver;
  saver.timeoutMinutes = 12;
  saver.changeMode = 2;
  saver.items = {{"old", "C:\\old.scr"}};
  saver.Reset();
  EXPECT_EQ(services.scannedFolders,
            (std::vector<std::string>{"C:\\WINDOWS", "C:\\WINDOWS\\system32"}));
  ASSERT_EQ(saver.items.size(), 2u);
  EXPECT_EQ(saver.items[0].path, "C:\\WINDOWS\\a.scr");
  EXPECT_EQ(saver.items[1].path, "C:\\WINDOWS\\system32\\a.scr");
  EXPECT_EQ(saver.timeoutMinutes, 5);
  EXPECT_EQ(saver.changeMode, qv::kModeEachRun);
}

TEST(SiteLinks, EachKindHasItsBuiltInEntries) {
  qv::BootScreenSetupData boot;
  qv::WallpaperSetupData wallpaper;
  qv::IESkinSetupData skin;
  qv::LogonScreenSetupData logon;
  qv::ScreenSaverSetupData saver;
  struct Row {
    const qv::BaseSetupData* list;
    std::size_t count;
    const char* category;
  } rows[] = {{&boot, 5, "bootscreen"}, {&wallpaper, 5, "wallpaper"}, {&skin, 3, "ieksin"},
              {&logon, 3, "ieksin"},     {&saver, 5, "screensaver"}};
  for (const Row& r : rows) {
    ASSERT_EQ(r.list->siteLinks.size(), r.count) << r.category;
    for (const qv::SiteLink& link : r.list->siteLinks) {
      EXPECT_EQ(link.categoryKey, r.category);
      EXPECT_FALSE(link.name.empty());
      EXPECT_FALSE(link.address.empty());
      EXPECT_TRUE(link.note.empty());
    }
  }
}

TEST(Assign, CopiesTheSettingsButNotTheRunTimeState) {
  FakeServices services;
  qv::LogonScreenSetupData from;
  from.enabled = 0;
  from.currentIndex = 4;
  from.changeMode = 3;
  from.interval = 8;
  from.timerUnit = 2;
  from.order = 1;
  from.viewMode = 0;
  from.lastChangeTime = 1000;
  from.items.resize(2);
  from.flatList = {"a", "b"};
  from.currentPath = "c";
  from.backgroundColour = 1;
  from.lastApplyFailed = 1;

  qv::LogonScreenSetupData to;
  to.Assign(from);
  EXPECT_EQ(to.enabled, 0);
  EXPECT_EQ(to.currentIndex, 4);
  EXPECT_EQ(to.changeMode, 3);
  EXPECT_EQ(to.interval, 8);
  EXPECT_EQ(to.timerUnit, 2);
  EXPECT_EQ(to.order, 1);
  EXPECT_EQ(to.viewMode, 0);
  EXPECT_EQ(to.lastChangeTime, 1000);
  EXPECT_EQ(to.items.size(), 2u);
  EXPECT_TRUE(to.flatList.empty());
  EXPECT_TRUE(to.currentPath.empty());
  EXPECT_EQ(to.backgroundColour, qv::kDefaultLogonColour);
  EXPECT_EQ(to.lastApplyFailed, 0);
  ASSERT_EQ(to.siteLinks.size(), 3u);
  EXPECT_TRUE(to.siteLinks[0].categoryKey.empty());  // the category key is not copied

  qv::WallpaperSetupData w1, w2;
  w1.positionMode = 1;
  w2.Assign(w1);
  EXPECT_EQ(w2.positionMode, 1);
  qv::ScreenSaverSetupData s1, s2;
  s1.timeoutMinutes = 9;
  s1.items = {{"n", "p"}};
  s2.Assign(s1);
  EXPECT_EQ(s2.timeoutMinutes, 9);
  EXPECT_EQ(s2.items, s1.items);
}

TEST(CopyRunState, TakesTimeIndexAndSiteLinksOnly) {
  qv::WallpaperSetupData live, page;
  live.lastChangeTime = 777;
  live.currentIndex = 3;
  live.siteLinks = {{"n", "a", "x", "k"}};
  live.interval = 99;
  live.positionMode = 0;
  page.CopyRunState(live);
  EXPECT_EQ(page.lastChangeTime, 777);
  EXPECT_EQ(page.currentIndex, 3);
  ASSERT_EQ(page.siteLinks.size(), 1u);
  EXPECT_EQ(page.siteLinks[0].note, "x");
  EXPECT_EQ(page.interval, 1);
  EXPECT_EQ(page.positionMode, qv::kFitToScreen);
}

TEST(PictureName, ExtensionsAreComparedWithoutCaseAfterFiveCharacters) {
  struct Row {
    const char* path;
    bool picture;
  } rows[] = {
      {"a.bmp", false},      {"ab.BMP", true},      {".bmp", false},         {"C:\\x.jpg", true},
      {"C:\\x.JPG", true},   {"C:\\x.jpeg", true},  {"C:\\x.tif", true},     {"C:\\x.TIFF", true},
      {"C:\\x.pict", true},  {"C:\\x.pct", true},   {"C:\\x.wbmp", true},    {"C:\\x.gif", true},
      {"C:\\x.png", true},   {"C:\\x.emf", true},   {"C:\\x.wmf", true},     {"C:\\x.tga", true},
      {"C:\\x.dib", true},   {"C:\\x.rle", true},   {"C:\\x.pcx", true},     {"C:\\x.pic", true},
      {"C:\\x.txt", false},  {"C:\\x.mp4", false},  {"C:\\x.jpg.txt", false}, {"C:\\xjpg", false},
      {"C:\\x.bmpx", false}, {"C:\\dir.jpg\\x", false}, {"C:\\x.", false},   {"", false},
  };
  for (const Row& r : rows)
    EXPECT_EQ(qv::BaseSetupData::IsSupportedPictureName(r.path), r.picture) << r.path;
}

}  // namespace

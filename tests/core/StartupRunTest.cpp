// Start-up over the settings: the fallback to the defaults and the wizard, the start-up run's
// order, the undo run's steps per generation, and the screen saver items and scan.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/StartupRun.h"
#include "platform/SafeFile.h"
#include "tests/core/ListTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::FakeServices;

qv::WizardOutcome FinishWithOwnChoice(qv::PVoptionData& s) {
  s.hotkeys[1] = {0x70, 2};
  s.languageFile = "chosen.lng";
  s.agentEnabled = 0;  // not the wizard's to decide
  return qv::WizardOutcome::Finished;
}
qv::WizardOutcome CancelAfterEditing(qv::PVoptionData& s) {
  s.hotkeys[1] = {0x70, 2};
  return qv::WizardOutcome::Cancelled;
}
qv::WizardOutcome Throw(qv::PVoptionData&) { throw std::runtime_error("wizard"); }
qv::WizardOutcome Missing(qv::PVoptionData&) { return qv::WizardOutcome::NotAvailable; }

TEST(InitialiseSettings, AnUnreadableFileGivesTheDefaultsAndThenTheWizard) {
  struct Row {
    const char* name;
    qv::QuickSetupWizard wizard;
    uint16_t hotkey;
    const char* language;  // nullptr: the default
  } rows[] = {
      {"finished", &FinishWithOwnChoice, 0x70, "chosen.lng"},
      {"cancelled", &CancelAfterEditing, 0xBB, nullptr},
      {"throws", &Throw, 0xBB, nullptr},
      {"not available", &Missing, 0xBB, nullptr},
      {"none", nullptr, 0xBB, nullptr},
  };
  for (const Row& r : rows) {
    FakeServices services;
    qv::PVoptionData settings;
    settings.wallpaper.items.clear();
    settings.checkNewVersion = 1;
    qvtest::LogCapture log;
    EXPECT_FALSE(qv::InitialiseSettings(settings, "/nonexistent/qv.dat", r.wizard)) << r.name;
    EXPECT_EQ(settings.hotkeys[1].keyCode, r.hotkey) << r.name;
    EXPECT_EQ(settings.languageFile, r.language ? r.language : qv::DefaultLanguageFile()) << r.name;
    EXPECT_EQ(settings.agentEnabled, 1) << r.name;
    EXPECT_EQ(settings.checkNewVersion, 0) << r.name;
    EXPECT_EQ(settings.wallpaper.items.size(), 1u) << r.name;  // reset: the Windows folder
  }
}

TEST(InitialiseSettings, AReadableFileSkipsTheWizard) {
  FakeServices services;
  char pattern[] = "/tmp/qv-start-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  qv::PVoptionData stored;
  stored.agentEnabled = 0;
  stored.wallpaper.items.resize(3);
  ASSERT_TRUE(stored.Save(folder + "/qv.dat"));
  qv::PVoptionData settings;
  EXPECT_TRUE(qv::InitialiseSettings(settings, folder + "/qv.dat", &Throw));
  EXPECT_EQ(settings.agentEnabled, 0);
  EXPECT_EQ(settings.wallpaper.items.size(), 3u);
  std::filesystem::remove_all(folder);
}

// Windows 95, 98 and Me save by renames; a save cut off between them loses no settings.
TEST(InitialiseSettings, ASaveCutOffBetweenItsRenamesIsRecovered) {
  FakeServices services;
  char pattern[] = "/tmp/qv-start-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  const std::string path = folder + "/qv.dat";
  platform::SetReplaceByRenaming(true);
  qv::PVoptionData older, newer;
  older.languageFile = "older.lng";
  newer.languageFile = "newer.lng";
  ASSERT_TRUE(older.Save(path));
  ASSERT_TRUE(newer.Save(folder + "/next.dat"));
  // The state after the old file stepped aside and before the new one took its name.
  ASSERT_TRUE(platform::RenameFile(path, path + ".qvbak"));
  ASSERT_TRUE(platform::RenameFile(folder + "/next.dat", path + ".qvnew"));
  qv::PVoptionData settings;
  EXPECT_TRUE(qv::InitialiseSettings(settings, path, &Throw));
  EXPECT_EQ(settings.languageFile, "newer.lng");
  EXPECT_FALSE(platform::FileExists(path + ".qvnew"));
  EXPECT_FALSE(platform::FileExists(path + ".qvbak"));
  // Only the old one left: the old settings, not the defaults and the wizard.
  ASSERT_TRUE(platform::RenameFile(path, path + ".qvbak"));
  ASSERT_TRUE(older.Save(path + ".qvbak.tmp"));
  ASSERT_TRUE(platform::RemoveFile(path + ".qvbak"));
  ASSERT_TRUE(platform::RenameFile(path + ".qvbak.tmp", path + ".qvbak"));
  EXPECT_TRUE(qv::InitialiseSettings(settings, path, &Throw));
  EXPECT_EQ(settings.languageFile, "older.lng");
  platform::SetReplaceByRenaming(false);
  std::filesystem::remove_all(folder);
}

TEST(StartupRun, ChangesEveryDueListInItsOrder) {
  FakeServices services;
  qv::PVoptionData settings;
  qv::SetupItem item;
  item.path = "C:\\x.jpg";
  for (qv::ImageSetupData* list : {static_cast<qv::ImageSetupData*>(&settings.bootScreen),
                                   static_cast<qv::ImageSetupData*>(&settings.wallpaper),
                                   static_cast<qv::ImageSetupData*>(&settings.ieSkin),
                                   static_cast<qv::ImageSetupData*>(&settings.logonScreen)})
    list->items = {item};
  settings.screenSaver.items = {{"S", "C:\\s.scr"}};
  settings.ieSkin.enabled = 0;  // switched off: left out
  services.changerResult = false;
  qv::ChangeEveryListIfDue(settings);
  std::vector<std::string> order;
  for (const qvtest::ChangerCall& call : services.calls) order.push_back(call.changer);
  EXPECT_EQ(order, (std::vector<std::string>{"boot", "logon", "wallpaper", "screensaver"}));
  EXPECT_EQ(settings.wallpaper.currentIndex, -1);  // failed: nothing moved
  EXPECT_EQ(settings.screenSaver.currentIndex, 0);
  EXPECT_EQ(settings.logonScreen.lastApplyFailed, 1);
}

std::vector<std::string> g_steps;
bool StepBootIni() { return g_steps.push_back("boot.ini"), false; }
bool StepBootScreen() { return g_steps.push_back("boot screen"), false; }
bool StepSkin() { return g_steps.push_back("skin"), false; }
bool StepLogon() { return g_steps.push_back("logon"), false; }

TEST(UndoRun, RestoreStepsFollowTheGeneration) {
  struct Row {
    int generation;
    std::vector<std::string> steps;
  } rows[] = {
      {qv::kWin95, {"boot screen", "skin"}},   {qv::kWin98, {"boot screen", "skin"}},
      {qv::kWinMe, {"boot screen", "skin"}},   {qv::kWinNT4, {"boot screen", "skin"}},
      {qv::kWin2000, {"boot.ini", "skin"}},    {qv::kWinXP, {"boot.ini", "skin", "logon"}},
      {qv::kWinUnknown, {"boot screen", "skin"}},
  };
  const qv::RestoreSteps steps{&StepBootIni, &StepBootScreen, &StepSkin, &StepLogon};
  for (const Row& r : rows) {
    g_steps.clear();
    qv::RestoreSystemAppearance(steps, r.generation);
    EXPECT_EQ(g_steps, r.steps) << r.generation;
  }
}

TEST(ScreenSaverItem, NamedByItsFileWithoutTheExtension) {
  struct Row {
    const char* path;
    const char* name;
  } rows[] = {{"C:\\WINDOWS\\system32\\ssmyst.scr", "ssmyst"},
              {"C:\\Savers\\My.Saver.scr", "My.Saver"},
              {"plain", "plain"},
              {"C:\\x\\trailing.", "trailing."},
              {"C:\\x.y\\noext", "noext"},
              {"/posix/path/a.scr", "a"}};
  for (const Row& r : rows) {
    qv::ScreenSaverItemData item = qv::ScreenSaverItemData::FromPath(r.path);
    EXPECT_EQ(item.name, r.name) << r.path;
    EXPECT_EQ(item.path, r.path);
  }
}

TEST(ScreenSaverScan, FindsScrFilesButNotFoldersSoNamed) {
  char pattern[] = "/tmp/qv-scr-XXXXXX";
  const std::string folder = mkdtemp(pattern);
  std::ofstream(folder + "/one.scr");
  std::ofstream(folder + "/TWO.SCR");
  std::ofstream(folder + "/three.exe");
  std::filesystem::create_directory(folder + "/x.scr");
  std::vector<qv::ScreenSaverItemData> list{{"kept", "kept"}};
  qv::ScanScreenSavers(folder, list);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].name, "kept");
  std::vector<std::string> names{list[1].name, list[2].name};
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"TWO", "one"}));
  EXPECT_EQ(list[1].path.substr(0, folder.size() + 1), folder + "\\");

  qvtest::LogCapture log;
  qv::ScanScreenSavers("", list);
  EXPECT_EQ(list.size(), 3u);
  EXPECT_EQ(log.lines().size(), 1u);
  std::filesystem::remove_all(folder);
}

}  // namespace

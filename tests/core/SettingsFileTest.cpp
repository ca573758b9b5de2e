// The settings file: its exact bytes, the round trip, older versions, damaged and cut files,
// replacing the file on save, and where the file lies.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/PVoptionData.h"
#include "platform/Platform.h"
#include "tests/core/ListTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::FakeServices;

// The expected bytes, spelled field by field.
class Golden {
 public:
  Golden& u8(uint8_t v) { return raw({static_cast<char>(v)}); }
  Golden& u16(uint16_t v) { return raw({static_cast<char>(v), static_cast<char>(v >> 8)}); }
  Golden& i32(uint32_t v) {
    return raw({static_cast<char>(v), static_cast<char>(v >> 8), static_cast<char>(v >> 16),
                static_cast<char>(v >> 24)});
  }
  Golden& shortString(const std::string& s) { return u8(static_cast<uint8_t>(s.size())).raw(s); }
  Golden& raw(const std::string& s) {
    bytes += s;
    return *this;
  }
  // enabled, index, mode, interval, unit, order, time, view mode, no site links
  Golden& baseRecord(int32_t mode, int32_t interval, int32_t unit, int32_t time) {
    return i32(1).i32(0xFFFFFFFF).i32(mode).i32(interval).i32(unit).i32(0).i32(time).i32(1).i32(0);
  }
  std::string bytes;
};

// Settings without site links or items, so that every byte can be spelled out.
qv::PVoptionData BareSettings() {
  qv::PVoptionData s;
  s.languageFile = "L";
  for (qv::BaseSetupData* list : {static_cast<qv::BaseSetupData*>(&s.bootScreen),
                                  static_cast<qv::BaseSetupData*>(&s.wallpaper),
                                  static_cast<qv::BaseSetupData*>(&s.ieSkin),
                                  static_cast<qv::BaseSetupData*>(&s.logonScreen),
                                  static_cast<qv::BaseSetupData*>(&s.screenSaver)}) {
    list->siteLinks.clear();
    list->lastChangeTime = 0x01020304;
  }
  s.wallpaper.positionMode = 2;
  s.siteListRefreshDay = 17;
  s.agentEnabled = 0;
  return s;
}

TEST(SettingsBytes, BareSettingsHaveTheExactLayout) {
  FakeServices services;
  Golden g;
  g.raw("QVPF").i32(0x00010400).shortString("L");
  g.baseRecord(1, 1, 3, 0x01020304).i32(0);          // boot screen, no items
  g.baseRecord(1, 1, 3, 0x01020304).i32(0).i32(2);   // wallpaper, position
  g.baseRecord(1, 1, 3, 0x01020304).i32(0);          // toolbar skin
  g.baseRecord(1, 1, 3, 0x01020304).i32(0).i32(0x00DC7E5A);  // logon, colour
  g.baseRecord(6, 1, 3, 0x01020304).i32(5).i32(0);   // screen saver: timeout, no items
  g.i32(0).u8(17);                                    // check for new version, refresh day
  g.i32(0).u8(0).i32(0).i32(0).i32(0);                // agent, reserved string, ints, block
  g.u16(0xBD).u16(6).u16(0xBB).u16(6).u16(0xDB).u16(6).u16(0xDD).u16(6);
  EXPECT_EQ(BareSettings().SaveToBytes(), g.bytes);
  EXPECT_EQ(g.bytes.size(), 260u);
}

TEST(SettingsBytes, ItemsAndSiteLinksInTheirRecordForms) {
  FakeServices services;
  qv::PVoptionData s = BareSettings();
  s.ieSkin.siteLinks = {{"n", "a", "", "ieksin"}};
  qv::SetupItem item;
  item.path = std::string(300, 'p');
  item.width = 640;
  item.height = 480;
  item.depth = 24;
  s.ieSkin.items = {item};
  s.screenSaver.items = {{"Saver", "C:\\s.scr"}};

  Golden skin;
  skin.i32(1).i32(0xFFFFFFFF).i32(1).i32(1).i32(3).i32(0).i32(0x01020304).i32(1);
  skin.i32(1).shortString("n").shortString("a").shortString("");  // category key not stored
  skin.i32(1).u8(0xFF).u16(300).raw(std::string(300, 'p'));
  skin.i32(640).i32(480).i32(24).i32(0).i32(1);
  Golden saver;
  saver.baseRecord(6, 1, 3, 0x01020304).i32(5).i32(1).shortString("Saver").shortString("C:\\s.scr");

  const std::string bytes = s.SaveToBytes();
  EXPECT_NE(bytes.find(skin.bytes), std::string::npos);
  EXPECT_NE(bytes.find(saver.bytes), std::string::npos);
}

// Every persisted field differs from its default.
qv::PVoptionData RichSettings(std::size_t longText) {
  qv::PVoptionData s;
  s.languageFile = "C:\\Program Files\\Quorvex\\language\\qvdeu.lng";
  s.siteListRefreshDay = 29;
  s.checkNewVersion = 1;
  s.agentEnabled = 0;
  s.hotkeys[0] = {0x41, 1};
  s.hotkeys[3] = {0x5A, 7};
  int n = 0;
  for (qv::ImageSetupData* list : {static_cast<qv::ImageSetupData*>(&s.bootScreen),
                                   static_cast<qv::ImageSetupData*>(&s.wallpaper),
                                   static_cast<qv::ImageSetupData*>(&s.ieSkin),
                                   static_cast<qv::ImageSetupData*>(&s.logonScreen)}) {
    ++n;
    list->enabled = 0;
    list->currentIndex = 10 + n;
    list->changeMode = n;
    list->interval = 100 + n;
    list->timerUnit = n % 4;
    list->order = 1;
    list->viewMode = 0;
    list->lastChangeTime = 1100000000 + n;
    list->siteLinks.push_back({"site " + std::to_string(n), "http://x/" + std::to_string(n), "note", "k"});
    for (int i = 0; i < n; ++i) {
      qv::SetupItem item;
      item.path = "C:\\pictures\\" + std::to_string(n) + "\\" + std::to_string(i) + ".jpg";
      item.width = 100 + i;
      item.height = 200 + i;
      item.depth = 8;
      item.isFolder = i % 2;
      item.includeSubFolders = 0;
      list->items.push_back(item);
    }
    list->flatList = {"not kept"};
    list->currentPath = "not kept";
  }
  s.wallpaper.items[0].path = std::string(longText, 'w');
  s.wallpaper.positionMode = 1;
  s.logonScreen.backgroundColour = 0x00112233;
  s.logonScreen.lastApplyFailed = 1;
  s.screenSaver.timeoutMinutes = 12;
  s.screenSaver.changeMode = 2;
  s.screenSaver.items = {{"Mystify", "C:\\WINDOWS\\system32\\ssmyst.scr"}, {"", ""}};
  s.screenSaver.siteLinks.clear();
  return s;
}

void ExpectSameList(const qv::BaseSetupData& a, const qv::BaseSetupData& b, const char* what) {
  EXPECT_EQ(a.enabled, b.enabled) << what;
  EXPECT_EQ(a.currentIndex, b.currentIndex) << what;
  EXPECT_EQ(a.changeMode, b.changeMode) << what;
  EXPECT_EQ(a.interval, b.interval) << what;
  EXPECT_EQ(a.timerUnit, b.timerUnit) << what;
  EXPECT_EQ(a.order, b.order) << what;
  EXPECT_EQ(a.viewMode, b.viewMode) << what;
  EXPECT_EQ(a.lastChangeTime, b.lastChangeTime) << what;
  ASSERT_EQ(a.siteLinks.size(), b.siteLinks.size()) << what;
  for (std::size_t i = 0; i < a.siteLinks.size(); ++i) {
    EXPECT_EQ(a.siteLinks[i].name, b.siteLinks[i].name) << what;
    EXPECT_EQ(a.siteLinks[i].address, b.siteLinks[i].address) << what;
    EXPECT_EQ(a.siteLinks[i].note, b.siteLinks[i].note) << what;
  }
}

void ExpectSameItems(const qv::ImageSetupData& a, const qv::ImageSetupData& b, const char* what) {
  ExpectSameList(a, b, what);
  ASSERT_EQ(a.items.size(), b.items.size()) << what;
  for (std::size_t i = 0; i < a.items.size(); ++i) {
    EXPECT_EQ(a.items[i].path, b.items[i].path) << what;
    EXPECT_EQ(a.items[i].width, b.items[i].width) << what;
    EXPECT_EQ(a.items[i].height, b.items[i].height) << what;
    EXPECT_EQ(a.items[i].depth, b.items[i].depth) << what;
    EXPECT_EQ(a.items[i].isFolder, b.items[i].isFolder) << what;
    EXPECT_EQ(a.items[i].includeSubFolders, b.items[i].includeSubFolders) << what;
  }
}

TEST(SettingsBytes, RoundTripKeepsEverythingButTheRunTimeState) {
  FakeServices services;
  const qv::PVoptionData saved = RichSettings(70000);
  qv::PVoptionData loaded;
  qvtest::LogCapture log;
  const std::string bytes = saved.SaveToBytes();
  ASSERT_TRUE(loaded.LoadFromBytes(bytes.data(), bytes.size()));
  EXPECT_TRUE(log.lines().empty());
  EXPECT_EQ(loaded.languageFile, saved.languageFile);
  EXPECT_EQ(loaded.siteListRefreshDay, 29);
  EXPECT_EQ(loaded.checkNewVersion, 1);
  EXPECT_EQ(loaded.agentEnabled, 0);
  for (int i = 0; i < qv::kHotkeyCount; ++i) EXPECT_EQ(loaded.hotkeys[i], saved.hotkeys[i]) << i;
  ExpectSameItems(loaded.bootScreen, saved.bootScreen, "boot");
  ExpectSameItems(loaded.wallpaper, saved.wallpaper, "wallpaper");
  ExpectSameItems(loaded.ieSkin, saved.ieSkin, "skin");
  ExpectSameItems(loaded.logonScreen, saved.logonScreen, "logon");
  ExpectSameList(loaded.screenSaver, saved.screenSaver, "saver");
  EXPECT_EQ(loaded.wallpaper.positionMode, 1);
  EXPECT_EQ(loaded.logonScreen.backgroundColour, 0x00112233);
  EXPECT_EQ(loaded.screenSaver.timeoutMinutes, 12);
  EXPECT_EQ(loaded.screenSaver.items, saved.screenSaver.items);
  // Not kept: flat lists, current paths, category keys, the logon failed flag.
  EXPECT_TRUE(loaded.wallpaper.flatList.empty());
  EXPECT_TRUE(loaded.bootScreen.currentPath.empty());
  EXPECT_TRUE(loaded.bootScreen.siteLinks[0].categoryKey.empty());
  EXPECT_EQ(loaded.logonScreen.lastApplyFailed, 0);
  EXPECT_EQ(loaded.SaveToBytes(), bytes);
}

TEST(SettingsBytes, OlderVersionsAreReadWithTheFieldsTheyHave) {
  struct Row {
    uint32_t version;
    std::size_t missing;  // bytes fewer than the current layout
    bool colour;
  } rows[] = {{0x00010300, 17, true}, {0x00010200, 21, false}, {0x00010000, 21, false}};
  FakeServices services;
  const qv::PVoptionData saved = RichSettings(10);
  const std::size_t current = saved.SaveToBytes().size();
  for (const Row& r : rows) {
    const std::string bytes = saved.SaveToBytes(r.version);
    ASSERT_EQ(bytes.size(), current - r.missing) << std::hex << r.version;
    // The hotkeys follow the refresh day directly.
    EXPECT_EQ(static_cast<unsigned char>(bytes[bytes.size() - 17]), 29) << std::hex << r.version;

    qv::PVoptionData loaded;
    loaded.agentEnabled = 5;  // keeps its value: older files do not store it
    qvtest::LogCapture log;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes.data(), bytes.size()));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0], "Different Version\r\n");
    EXPECT_EQ(loaded.agentEnabled, 5);
    EXPECT_EQ(loaded.logonScreen.backgroundColour, r.colour ? 0x00112233 : qv::kDefaultLogonColour);
    ExpectSameItems(loaded.logonScreen, saved.logonScreen, "logon");
    ExpectSameList(loaded.screenSaver, saved.screenSaver, "saver");
    for (int i = 0; i < qv::kHotkeyCount; ++i) EXPECT_EQ(loaded.hotkeys[i], saved.hotkeys[i]);
  }
}

TEST(SettingsBytes, ANewerVersionIsReadInTheCurrentLayoutAfterTheLog) {
  FakeServices services;
  const qv::PVoptionData saved = RichSettings(10);
  std::string bytes = saved.SaveToBytes();
  bytes[5] = 0x05;  // 0x00010500
  qv::PVoptionData loaded;
  qvtest::LogCapture log;
  ASSERT_TRUE(loaded.LoadFromBytes(bytes.data(), bytes.size()));
  EXPECT_EQ(log.lines(), std::vector<std::string>{"Different Version\r\n"});
  EXPECT_EQ(loaded.agentEnabled, 0);
  EXPECT_EQ(loaded.hotkeys[3], saved.hotkeys[3]);
}

TEST(SettingsBytes, TheReservedBlockIsSkippedWhateverItHolds) {
  FakeServices services;
  qv::PVoptionData saved = BareSettings();
  std::string bytes = saved.SaveToBytes();
  // Reserved string "xyz" and a block of 3 bytes, as a later version might write them.
  const std::size_t reserved = bytes.size() - 16 - 13;
  std::string patched = bytes.substr(0, reserved) + std::string("\x03xyz", 4) +
                        std::string(8, '\0') + std::string("\x03\0\0\0abc", 7) + bytes.substr(bytes.size() - 16);
  qv::PVoptionData loaded;
  loaded.hotkeys[2] = {};
  ASSERT_TRUE(loaded.LoadFromBytes(patched.data(), patched.size()));
  EXPECT_EQ(loaded.hotkeys[2], saved.hotkeys[2]);
  EXPECT_EQ(loaded.SaveToBytes(), bytes);  // written back empty
}

TEST(SettingsBytes, AHeaderThatIsNotOursFails) {
  FakeServices services;
  const std::string cases[] = {"", "QVP", "QVPX\x00\x04\x01\x00", std::string("QVPF\x00\x04", 6),
                               "qvpf\x00\x04\x01\x00"};
  for (const std::string& bytes : cases) {
    qv::PVoptionData loaded;
    qvtest::LogCapture log;
    EXPECT_FALSE(loaded.LoadFromBytes(bytes.data(), bytes.size())) << bytes;
    EXPECT_EQ(log.lines().size(), 1u);
  }
}

TEST(SettingsBytes, AFileCutAtEveryOffsetKeepsWhatWasRead) {
  FakeServices services;
  const qv::PVoptionData saved = RichSettings(300);
  const qv::PVoptionData defaults;
  const std::string bytes = saved.SaveToBytes();
  // Landmarks: the first byte after the language file, after the wallpaper record (its position
  // mode last), and the end.
  const std::size_t afterLanguage = 8 + 1 + saved.languageFile.size();
  qv::ArchiveWriter upToWallpaper;
  saved.bootScreen.Save(upToWallpaper);
  saved.wallpaper.Save(upToWallpaper);
  const std::size_t afterWallpaper = afterLanguage + upToWallpaper.Bytes().size();

  for (std::size_t cut = 0; cut <= bytes.size(); ++cut) {
    qv::PVoptionData loaded;
    qvtest::LogCapture log;
    const bool ok = loaded.LoadFromBytes(bytes.data(), cut);
    ASSERT_EQ(ok, cut >= 8) << cut;
    EXPECT_EQ(loaded.languageFile, cut >= afterLanguage ? saved.languageFile : defaults.languageFile) << cut;
    EXPECT_EQ(loaded.bootScreen.enabled, cut >= afterLanguage + 4 ? 0 : 1) << cut;
    EXPECT_EQ(loaded.wallpaper.positionMode, cut >= afterWallpaper ? 1 : qv::kFitToScreen) << cut;
    EXPECT_LE(loaded.wallpaper.items.size(), saved.wallpaper.items.size()) << cut;
    EXPECT_EQ(loaded.hotkeys[3].modifiers, cut == bytes.size() ? 7 : 6) << cut;
  }
}

// A count out of range ends the read there, instead of misreading the rest as other fields.
TEST(SettingsBytes, CountsOutOfRangeEndTheRead) {
  struct Row {
    const char* name;
    std::size_t offsetInWallpaper;  // of the count inside the wallpaper record
    uint32_t value;
  } rows[] = {
      {"site links above 10,000", 32, 10001},
      {"site links negative", 32, 0xFFFFFFFF},
      {"items above 1,000,000", 36, 1000001},
      {"items negative", 36, 0x80000000},
  };
  FakeServices services;
  qv::PVoptionData saved = BareSettings();
  saved.wallpaper.positionMode = 0;
  const std::size_t wallpaperAt = 8 + 2 + 40;
  for (const Row& r : rows) {
    std::string bytes = saved.SaveToBytes();
    for (int i = 0; i < 4; ++i)
      bytes[wallpaperAt + r.offsetInWallpaper + i] = static_cast<char>(r.value >> (8 * i));
    qv::PVoptionData loaded;
    loaded.ieSkin.enabled = 7;
    loaded.agentEnabled = 7;
    qvtest::LogCapture log;
    ASSERT_TRUE(loaded.LoadFromBytes(bytes.data(), bytes.size())) << r.name;
    ASSERT_EQ(log.lines().size(), 1u) << r.name;
    EXPECT_NE(log.lines()[0].find("BaseSetupData.cpp"), std::string::npos) << r.name;
    EXPECT_EQ(loaded.wallpaper.siteLinks.size(), r.offsetInWallpaper == 32 ? 5u : 0u) << r.name;
    EXPECT_EQ(loaded.wallpaper.positionMode, qv::kFitToScreen) << r.name;
    EXPECT_EQ(loaded.ieSkin.enabled, 7) << r.name;
    EXPECT_EQ(loaded.agentEnabled, 7) << r.name;
  }
}

TEST(SettingsBytes, AMillionItemsAnnouncedInAShortFileReadWhatIsThere) {
  FakeServices services;
  qv::PVoptionData saved = BareSettings();
  qv::SetupItem item;
  item.path = "C:\\a.jpg";
  saved.bootScreen.items = {item, item};
  std::string bytes = saved.SaveToBytes();
  const std::size_t countAt = 8 + 2 + 36;
  bytes[countAt] = 0x40;  // 1,000,000 = 0x000F4240
  bytes[countAt + 1] = 0x42;
  bytes[countAt + 2] = 0x0F;
  qv::PVoptionData loaded;
  ASSERT_TRUE(loaded.LoadFromBytes(bytes.data(), bytes.size()));
  EXPECT_GE(loaded.bootScreen.items.size(), 2u);
  EXPECT_LT(loaded.bootScreen.items.size(), 100u);
}

class TempFolder {
 public:
  TempFolder() {
    char pattern[] = "/tmp/qv-settings-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

std::string ReadAll(const std::string& path) {
  std::string bytes;
  platform::ReadFileBytes(path, bytes);
  return bytes;
}

TEST(SettingsFile, SaveReplacesTheFileAndLoadReadsItBack) {
  FakeServices services;
  TempFolder folder;
  const std::string path = folder.Path() + "/qv.dat";
  std::ofstream(path) << "old contents";
  const qv::PVoptionData saved = RichSettings(20);
  ASSERT_TRUE(saved.Save(path));
  EXPECT_EQ(ReadAll(path), saved.SaveToBytes());
  EXPECT_FALSE(std::filesystem::exists(path + ".qvnew"));
  qv::PVoptionData loaded;
  ASSERT_TRUE(loaded.Load(path));
  EXPECT_EQ(loaded.SaveToBytes(), saved.SaveToBytes());
}

TEST(SettingsFile, AFailedSaveLeavesTheOldFileIntact) {
  FakeServices services;
  TempFolder folder;
  const std::string path = folder.Path() + "/qv.dat";
  const qv::PVoptionData first = BareSettings();
  ASSERT_TRUE(first.Save(path));
  // The new file cannot be written beside the old one.
  std::filesystem::create_directory(path + ".qvnew");
  qvtest::LogCapture log;
  EXPECT_FALSE(RichSettings(5).Save(path));
  EXPECT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(ReadAll(path), first.SaveToBytes());

  EXPECT_FALSE(first.Save(folder.Path() + "/no/such/folder/qv.dat"));
}

TEST(SettingsFile, AMissingFileFailsToLoadAndIsLogged) {
  FakeServices services;
  qv::PVoptionData loaded;
  qvtest::LogCapture log;
  EXPECT_FALSE(loaded.Load("/nonexistent/qv.dat"));
  EXPECT_EQ(log.lines().size(), 1u);
}

TEST(SettingsLocation, ApplicationDataFolderOrBesideTheProgram) {
  TempFolder folder;
  const std::string program = "C:\\Program Files\\Quorvex\\Quorvex.exe";
  // The folder is made when missing, and used when there.
  EXPECT_EQ(qv::SettingsFilePath(folder.Path(), "Quorvex", program), folder.Path() + "\\Quorvex\\qv.dat");
  EXPECT_TRUE(std::filesystem::is_directory(folder.Path() + "/Quorvex"));
  EXPECT_EQ(qv::SettingsFilePath(folder.Path() + "\\", "Quorvex", program),
            folder.Path() + "\\Quorvex\\qv.dat");
  // No application-data folder, or one where nothing can be created.
  EXPECT_EQ(qv::SettingsFilePath("", "Quorvex", program), "C:\\Program Files\\Quorvex\\Quorvex.dat");
  EXPECT_EQ(qv::SettingsFilePath(folder.Path() + "/missing/deeper", "Quorvex", program),
            "C:\\Program Files\\Quorvex\\Quorvex.dat");
  std::ofstream(folder.Path() + "/file") << "x";
  EXPECT_EQ(qv::SettingsFilePath(folder.Path() + "/file", "Quorvex", "/x/prog.bin"), "/x/prog.dat");
}

TEST(SettingsReset, EverythingBackToTheDefaults) {
  FakeServices services;
  qv::PVoptionData s = RichSettings(5);
  s.Reset();
  const qv::PVoptionData fresh;
  EXPECT_EQ(s.languageFile, qv::DefaultLanguageFile());
  EXPECT_EQ(s.languageFile.substr(s.languageFile.size() - 18), "language\\qveng.lng");
  EXPECT_EQ(s.siteListRefreshDay, 0);
  EXPECT_EQ(s.checkNewVersion, 0);
  EXPECT_EQ(s.agentEnabled, 1);
  const qv::HotkeySetting defaults[] = {{0xBD, 6}, {0xBB, 6}, {0xDB, 6}, {0xDD, 6}};
  for (int i = 0; i < qv::kHotkeyCount; ++i) {
    EXPECT_EQ(s.hotkeys[i], defaults[i]);
    EXPECT_EQ(fresh.hotkeys[i], defaults[i]);
  }
  EXPECT_EQ(s.wallpaper.items.size(), 1u);  // XP: the Windows wallpaper folder
  EXPECT_EQ(s.ieSkin.items.size(), 0u);
  EXPECT_EQ(s.screenSaver.items.size(), 2u);
  EXPECT_EQ(s.logonScreen.backgroundColour, qv::kDefaultLogonColour);
}

TEST(Hotkeys, ModifiersConvertToTheRegistrationFlags) {
  struct Row {
    uint16_t control;
    unsigned registration;
  } rows[] = {{0, 0}, {1, 4}, {2, 2}, {4, 1}, {6, 3}, {7, 7}, {8, 0}};
  for (const Row& r : rows)
    EXPECT_EQ(qv::HotkeySetting(0x41, r.control).RegisterModifiers(), r.registration) << r.control;
}

}  // namespace

// The position mode is the wallpaper record's last field: fill screen (4) is stored as itself,
// the four older modes load unchanged, and a value this program does not know (from a damaged
// or newer file) loads as fit to screen with a log line instead of reaching the changer.
TEST(SettingsBytes, PositionModesLoadAsStoredAndUnknownOnesAsFitToScreen) {
  FakeServices services;
  const struct {
    int32_t stored;
    int32_t loaded;
    std::size_t logLines;
  } cases[] = {{0, 0, 0}, {1, 1, 0}, {2, 2, 0}, {3, 3, 0}, {4, 4, 0}, {5, 3, 1}, {-1, 3, 1}, {1000, 3, 1}};
  for (const auto& c : cases) {
    qv::WallpaperSetupData saved;
    saved.positionMode = c.stored;
    qv::ArchiveWriter writer;
    saved.Save(writer);
    const std::string bytes = writer.Bytes();
    ASSERT_EQ(static_cast<uint8_t>(bytes[bytes.size() - 4]), static_cast<uint8_t>(c.stored)) << "stored last";
    qv::ArchiveReader reader(bytes.data(), bytes.size(), 0x10400);
    qv::WallpaperSetupData loaded;
    qvtest::LogCapture log;
    ASSERT_TRUE(loaded.Load(reader)) << c.stored;
    EXPECT_EQ(loaded.positionMode, c.loaded) << c.stored;
    ASSERT_EQ(log.lines().size(), c.logLines) << c.stored;
    if (c.logLines) EXPECT_NE(log.lines()[0].find("ChangeLists.cpp"), std::string::npos);
  }
}

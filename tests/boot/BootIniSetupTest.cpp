#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "boot/BootIniSetup.h"
#include "core/WindowsGeneration.h"
#include "platform/SafeFile.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

namespace {

using qv::BootINI;
using qvtest::TempDir;

const std::string kArc = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS";
const std::string kArc2 = "multi(0)disk(0)rdisk(0)partition(2)\\WINNT";

BootINI Model(std::initializer_list<std::string> osLines) {
  std::string text = "[boot loader]\r\ntimeout=30\r\n[operating systems]\r\n";
  for (const std::string& l : osLines) text += l + "\r\n";
  BootINI ini;
  EXPECT_TRUE(ini.Parse(text.data(), text.size()));
  return ini;
}

TEST(BootIniSetup, OffersOnlyWindowsEntriesAndPreselectsXp) {
  BootINI ini = Model({kArc + "=\"Microsoft Windows XP Professional\" /fastdetect",
                       "C:\\=\"Microsoft Windows\""});
  qv::BootEntryChoice choice = qv::OfferedBootEntries(ini, qv::kWinXP);
  ASSERT_EQ(choice.rows.size(), 1u);
  EXPECT_EQ(choice.rows[0].pairIndex, 0u);
  EXPECT_EQ(choice.rows[0].name, "Microsoft Windows XP Professional");
  EXPECT_EQ(choice.rows[0].fullLine, kArc + "=\"Microsoft Windows XP Professional\" /fastdetect");
  EXPECT_EQ(choice.preselected, 0);
}

TEST(BootIniSetup, AfterMarkingListsTheEntryOnceWithoutSwitchOrBackup) {
  TempDir dir;
  std::string path = dir.Path("boot.ini");
  BootINI ini = Model({"C:\\=\"Old\"", kArc + "=\"Microsoft Windows XP\" /fastdetect"});
  ASSERT_EQ(qv::SaveBootEntry(ini, 1, path), qv::BootEntrySave::Saved);
  BootINI reopened;
  ASSERT_TRUE(reopened.Read(path));
  ASSERT_EQ(reopened.OperatingSystems()->pairs.size(), 3u);  // the backup was appended
  qv::BootEntryChoice choice = qv::OfferedBootEntries(reopened, qv::kWinXP);
  ASSERT_EQ(choice.rows.size(), 1u);
  EXPECT_EQ(choice.rows[0].pairIndex, 1u);
  EXPECT_EQ(choice.rows[0].fullLine, kArc + "=\"Microsoft Windows XP\" /fastdetect");
  EXPECT_EQ(choice.preselected, 0);
  // Saving it again changes nothing and still counts as saved.
  ASSERT_EQ(qv::SaveBootEntry(reopened, 1, path), qv::BootEntrySave::Saved);
  EXPECT_EQ(reopened.OperatingSystems()->pairs.size(), 3u);
}

TEST(BootIniSetup, PreselectionByGeneration) {
  BootINI ini = Model({kArc + "=\"Microsoft Windows XP\" /fastdetect",
                       kArc2 + "=\"Windows 2000 Pro\" /fastdetect",
                       kArc2 + "=\"Windows 2000 Server\" /fastdetect"});
  EXPECT_EQ(qv::OfferedBootEntries(ini, qv::kWin2000).preselected, 1);
  EXPECT_EQ(qv::OfferedBootEntries(ini, qv::kWinXP).preselected, 0);
  BootINI noMatch = Model({kArc + "=\"Microsoft Windows XP\" /fastdetect"});
  EXPECT_EQ(qv::OfferedBootEntries(noMatch, qv::kWin2000).preselected, -1);
  BootINI lower = Model({kArc + "=\"windows xp home\""});
  EXPECT_EQ(qv::OfferedBootEntries(lower, qv::kWinXP).preselected, 0);
}

TEST(BootIniSetup, NoOperatingSystemsSectionOffersNothing) {
  qvtest::LogCapture log;
  BootINI ini;
  std::string text = "[boot loader]\r\ntimeout=30\r\n";
  ASSERT_TRUE(ini.Parse(text.data(), text.size()));
  qv::BootEntryChoice choice = qv::OfferedBootEntries(ini, qv::kWinXP);
  EXPECT_TRUE(choice.rows.empty());
  EXPECT_EQ(choice.preselected, -1);
  EXPECT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(qv::SaveBootEntry(ini, 0, "unused"), qv::BootEntrySave::InvalidIndex);
}

TEST(BootIniSetup, SaveRefusesNoSelectionAndStaleIndexAndReportsWriteFailure) {
  qvtest::LogCapture log;
  TempDir dir;
  BootINI ini = Model({kArc + "=\"Microsoft Windows XP\" /fastdetect"});
  EXPECT_EQ(qv::SaveBootEntry(ini, -1, dir.Path("boot.ini")), qv::BootEntrySave::NoSelection);
  EXPECT_EQ(qv::SaveBootEntry(ini, 1, dir.Path("boot.ini")), qv::BootEntrySave::InvalidIndex);
  EXPECT_FALSE(std::filesystem::exists(dir.Path("boot.ini")));
  EXPECT_EQ(qv::SaveBootEntry(ini, 0, dir.Path("no/such/folder/boot.ini")),
            qv::BootEntrySave::WriteFailed);
}

TEST(NewBootIni, WindowsFolderNames) {
  struct Row {
    const char* dir;
    const char* name;
  } rows[] = {{"C:\\WINDOWS", "WINDOWS"},   {"c:\\winnt", "winnt"},
              {"C:\\a\\b\\WIN", "WIN"},     {"C:\\WINDOWS\\", "WINDOWS"},
              {"C:WIN", "WIN"},             {"C:\\\\WINDOWS", "WINDOWS"}};
  for (const Row& r : rows) EXPECT_EQ(qv::WindowsFolderName(r.dir), r.name) << r.dir;
}

TEST(NewBootIni, XpInCWindowsWritesTheSixLinesWithTheirAttributes) {
  TempDir dir;
  qv::NewBootIniTexts texts = qv::MakeNewBootIniTexts("C:\\WINDOWS", qv::kWinXP);
  EXPECT_EQ(texts.mainText,
            "[boot loader]\r\ntimeout=5\r\ndefault=" + kArc + "\r\n[operating systems]\r\n" + kArc +
                "=\"Microsoft Windows XP\" /fastdetect");
  EXPECT_EQ(texts.backupLine, kArc + "=\"(Backuped by Quorvex)Microsoft Windows XP\" /fastdetect");
  std::string path = dir.Path("boot.ini");
  ASSERT_EQ(qv::WriteNewBootIni(path, texts.mainText, texts.backupLine), qv::NewBootIniWrite::Written);
  EXPECT_EQ(TempDir::Slurp(path), TempDir::Slurp(std::string(QV_BOOT_GOLDEN) + "/new-xp.ini"));
  unsigned attributes = 0;
  ASSERT_TRUE(platform::GetFileAttributeBits(path, &attributes));
  EXPECT_TRUE(attributes & platform::kAttrReadOnly);
  // A second write replaces the read-only file.
  ASSERT_EQ(qv::WriteNewBootIni(path, "[boot loader]", ""), qv::NewBootIniWrite::Written);
  EXPECT_EQ(TempDir::Slurp(path), "[boot loader] /KERNEL=QVLOGO.EXE\r\n");
}

TEST(NewBootIni, EditedTextGetsTheSwitchOnItsLastLineAndCrLfEverywhere) {
  struct Row {
    const char* name;
    std::string edited;
    std::string bytes;
  } rows[] = {
      {"a line added after the system line", "[operating systems]\r\nA=\"a\"\r\nB=\"b\" /x",
       "[operating systems]\r\nA=\"a\"\r\nB=\"b\" /x /KERNEL=QVLOGO.EXE\r\nK=\"bk\"\r\n"},
      {"line ends after the last line are dropped", "[s]\r\nA=\"a\"\r\n\r\n",
       "[s]\r\nA=\"a\" /KERNEL=QVLOGO.EXE\r\nK=\"bk\"\r\n"},
      {"lone LF and CR become CR LF", "[s]\nA=1\rB=2",
       "[s]\r\nA=1\r\nB=2 /KERNEL=QVLOGO.EXE\r\nK=\"bk\"\r\n"},
      {"only line ends", "\r\n\r\n", ""},
      {"empty", "", ""},
  };
  for (const Row& r : rows)
    EXPECT_EQ(qv::NewBootIniBytes(r.edited, "K=\"bk\""), r.bytes) << r.name;
}

TEST(NewBootIni, WindowsOffDriveCGivesEmptyTextsAndWritesNothing) {
  qvtest::LogCapture log;
  TempDir dir;
  for (const char* windows : {"D:\\WINNT", ""}) {
    qv::NewBootIniTexts texts = qv::MakeNewBootIniTexts(windows, qv::kWin2000);
    EXPECT_EQ(texts.mainText, "") << windows;
    EXPECT_EQ(texts.backupLine, "") << windows;
    EXPECT_EQ(qv::WriteNewBootIni(dir.Path("boot.ini"), texts.mainText, texts.backupLine),
              qv::NewBootIniWrite::Empty);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.Path("boot.ini")));
  EXPECT_EQ(qv::NewBootIniSystemName(qv::kWinUnknown), "");
  EXPECT_EQ(qv::NewBootIniSystemName(qv::kWinNT4), "Microsoft Windows NT4");
  qv::NewBootIniTexts unknown = qv::MakeNewBootIniTexts("c:\\w", qv::kWinUnknown);
  EXPECT_NE(unknown.mainText.find("\\w=\"\" /fastdetect"), std::string::npos);
}

}  // namespace

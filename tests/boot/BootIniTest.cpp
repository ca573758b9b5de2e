#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "boot/BootINI.h"
#include "platform/SafeFile.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

namespace {

using qv::BootINI;
using qvtest::TempDir;

std::string Golden(const std::string& name) {
  return TempDir::Slurp(std::string(QV_BOOT_GOLDEN) + "/" + name);
}

const char* const kXp = "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS";

// A boot.ini with one operating-systems section holding the given "key=value" lines.
std::string OsSection(std::initializer_list<std::string> lines) {
  std::string text = "[boot loader]\r\ntimeout=30\r\n[operating systems]\r\n";
  for (const std::string& l : lines) text += l + "\r\n";
  return text;
}

std::vector<std::string> OsValues(BootINI& ini) {
  std::vector<std::string> values;
  for (const auto& p : ini.OperatingSystems()->pairs) values.push_back(p.key + "=" + p.value);
  return values;
}

TEST(BootINI, ReadsTrimmedPairsInFileOrderAndWritesTheExactForm) {
  TempDir dir;
  std::string path = dir.Write("boot.ini", Golden("user-edited.ini"));
  BootINI ini;
  ASSERT_TRUE(ini.Read(path));
  ASSERT_EQ(ini.sections().size(), 2u);
  EXPECT_EQ(ini.sections()[1].name, "operating systems");
  ASSERT_EQ(ini.OperatingSystems(), &ini.sections()[1]);
  const auto& pairs = ini.OperatingSystems()->pairs;
  ASSERT_EQ(pairs.size(), 4u);
  EXPECT_EQ(pairs[0].key, kXp);
  EXPECT_EQ(pairs[0].value, "\"Microsoft Windows XP Professional\" /fastdetect");
  EXPECT_EQ(pairs[1].value, "\"Windows 2000\" /fastdetect /kernel=ntkrnlmp.exe");
  EXPECT_EQ(pairs[3].key, "C:\\CMDCONS\\BOOTSECT.DAT");
  EXPECT_EQ(ini.sections()[0].pairs[0].value, "30");
  EXPECT_EQ(ini.Serialize(), Golden("written.ini"));
}

TEST(BootINI, ParsingCases) {
  struct Row {
    const char* what;
    std::string text;
    bool ok;
    std::string written;  // the model's written form afterwards
  } rows[] = {
      {"two sections of one name stay two", "[a]\nk=1\n[A]\nk=2\nk=3\n", true,
       "[a]\r\nk=1\r\n[A]\r\nk=2\r\nk=3\r\n"},
      {"case of keys and values kept", "[Operating Systems]\nMulti=\"X\" /NoExecute=OptIn\n",
       true, "[Operating Systems]\r\nMulti=\"X\" /NoExecute=OptIn\r\n"},
      {"end of file before ]", "[a]\nk=v\n[broken", true, "[a]\r\nk=v\r\n"},
      {"first pair without key fails", "[boot loader]\n=30\ntimeout=5\n", false,
       "[boot loader]\r\n"},
      {"later empty key keeps what came before", "[a]\nk=v\n[b]\nx=1\n  = 2\n", false,
       "[a]\r\nk=v\r\n[b]\r\nx=1\r\n"},
      {"empty file", "", true, ""},
      {"line feed inside a section name", "[a\nb]\n", true, "[a\r\nb]\r\n"},
  };
  for (const Row& r : rows) {
    qvtest::LogCapture log;
    BootINI ini;
    EXPECT_EQ(ini.Parse(r.text.data(), r.text.size()), r.ok) << r.what;
    EXPECT_EQ(ini.Serialize(), r.written) << r.what;
    EXPECT_EQ(log.lines().size(), r.ok ? 0u : 1u) << r.what;
  }
}

TEST(BootINI, DisplayNamesAndEntryKinds) {
  struct Row {
    const char* value;
    const char* name;
  } rows[] = {
      {"\"Microsoft Windows XP\" /fastdetect", "Microsoft Windows XP"},
      {"\"\" /x", ""},
      {"\"only one quote", ""},
      {"no quotes", ""},
      {"a\"b\"c\"d\"", "b"},
  };
  for (const Row& r : rows) EXPECT_EQ(BootINI::DisplayName(r.value), r.name) << r.value;
  EXPECT_TRUE(BootINI::IsWindowsEntry({kXp, ""}));
  EXPECT_FALSE(BootINI::IsWindowsEntry({"multi(0)disk(0)rdisk(0)PARTITION(1)\\WINDOWS", ""}));
  EXPECT_TRUE(BootINI::IsBackupEntry({kXp, "\"(BACKUPED BY QUORVEX)XP\""}));
  EXPECT_FALSE(BootINI::IsBackupEntry({kXp, "\"XP (Backuped by Quorvex)\""}));
}

TEST(BootINI, MarkAndUnmarkTheGoldenFile) {
  TempDir dir;
  std::string path = dir.Write("boot.ini", Golden("user-edited.ini"));
  BootINI ini;
  ASSERT_TRUE(ini.Read(path));
  EXPECT_EQ(ini.Mark(0, path), BootINI::MarkResult::Written);
  EXPECT_EQ(TempDir::Slurp(path), Golden("marked-0.ini"));
  // The previous content is kept beside the file; no half-made file is left.
  EXPECT_EQ(TempDir::Slurp(path + BootINI::kBackupSuffix), Golden("user-edited.ini"));
  EXPECT_FALSE(std::filesystem::exists(path + ".qvnew"));
  unsigned attributes = 0;
  ASSERT_TRUE(platform::GetFileAttributeBits(path, &attributes));
  EXPECT_TRUE(attributes & platform::kAttrReadOnly);

  // A second marking changes nothing and writes nothing.
  std::filesystem::remove(path + BootINI::kBackupSuffix);
  EXPECT_EQ(ini.Mark(0, path), BootINI::MarkResult::Unchanged);
  EXPECT_FALSE(std::filesystem::exists(path + BootINI::kBackupSuffix));

  // Replacing an existing kernel switch: its file name becomes ours, no second switch.
  EXPECT_EQ(ini.Mark(1, path), BootINI::MarkResult::Written);
  EXPECT_EQ(TempDir::Slurp(path), Golden("marked-0-1.ini"));
  EXPECT_EQ(TempDir::Slurp(path + BootINI::kBackupSuffix), Golden("marked-0.ini"));

  // Unmarking drops both backups and gives each entry back the kernel it had.
  BootINI restore;
  EXPECT_TRUE(restore.UnmarkAll(path));
  EXPECT_EQ(TempDir::Slurp(path), Golden("written.ini"));
  EXPECT_EQ(TempDir::Slurp(path + BootINI::kBackupSuffix), Golden("marked-0-1.ini"));
}

TEST(BootINI, MarkCases) {
  const std::string xp = std::string(kXp) + "=";
  struct Row {
    const char* what;
    std::string text;
    std::size_t index;
    BootINI::MarkResult result;
    std::vector<std::string> after;
  } rows[] = {
      {"switch appended, backup last", OsSection({xp + "\"XP Pro\" /fastdetect", "C:\\=\"Old\""}), 0,
       BootINI::MarkResult::Written,
       {xp + "\"XP Pro\" /fastdetect /KERNEL=QVLOGO.EXE", "C:\\=\"Old\"",
        xp + "\"(Backuped by Quorvex)XP Pro\" /fastdetect"}},
      {"switch in any case counts as marked",
       OsSection({xp + "\"XP\" /kernel=qvlogo.exe /fastdetect"}), 0,
       BootINI::MarkResult::Unchanged, {xp + "\"XP\" /kernel=qvlogo.exe /fastdetect"}},
      {"switch removed by hand: the backup is not doubled",
       OsSection({xp + "\"XP\" /fastdetect", xp + "\"(Backuped by Quorvex)XP\" /fastdetect"}), 0,
       BootINI::MarkResult::Written,
       {xp + "\"XP\" /fastdetect /KERNEL=QVLOGO.EXE", xp + "\"(Backuped by Quorvex)XP\" /fastdetect"}},
      {"HALAACPI name replaced up to the blank",
       OsSection({xp + "\"XP\" /KERNEL=HALAACPI.EXE /fastdetect"}), 0, BootINI::MarkResult::Written,
       {xp + "\"XP\" /KERNEL=QVLOGO.EXE /fastdetect", xp + "\"(Backuped by Quorvex)XP\" /KERNEL=HALAACPI.EXE /fastdetect"}},
      {"name ends at a high byte", OsSection({xp + "\"XP\" /kernel=ab\xE9z"}), 0,
       BootINI::MarkResult::Written,
       {xp + "\"XP\" /kernel=QVLOGO.EXE\xE9z", xp + "\"(Backuped by Quorvex)XP\" /kernel=ab\xE9z"}},
      {"value without quote: backup equals the value", OsSection({xp + "noquote"}), 0,
       BootINI::MarkResult::Written, {xp + "noquote /KERNEL=QVLOGO.EXE", xp + "noquote"}},
      {"not a Windows entry", OsSection({"C:\\=\"Old\""}), 0, BootINI::MarkResult::NoEntry,
       {"C:\\=\"Old\""}},
      {"index past the end", OsSection({xp + "\"XP\""}), 1, BootINI::MarkResult::NoEntry,
       {xp + "\"XP\""}},
  };
  for (const Row& r : rows) {
    TempDir dir;
    std::string path = dir.Write("boot.ini", r.text);
    BootINI ini;
    ASSERT_TRUE(ini.Read(path)) << r.what;
    EXPECT_EQ(ini.Mark(r.index, path), r.result) << r.what;
    BootINI reread;
    ASSERT_TRUE(reread.Read(path)) << r.what;
    EXPECT_EQ(OsValues(reread), r.after) << r.what;
  }
  BootINI none;
  std::string noSection = "[boot loader]\r\ntimeout=1\r\n";
  ASSERT_TRUE(none.Parse(noSection.data(), noSection.size()));
  EXPECT_EQ(none.Mark(0, "/nonexistent/boot.ini"), BootINI::MarkResult::NoEntry);
}

TEST(BootINI, UnmarkCases) {
  const std::string xp = std::string(kXp) + "=";
  const std::string p2 = "multi(0)disk(0)rdisk(0)partition(2)\\WINDOWS=";
  struct Row {
    const char* what;
    std::vector<std::string> before, after;
  } rows[] = {
      {"backup without counterpart is kept",
       {xp + "\"(Backuped by Quorvex)XP\" /fastdetect"},
       {xp + "\"(Backuped by Quorvex)XP\" /fastdetect"}},
      {"counterpart under another key does not count",
       {p2 + "\"XP\" /fastdetect /KERNEL=QVLOGO.EXE", xp + "\"(Backuped by Quorvex)XP\" /fastdetect"},
       {p2 + "\"XP\" /fastdetect", xp + "\"(Backuped by Quorvex)XP\" /fastdetect"}},
      {"adjacent backups removed with the shrinking count",
       {xp + "\"(Backuped by Quorvex)XP\" /a", xp + "\"(backuped by quorvex)XP\" /b",
        xp + "\"XP\" /fastdetect /KERNEL=QVLOGO.EXE"},
       {xp + "\"XP\" /fastdetect"}},
      {"HALAACPI entry gets its own name back",
       {xp + "\"XP\" /KERNEL=QVLOGO.EXE /fastdetect",
        xp + "\"(Backuped by Quorvex)XP\" /KERNEL=HALAACPI.EXE /fastdetect"},
       {xp + "\"XP\" /KERNEL=HALAACPI.EXE /fastdetect"}},
      {"switch cut in any case, only its first time",
       {xp + "\"XP\" /Kernel=QvLogo.exe", xp + "\"\" /KERNEL=QVLOGO.EXE /KERNEL=QVLOGO.EXE"},
       {xp + "\"XP\"", xp + "\"\" /KERNEL=QVLOGO.EXE"}},
      {"non-Windows entries untouched", {"C:\\=\"Old\" /KERNEL=QVLOGO.EXE"},
       {"C:\\=\"Old\" /KERNEL=QVLOGO.EXE"}},
  };
  for (const Row& r : rows) {
    TempDir dir;
    std::string text = "[boot loader]\r\ntimeout=30\r\n[Operating Systems]\r\n";
    for (const std::string& l : r.before) text += l + "\r\n";
    std::string path = dir.Write("boot.ini", text);
    BootINI ini;
    EXPECT_TRUE(ini.UnmarkAll(path)) << r.what;
    BootINI reread;
    ASSERT_TRUE(reread.Read(path)) << r.what;
    EXPECT_EQ(OsValues(reread), r.after) << r.what;
    EXPECT_EQ(reread.sections()[1].name, "Operating Systems");
  }
  qvtest::LogCapture log;
  BootINI ini;
  TempDir dir;
  EXPECT_FALSE(ini.UnmarkAll(dir.Path("missing.ini")));
  std::string noSection = dir.Write("plain.ini", std::string("[boot loader]\r\ntimeout=1\r\n"));
  EXPECT_FALSE(ini.UnmarkAll(noSection));
  EXPECT_EQ(TempDir::Slurp(noSection), "[boot loader]\r\ntimeout=1\r\n");
  EXPECT_GE(log.lines().size(), 2u);
}

TEST(BootINI, AFailedWriteLeavesTheOldFileWhole) {
  TempDir dir;
  std::string path = dir.Write("boot.ini", Golden("written.ini"));
  BootINI ini;
  ASSERT_TRUE(ini.Read(path));
  // The new file can't be made beside the old one.
  std::filesystem::create_directory(path + ".qvnew");
  qvtest::LogCapture log;
  EXPECT_EQ(ini.Mark(0, path), BootINI::MarkResult::WriteFailed);
  EXPECT_EQ(TempDir::Slurp(path), Golden("written.ini"));
  EXPECT_FALSE(std::filesystem::exists(path + BootINI::kBackupSuffix));
  EXPECT_EQ(log.lines().size(), 1u);
  // In a folder that does not exist nothing is written at all.
  EXPECT_FALSE(ini.Write(dir.Path("no/such/folder/boot.ini")));
}

}  // namespace

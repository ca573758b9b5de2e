// File replacement by renames (Windows 95, 98 and Me) and the recovery of a replacement cut off
// between its renames. The same cases run natively and under Wine, where the renames are
// MoveFileA and DeleteFileA.
#include "platform/SafeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/Platform.h"

namespace {

class FileReplacement : public ::testing::Test {
 protected:
  void SetUp() override {
    static int serial = 0;
    folder_ = std::filesystem::temp_directory_path() /
              ("qv-replace-" + std::to_string(platform::TickCount()) + "-" + std::to_string(++serial));
    std::filesystem::create_directories(folder_);
    path_ = (folder_ / "qv.dat").string();
    platform::SetReplaceByRenaming(true);
  }
  void TearDown() override {
    platform::SetReplaceByRenaming(false);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  static void Put(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
  static std::string Content(const std::string& path) {
    std::string bytes;
    return platform::ReadFileBytes(path, bytes) ? bytes : std::string("(none)");
  }
  // What the folder holds: the file and the names a replacement uses beside it.
  std::string State() const {
    return Content(path_) + "|" + Content(path_ + ".qvnew") + "|" + Content(path_ + ".qvbak");
  }

  std::filesystem::path folder_;
  std::string path_;
};

TEST_F(FileReplacement, RenamesPutTheNewFileInPlaceAndLeaveNothingBeside) {
  Put(path_, "old");
  EXPECT_TRUE(platform::ReplaceFileContent(path_, "new", std::string()));
  EXPECT_EQ(State(), "new|(none)|(none)");
  // A first write, with no old file to step aside.
  ASSERT_TRUE(platform::RemoveFile(path_));
  EXPECT_TRUE(platform::ReplaceFileContent(path_, "first", std::string()));
  EXPECT_EQ(State(), "first|(none)|(none)");
  // The simple writer takes the same road.
  EXPECT_TRUE(platform::WriteFileReplacing(path_, std::string("bitmap")));
  EXPECT_EQ(State(), "bitmap|(none)|(none)");
}

TEST_F(FileReplacement, AnOldRenamedAsideBeforeIsNoHindranceEvenReadOnly) {
  Put(path_, "old");
  Put(path_ + ".qvbak", "older");
  ASSERT_TRUE(platform::SetFileAttributeBits(path_ + ".qvbak", platform::kAttrReadOnly));
  EXPECT_TRUE(platform::ReplaceFileContent(path_, "new", std::string()));
  EXPECT_EQ(State(), "new|(none)|(none)");
}

TEST_F(FileReplacement, ABackupOfTheSameNameKeepsTheOldContent) {
  Put(path_, "old");
  EXPECT_TRUE(platform::ReplaceFileContent(path_, "new", path_ + ".qvbak"));
  EXPECT_EQ(State(), "new|(none)|old");
  EXPECT_TRUE(platform::ReplaceFileContent(path_, "newer", path_ + ".qvbak"));
  EXPECT_EQ(State(), "newer|(none)|new");
}

TEST_F(FileReplacement, AFailedRenameLeavesTheOldFile) {
  Put(path_, "old");
  // A folder where the new file should be written: nothing can be written, nothing is lost.
  std::filesystem::create_directories(path_ + ".qvnew");
  EXPECT_FALSE(platform::ReplaceFileContent(path_, "new", std::string()));
  EXPECT_EQ(Content(path_), "old");
  EXPECT_FALSE(platform::MoveFileOver(path_ + ".missing", path_));
  EXPECT_EQ(Content(path_), "old");
  EXPECT_FALSE(platform::FileExists(path_ + ".qvbak"));
}

// Every state a kill between the steps can leave, and what start-up makes of it.
TEST_F(FileReplacement, RecoveryPutsBackWhatACutOffReplacementLeft) {
  struct Case {
    const char* name;
    const char* file;
    const char* fresh;
    const char* old;
    const char* after;
  } cases[] = {
      {"new written, old not yet renamed", "old", "new", nullptr, "old|new|(none)"},
      {"old renamed aside, new complete", nullptr, "new", "old", "new|(none)|(none)"},
      {"new in place, old not yet deleted", "new", nullptr, "old", "new|(none)|old"},
      {"only the old one left", nullptr, nullptr, "old", "old|(none)|(none)"},
      {"a first write cut off after its flush", nullptr, "first", nullptr, "first|(none)|(none)"},
      {"nothing there", nullptr, nullptr, nullptr, "(none)|(none)|(none)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const char* suffix : {"", ".qvnew", ".qvbak"}) platform::RemoveFile(path_ + suffix);
    if (c.file) Put(path_, c.file);
    if (c.fresh) Put(path_ + ".qvnew", c.fresh);
    if (c.old) Put(path_ + ".qvbak", c.old);
    EXPECT_TRUE(platform::RecoverReplacedFile(path_));
    EXPECT_EQ(State(), c.after);
  }
}

TEST_F(FileReplacement, RenameRefusesToOverwriteAndRemoveTakesReadOnlyFiles) {
  Put(path_, "a");
  Put(path_ + ".b", "b");
  EXPECT_FALSE(platform::RenameFile(path_ + ".b", path_));
  EXPECT_EQ(Content(path_), "a");
  ASSERT_TRUE(platform::SetFileAttributeBits(path_, platform::kAttrReadOnly));
  EXPECT_TRUE(platform::RemoveFile(path_));
  EXPECT_FALSE(platform::FileExists(path_));
  EXPECT_TRUE(platform::RemoveFile(path_));  // nothing left is success
}

}  // namespace

// The boot.ini write on Windows: the Win32 side of the safe replacement and the attributes.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "boot/BootINI.h"
#include "platform/SafeFile.h"
#include "tests/support/LogCapture.h"

namespace {

using qv::BootINI;

std::string FreshFolder() {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string folder = std::string(temp) + "qv-bootini-" + std::to_string(GetCurrentProcessId()) +
                       "-" + std::to_string(GetTickCount());
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

std::string Slurp(const std::string& path) {
  std::string bytes;
  HANDLE h = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                         nullptr);
  if (h == INVALID_HANDLE_VALUE) return bytes;
  char buffer[4096];
  DWORD n = 0;
  while (ReadFile(h, buffer, sizeof buffer, &n, nullptr) && n > 0) bytes.append(buffer, n);
  CloseHandle(h);
  return bytes;
}

void Spit(const std::string& path, const std::string& bytes) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  DWORD n = 0;
  WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &n, nullptr);
  CloseHandle(h);
}

const char* const kOriginal =
    "[boot loader]\r\ntimeout=30\r\n[operating systems]\r\n"
    "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS = \"Microsoft Windows XP Professional\" "
    "/fastdetect\r\n";
const char* const kMarked =
    "[boot loader]\r\ntimeout=30\r\n[operating systems]\r\n"
    "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Microsoft Windows XP Professional\" "
    "/fastdetect /KERNEL=QVLOGO.EXE\r\n"
    "multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"(Backuped by Quorvex)Microsoft Windows XP "
    "Professional\" /fastdetect\r\n";

TEST(WinBootINI, MarkReplacesAReadOnlySystemFileAndKeepsTheOldContent) {
  std::string folder = FreshFolder();
  std::string path = folder + "boot.ini";
  Spit(path, kOriginal);
  ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                   FILE_ATTRIBUTE_SYSTEM));
  BootINI ini;
  ASSERT_TRUE(ini.Read(path));
  EXPECT_EQ(ini.Mark(0, path), BootINI::MarkResult::Written);
  EXPECT_EQ(Slurp(path), kMarked);
  EXPECT_EQ(Slurp(path + BootINI::kBackupSuffix), kOriginal);
  EXPECT_EQ(GetFileAttributesA((path + ".qvnew").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetFileAttributesA(path.c_str()) &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                 FILE_ATTRIBUTE_ARCHIVE),
            DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));

  // Unmarking writes over the read-only file and over the earlier backup.
  BootINI restore;
  EXPECT_TRUE(restore.UnmarkAll(path));
  EXPECT_EQ(Slurp(path + BootINI::kBackupSuffix), kMarked);
  BootINI reread;
  ASSERT_TRUE(reread.Read(path));
  ASSERT_EQ(reread.OperatingSystems()->pairs.size(), 1u);
  EXPECT_EQ(reread.OperatingSystems()->pairs[0].value,
            "\"Microsoft Windows XP Professional\" /fastdetect");
}

TEST(WinBootINI, AFailedWriteLeavesTheOldFileAndItsContent) {
  std::string folder = FreshFolder();
  std::string path = folder + "boot.ini";
  Spit(path, kOriginal);
  BootINI ini;
  ASSERT_TRUE(ini.Read(path));
  // A folder in the way of the new file.
  ASSERT_TRUE(CreateDirectoryA((path + ".qvnew").c_str(), nullptr));
  qvtest::LogCapture log;
  EXPECT_EQ(ini.Mark(0, path), BootINI::MarkResult::WriteFailed);
  EXPECT_EQ(Slurp(path), kOriginal);
  EXPECT_EQ(log.lines().size(), 1u);
  // The attributes stay normal after a failed write.
  EXPECT_EQ(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
}

TEST(WinBootINI, TheRealPathOnDriveC) {
  // The test prefix is disposable; its boot.ini is put back as it was.
  std::string saved = Slurp(BootINI::kPath);
  bool existed = GetFileAttributesA(BootINI::kPath) != INVALID_FILE_ATTRIBUTES;
  if (existed) SetFileAttributesA(BootINI::kPath, FILE_ATTRIBUTE_NORMAL);
  Spit(BootINI::kPath, kOriginal);
  BootINI ini;
  ASSERT_TRUE(ini.Read(BootINI::kPath));
  EXPECT_EQ(ini.Mark(0), BootINI::MarkResult::Written);
  EXPECT_EQ(Slurp(BootINI::kPath), kMarked);
  EXPECT_TRUE(BootINI().UnmarkAll());
  SetFileAttributesA(BootINI::kPath, FILE_ATTRIBUTE_NORMAL);
  std::string backup = std::string(BootINI::kPath) + BootINI::kBackupSuffix;
  SetFileAttributesA(backup.c_str(), FILE_ATTRIBUTE_NORMAL);
  DeleteFileA(backup.c_str());
  if (existed)
    Spit(BootINI::kPath, saved);
  else
    DeleteFileA(BootINI::kPath);
}

}  // namespace

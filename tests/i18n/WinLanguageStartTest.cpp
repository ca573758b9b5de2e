#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/i18n/WinDialogText.h"
#include "tests/support/WinProgramSettings.h"
#include "tests/support/WinTestSupport.h"

namespace {

const char kLanguageFailed[] = "Failed in initializing internationl language manager";

// A copy of the program in a folder of its own, with a "language" folder prepared beside it.
class ProgramCopy {
 public:
  explicit ProgramCopy(const char* tag) {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    folder_ = std::string(temp) + "qvlang-" + tag + "-" + std::to_string(GetCurrentProcessId()) + "\\";
    CreateDirectoryA(folder_.c_str(), nullptr);
    CreateDirectoryA((folder_ + "language").c_str(), nullptr);
    copied_ = CopyFileA((qvtest::DistFolder() + "Quorvex.exe").c_str(), program().c_str(), FALSE) != FALSE;
  }
  ~ProgramCopy() {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder_ + "language\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
      do DeleteFileA((folder_ + "language\\" + found.cFileName).c_str());
      while (FindNextFileA(search, &found));
      FindClose(search);
    }
    RemoveDirectoryA((folder_ + "language").c_str());
    DeleteFileA(program().c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  bool copied() const { return copied_; }
  std::string program() const { return folder_ + "Quorvex.exe"; }
  void RemoveLanguageFolder() const { RemoveDirectoryA((folder_ + "language").c_str()); }
  bool AddLanguage(const char* name, const std::string& bytes) const {
    HANDLE file = CreateFileA((folder_ + "language\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
    return ok && written == bytes.size();
  }

 private:
  std::string folder_;
  bool copied_ = false;
};

TEST(WinLanguageStart, NoUsableLanguageShowsMessage103AndEnds) {
  struct Row {
    const char* tag;
    bool removeFolder;
    const char* file;
    const char* bytes;
  } rows[] = {
      {"empty", false, nullptr, nullptr},
      {"missing", true, nullptr, nullptr},
      {"noinfo", false, "qveng.lng", "[Strings]\r\n0003=x\r\n"},
      {"emptykey", false, "qveng.lng", "[info]\r\nlang name=English\r\n[Strings]\r\n=x\r\n"},
      {"pattern", false, "english.lng", "[info]\r\nlang name=English\r\n"},
  };
  for (const Row& r : rows) {
    SCOPED_TRACE(r.tag);
    ProgramCopy copy(r.tag);
    ASSERT_TRUE(copy.copied());
    if (r.removeFolder) copy.RemoveLanguageFolder();
    if (r.file) ASSERT_TRUE(copy.AddLanguage(r.file, r.bytes));

    qvtest::ChildProcess child;
    ASSERT_TRUE(child.Start(copy.program()));
    HWND box = qvtest::WaitForWindow("Quorvex", child.Id(), 60000);
    ASSERT_NE(box, nullptr) << "no message box";
    EXPECT_TRUE(qvtest::IsDialogClass(box));
    EXPECT_EQ(qvtest::WaitForStaticTexts(box, 10000), kLanguageFailed);
    EXPECT_TRUE(child.IsRunning()) << "the program waits for the message to be dismissed";

    PostMessageA(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(child.WaitForExit(30000)) << "the program must end once the message is dismissed";
    EXPECT_EQ(child.ExitCode(), 1u);
  }
}

TEST(WinLanguageStart, AUsableLanguageLetsTheProgramRun) {
  ProgramCopy copy("usable");
  ASSERT_TRUE(copy.copied());
  // The first file cannot be loaded; the next one in sorted order can.
  ASSERT_TRUE(copy.AddLanguage("qvaaa.lng", "[info]\r\nlang name=Aaa\r\n[Strings]\r\n=x\r\n"));
  ASSERT_TRUE(copy.AddLanguage("qvzzz.lng", "[info]\r\nlang name=Zzz\r\n[Strings]\r\n0003=x\r\n"));
  ASSERT_TRUE(qvtest::PlantDefaultSettings());  // no first-start wizard
  qvtest::ChildProcess child;
  ASSERT_TRUE(child.Start(copy.program()));
  HWND window = qvtest::WaitForWindow("Quorvex", child.Id(), 60000);
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(qvtest::WaitForStaticTexts(window, 10000).find(kLanguageFailed), std::string::npos)
      << "the main window, not the failure message";
  // Closing the main window leaves the agent resident; the agent's quit message ends it.
  PostMessageA(window, 2107, 0, 0);
  EXPECT_TRUE(child.WaitForExit(30000));
}

TEST(WinLanguageStart, ShippedLanguagesAreBesideTheProgram) {
  for (const char* name : {"qveng.lng", "qvdeu.lng"}) {
    std::string path = qvtest::DistFolder() + "language\\" + name;
    EXPECT_NE(GetFileAttributesA(path.c_str()), INVALID_FILE_ATTRIBUTES) << path;
  }
}

}  // namespace

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/mainwindow/MainWindowRes.h"
#include "core/mainwindow/Watch.h"
#include "platform/PrivateMessages.h"
#include "tests/support/LogCapture.h"
#include "widgets/CustomWindow.h"

namespace {

class Receiver : public widgets::CustomWindow {
 public:
  int fileNotices = 0;
  int folderNotices = 0;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == QV_MSG_FOLDER_CHANGED) (wParam == 1 ? fileNotices : folderNotices)++;
    return CustomWindow::OnMessage(message, wParam, lParam);
  }
};

void Pump(DWORD ms) {
  DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  } while (GetTickCount() - start < ms);
}

// Polls until the condition holds or ms pass, pumping messages meanwhile.
template <typename F>
bool PumpUntil(F condition, DWORD ms) {
  DWORD start = GetTickCount();
  while (!condition()) {
    if (GetTickCount() - start > ms) return false;
    Pump(20);
  }
  return true;
}

// Removes path's files and folders (not path itself).
void EmptyFolder(const std::string& path) {
  WIN32_FIND_DATAA entry;
  HANDLE find = FindFirstFileA((path + "\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = entry.cFileName;
    if (name == "." || name == "..") continue;
    std::string child = path + "\\" + name;
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      EmptyFolder(child);
      RemoveDirectoryA(child.c_str());
    } else {
      DeleteFileA(child.c_str());
    }
  } while (FindNextFileA(find, &entry));
  FindClose(find);
}

// An empty folder of its own: Wine reuses process ids, so a run that failed before its clean-up
// may have left the same name with a "sub" folder, whose creation would then change nothing.
std::string MakeTempFolder(const std::string& name) {
  char base[MAX_PATH];
  GetTempPathA(MAX_PATH, base);
  std::string path = std::string(base) + "qvwatch-" + std::to_string(GetCurrentProcessId()) + "-" +
                     name;
  CreateDirectoryA(path.c_str(), nullptr);
  EmptyFolder(path);
  return path;
}

void WriteFile(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  ::WriteFile(file, "x", 1, &written, nullptr);
  CloseHandle(file);
}

struct WatchFixture : ::testing::Test {
  void SetUp() override {
    ASSERT_TRUE(receiver.Create("QvWatchReceiver", WS_POPUP, 0, 0, 0, 10, 10, nullptr));
    watch.SetReceiver(receiver);
  }
  void TearDown() override { watch.Reset(); }
  Receiver receiver;
  qv::Watch watch;
};

TEST_F(WatchFixture, FoldersAreLowerCasedSortedAndKeptOnce) {
  EXPECT_EQ(watch.AddFolder("C:\\Pictures\\Summer"), 0);
  EXPECT_EQ(watch.AddFolder("c:\\pictures\\summer"), 0);
  EXPECT_EQ(watch.AddFolder("C:\\ABC"), 0);
  ASSERT_EQ(watch.Folders().size(), 2u);
  EXPECT_EQ(watch.Folders()[0], "c:\\abc");
  EXPECT_EQ(watch.Folders()[1], "c:\\pictures\\summer");

  qvtest::LogCapture log;
  EXPECT_EQ(watch.AddFolder(""), -1);
  EXPECT_EQ(watch.AddFolder(std::string(300, 'a')), -1);
  EXPECT_EQ(log.lines().size(), 2u);
  watch.Reset();
  EXPECT_TRUE(watch.Folders().empty());
}

TEST_F(WatchFixture, WithoutFoldersNoWorkerRunsUntilAFolderIsAdded) {
  watch.Start();
  EXPECT_TRUE(watch.IsRunning());
  EXPECT_EQ(watch.LiveWorkers(), 0) << "a resident agent with no folders holds no thread";
  watch.Stop();
  EXPECT_FALSE(watch.IsRunning());
  watch.Start();
  const std::string folder = MakeTempFolder("late");
  ASSERT_EQ(watch.AddFolder(folder), 0);
  EXPECT_TRUE(watch.IsRunning());
  EXPECT_EQ(watch.LiveWorkers(), 1) << "the folder added while running is watched";
  watch.Start();  // already running: nothing more
  EXPECT_EQ(watch.LiveWorkers(), 1);
  Pump(200);
  EXPECT_EQ(watch.LiveWorkers(), 1) << "the stop event was reset before the worker began";
  watch.Reset();
  RemoveDirectoryA(folder.c_str());
}

TEST_F(WatchFixture, FileAndFolderChangesPostTheirKinds) {
  std::string folder = MakeTempFolder("kinds");
  ASSERT_EQ(watch.AddFolder(folder), 0);
  watch.Start();
  Pump(300);
  WriteFile(folder + "\\one.jpg");
  ASSERT_TRUE(PumpUntil([&] { return receiver.fileNotices > 0; }, 5000));
  ASSERT_TRUE(CreateDirectoryA((folder + "\\sub").c_str(), nullptr));
  ASSERT_TRUE(PumpUntil([&] { return receiver.folderNotices > 0; }, 5000));
  watch.Stop();
  RemoveDirectoryA((folder + "\\sub").c_str());
  DeleteFileA((folder + "\\one.jpg").c_str());
  RemoveDirectoryA(folder.c_str());
}

TEST_F(WatchFixture, AddingWhileRunningRestartsOverTheNewSet) {
  std::string a = MakeTempFolder("add-a");
  std::string b = MakeTempFolder("add-b");
  watch.AddFolder(a);
  watch.Start();
  ASSERT_EQ(watch.AddFolder(b), 0);
  EXPECT_TRUE(watch.IsRunning());
  EXPECT_EQ(watch.LiveWorkers(), 1);
  Pump(300);
  WriteFile(b + "\\new.png");
  EXPECT_TRUE(PumpUntil([&] { return receiver.fileNotices > 0; }, 5000));
  watch.Stop();
  DeleteFileA((b + "\\new.png").c_str());
  RemoveDirectoryA(a.c_str());
  RemoveDirectoryA(b.c_str());
}

TEST_F(WatchFixture, AFolderThatCannotBeWatchedEndsTheWorker) {
  qvtest::LogCapture log;
  watch.AddFolder("c:\\no such folder\\anywhere");
  watch.Start();
  EXPECT_TRUE(PumpUntil([&] { return watch.LiveWorkers() == 0; }, 2000));
  EXPECT_TRUE(watch.IsRunning()) << "running until stopped";
  ASSERT_FALSE(log.lines().empty());
  EXPECT_NE(log.lines()[0].find("Watch.cpp"), std::string::npos);
}

TEST_F(WatchFixture, ADeletedFolderEndsWatchingUntilTheNextStart) {
  std::string folder = MakeTempFolder("deleted");
  std::string other = MakeTempFolder("survivor");
  watch.AddFolder(folder);
  watch.AddFolder(other);
  watch.Start();
  Pump(300);
  ASSERT_TRUE(RemoveDirectoryA(folder.c_str()));
  // Windows signals the deleted folder's notification; Wine keeps the deletion pending while
  // the notifications hold the folder, until a change elsewhere makes the worker close them.
  WriteFile(other + "\\wake.jpg");
  EXPECT_TRUE(PumpUntil([&] { return watch.LiveWorkers() == 0; }, 5000))
      << "the deleted folder cannot be watched again";
  EXPECT_GE(receiver.fileNotices + receiver.folderNotices, 1);
  receiver.fileNotices = 0;
  WriteFile(other + "\\late.jpg");
  Pump(500);
  EXPECT_EQ(receiver.fileNotices, 0) << "nothing is watched any more";

  // The next close of the configuration window resets and starts again.
  watch.Reset();
  watch.AddFolder(other);
  watch.Start();
  Pump(300);
  WriteFile(other + "\\later.jpg");
  EXPECT_TRUE(PumpUntil([&] { return receiver.fileNotices > 0; }, 5000));
  watch.Stop();
  DeleteFileA((other + "\\wake.jpg").c_str());
  DeleteFileA((other + "\\late.jpg").c_str());
  DeleteFileA((other + "\\later.jpg").c_str());
  RemoveDirectoryA(other.c_str());
}

TEST_F(WatchFixture, MoreThan31FoldersAreAllWatched) {
  std::vector<std::string> folders;
  for (int i = 0; i < 40; ++i) {
    folders.push_back(MakeTempFolder("many-" + std::to_string(100 + i)));
    ASSERT_EQ(watch.AddFolder(folders.back()), 0);
  }
  watch.Start();
  EXPECT_EQ(watch.LiveWorkers(), 2);
  Pump(500);
  // A worker arms its folders one after another; on a loaded machine the last ones may not be
  // armed yet, so a missed write is repeated under a new name until the time limit.
  for (int i : {0, 30, 31, 39}) {
    receiver.fileNotices = 0;
    bool noticed = false;
    for (int attempt = 0; attempt < 10 && !noticed; ++attempt) {
      WriteFile(folders[i] + "\\p" + std::to_string(attempt) + ".jpg");
      noticed = PumpUntil([&] { return receiver.fileNotices > 0; }, 1000);
    }
    EXPECT_TRUE(noticed) << "folder " << i;
    Pump(200);
  }
  watch.Stop();
  for (const auto& f : folders) {
    for (int attempt = 0; attempt < 10; ++attempt)
      DeleteFileA((f + "\\p" + std::to_string(attempt) + ".jpg").c_str());
    RemoveDirectoryA(f.c_str());
  }
}

}  // namespace

// The screen saver changer and commands in the test prefix, with the stand-in screen savers of
// the test build copied into folders of the prefix (one with spaces in its name).
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "changers/ScreenSaverChanger.h"
#include "core/ChangeLists.h"
#include "core/ListServices.h"
#include "core/ScreenSaverItemData.h"
#include "core/WindowsGeneration.h"
#include "core/mainwindow/MainWindowRes.h"
#include "platform/AgentWindow.h"
#include "platform/Platform.h"
#include "platform/PrivateMessages.h"
#include "tests/changers/WinChangerSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::ReadUserValue;

const std::string kDesktop = "Control Panel\\desktop";

std::string TempFolder() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

// A fresh folder of the temporary folder, emptied of what an earlier run left.
std::string FreshFolder(const std::string& name) {
  std::string folder = TempFolder() + name;
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      std::string entry = folder + "\\" + found.cFileName;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDirectoryA(entry.c_str());
      else
        DeleteFileA(entry.c_str());
    } while (FindNextFileA(h, &found));
    FindClose(h);
  }
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder + "\\";
}

// A stand-in screen saver of the test build copied to path.
std::string InstallSaver(const char* program, const std::string& path) {
  std::string from = qvtest::TestFolder() + program;
  EXPECT_TRUE(CopyFileA(from.c_str(), path.c_str(), FALSE)) << from;
  return path;
}

// The command line a stand-in screen saver was started with, waiting up to ten seconds for it.
std::string StartedWith(const std::string& saver) {
  const std::string args = saver + ".args";
  for (int i = 0; i < 100; ++i) {
    std::ifstream in(args, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (!text.empty()) return text;
    Sleep(100);
  }
  return std::string();
}

// "ScreenSaveTimeOut" in seconds. The changer writes it as a number value; the system's own
// time-out call that follows rewrites it in the text form that the system keeps (Wine does so too).
long StoredTimeout() {
  qvtest::RegValue value = ReadUserValue(kDesktop, "ScreenSaveTimeOut");
  if (!value.exists) return -1;
  if (value.type == REG_DWORD && value.data.size() == 4)
    return static_cast<long>(*reinterpret_cast<const DWORD*>(value.data.data()));
  if (value.type == REG_SZ) return std::stol("0" + value.Text());
  return -2;
}

UINT SystemTimeout() {
  UINT seconds = 0;
  SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
  return seconds;
}

std::string SystemIniSaver() {
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  char text[MAX_PATH] = {};
  GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "<none>", text, MAX_PATH,
                           (std::string(windows) + "\\SYSTEM.INI").c_str());
  return text;
}

TEST(ScreenSaverItems, NamesComeFromStringOneOrTheFileName) {
  const std::string folder = FreshFolder("qv savers names");
  const auto named = qv::ScreenSaverItemData::FromPath(
      InstallSaver("qv_fake_saver_named.exe", folder + "ocean.scr"));
  EXPECT_EQ("Quorvex Test Saver", named.name);
  EXPECT_EQ(folder + "ocean.scr", named.path);
  const auto blank = qv::ScreenSaverItemData::FromPath(
      InstallSaver("qv_fake_saver_blank.exe", folder + "My.Saver.scr"));
  EXPECT_EQ("My.Saver", blank.name) << "an empty string 1 gives the file name";
  const auto plain = qv::ScreenSaverItemData::FromPath(
      InstallSaver("qv_fake_saver_plain.exe", folder + "Plain.Old.scr"));
  EXPECT_EQ("Plain.Old", plain.name);
  const auto missing = qv::ScreenSaverItemData::FromPath(folder + "gone.scr");
  EXPECT_EQ("gone", missing.name);
}

TEST(ScreenSaverItems, ScanTakesScreenSaverFilesOnly) {
  const std::string folder = FreshFolder("qv savers scan");
  InstallSaver("qv_fake_saver_named.exe", folder + "one.scr");
  InstallSaver("qv_fake_saver_plain.exe", folder + "two.scr");
  InstallSaver("qv_fake_saver_plain.exe", folder + "three.exe");
  ASSERT_TRUE(CreateDirectoryA((folder + "x.scr").c_str(), nullptr));
  std::vector<qv::ScreenSaverItemData> list;
  list.push_back({"kept", "C:\\kept.scr"});
  qv::ScanScreenSavers(folder.substr(0, folder.size() - 1), list);  // without the last "\"
  ASSERT_EQ(3u, list.size());
  EXPECT_EQ("kept", list[0].name) << "the scan appends";
  std::vector<std::string> paths{qvtest::LowerCase(list[1].path), qvtest::LowerCase(list[2].path)};
  std::sort(paths.begin(), paths.end());
  EXPECT_EQ(qvtest::LowerCase(folder + "one.scr"), paths[0]);
  EXPECT_EQ(qvtest::LowerCase(folder + "two.scr"), paths[1]);
  RemoveDirectoryA((folder + "x.scr").c_str());
}

TEST(ScreenSaverChanger, NamesTheShortPathEverywhere) {
  const std::string folder = FreshFolder("qv saver folder with spaces");
  const std::string saver = InstallSaver("qv_fake_saver_named.exe", folder + "Long Saver Name.scr");
  char shortPath[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameA(saver.c_str(), shortPath, MAX_PATH), 0u);
  ASSERT_EQ(std::string::npos, std::string(shortPath).find(' ')) << shortPath;
  ASSERT_NE(saver, shortPath);

  ASSERT_TRUE(qvtest::WriteUserText(kDesktop, "ScreenSaveActive", "0"));
  ASSERT_TRUE(qv::SetScreenSaver(saver, 600));
  qvtest::RegValue active = ReadUserValue(kDesktop, "ScreenSaveActive");
  EXPECT_EQ(REG_SZ, active.type);
  EXPECT_EQ(std::string("1") + '\0', active.data);
  qvtest::RegValue program = ReadUserValue(kDesktop, "SCRNSAVE.EXE");
  EXPECT_EQ(REG_SZ, program.type);
  EXPECT_EQ(std::string(shortPath) + '\0', program.data);
  EXPECT_EQ(600, StoredTimeout());
  EXPECT_EQ(600u, SystemTimeout());
  EXPECT_EQ(shortPath, SystemIniSaver());
}

TEST(ScreenSaverChanger, NoWaitingTimeBecomesFiveMinutes) {
  const std::string folder = FreshFolder("qv saver timeout");
  const std::string saver = InstallSaver("qv_fake_saver_plain.exe", folder + "t.scr");
  for (int seconds : {0, -60}) {
    SCOPED_TRACE(seconds);
    ASSERT_TRUE(qv::SetScreenSaver(saver, seconds));
    EXPECT_EQ(300, StoredTimeout());
    EXPECT_EQ(300u, SystemTimeout());
  }
  EXPECT_EQ(5, qv::ApplyScreenSaverTimeout(0));
  EXPECT_EQ(300u, SystemTimeout());
  EXPECT_EQ(12, qv::ApplyScreenSaverTimeout(12));
  EXPECT_EQ(720u, SystemTimeout());
}

TEST(ScreenSaverCommands, SettingsAndPreviewStartTheProgram) {
  const std::string folder = FreshFolder("qv saver start here");
  const std::string settings = InstallSaver("qv_fake_saver_plain.exe", folder + "settings saver.scr");
  // An unquoted command line would start this program instead: the path up to the first blank.
  const std::string decoy = InstallSaver("qv_fake_saver_plain.exe", folder + "settings.exe");
  ASSERT_TRUE(qv::ConfigureScreenSaver(settings));
  EXPECT_EQ("\"" + settings + "\" /C", StartedWith(settings));
  EXPECT_FALSE(qvtest::FileExists(decoy + ".args"));

  const std::string preview = InstallSaver("qv_fake_saver_plain.exe", folder + "preview saver.scr");
  ASSERT_TRUE(qv::PreviewScreenSaver(preview));
  const std::string line = StartedWith(preview);
  EXPECT_NE(std::string::npos, line.find("/P")) << line;
  EXPECT_FALSE(qv::ConfigureScreenSaver(folder + "missing.scr"));
}

TEST(ScreenSaverCommands, ToggleSwitchesScreenSavingOverAndBack) {
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0));
  ASSERT_TRUE(qv::ScreenSaverActive());
  qv::ToggleScreenSaverActive();
  EXPECT_FALSE(qv::ScreenSaverActive());
  qv::ToggleScreenSaverActive();
  EXPECT_TRUE(qv::ScreenSaverActive());
}

// A window that counts the messages "a screen saver started" it gets.
int g_started = 0;
LRESULT CALLBACK CountingProc(HWND window, UINT message, WPARAM w, LPARAM l) {
  if (message == QV_MSG_SCREENSAVER_RUN) ++g_started;
  return DefWindowProcA(window, message, w, l);
}

int Pump() {
  g_started = 0;
  MSG msg;
  for (int i = 0; i < 20; ++i) {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(10);
  }
  return g_started;
}

TEST(ScreenSaverCommands, StartNowTellsTheMainWindowOnlyForEachRun) {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = &CountingProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = QV_AGENT_WINDOW_CLASS;
  RegisterClassA(&wc);
  HWND window = CreateWindowA(QV_AGENT_WINDOW_CLASS, QV_AGENT_WINDOW_CAPTION, WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                              nullptr, wc.hInstance, nullptr);
  ASSERT_NE(nullptr, window);
  qv::WindowsGeneration = qv::kWinXP;
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 0, nullptr, 0);

  qv::StartScreenSaverNow(window, false);
  EXPECT_EQ(0, Pump());
  EXPECT_TRUE(qv::ScreenSaverActive());
  qv::StartScreenSaverNow(window, true);
  EXPECT_EQ(1, Pump());
  qv::StartScreenSaverNow(nullptr, true);
  EXPECT_EQ(1, Pump()) << "found by its class and caption";

  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
  DestroyWindow(window);
}

// Where no screen saver can run, "Start Screen Saver" must not leave the system believing that
// one runs: the wallpaper list skips its changes while the system says so.
std::vector<std::string> g_wallpapers;
bool RecordWallpaper(const std::string& path, int) {
  g_wallpapers.push_back(path);
  return true;
}

TEST(ScreenSaverCommands, StartNowWithoutARunnableSaverKeepsWallpaperChanges) {
  const std::string folder = FreshFolder("qv saver start none");
  ASSERT_TRUE(qvtest::WriteUserText(kDesktop, "SCRNSAVE.EXE", folder + "missing.scr"));
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
  const int generation = qv::WindowsGeneration;
  qv::WindowsGeneration = qv::kWinXP;
  qv::ListServices services = qv::DefaultServices();
  services.modifyWallpaper = &RecordWallpaper;
  const qv::ListServices previous = qv::SetServices(services);

  qv::StartScreenSaverNow(nullptr, false);
  Pump();
  EXPECT_FALSE(platform::ScreenSaverRunning());
  qv::WallpaperSetupData wallpaper;
  g_wallpapers.clear();
  EXPECT_TRUE(wallpaper.ApplyItem("C:\\next.jpg"));
  EXPECT_EQ(g_wallpapers, std::vector<std::string>{"C:\\next.jpg"});

  // While the system reports a running saver, the change is still skipped.
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 1, nullptr, 0);
  EXPECT_FALSE(wallpaper.ApplyItem("C:\\skipped.jpg"));
  EXPECT_EQ(g_wallpapers.size(), 1u);
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);
  qv::SetServices(previous);
  qv::WindowsGeneration = generation;
}

}  // namespace

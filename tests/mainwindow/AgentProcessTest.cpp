// The program's own process as the resident agent: started by the start-up run, brought up by a
// second start, ended by an undo run even with its tray menu open, loading its libraries only
// from its own folder, and changing the wallpaper by hotkey.
#include <gtest/gtest.h>
#include <windows.h>
#include <psapi.h>

#include <string>
#include <vector>

#include "changers/ImagePreparation.h"
#include "core/PVoptionData.h"
#include "core/mainwindow/MainWindowRes.h"
#include "platform/AgentWindow.h"
#include "platform/Platform.h"
#include "platform/PrivateMessages.h"
#include "platform/SafeFile.h"
#include "tests/changers/WinChangerSupport.h"
#include "tests/mainwindow/AgentSettings.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::ChildProcess;

std::string Program() { return qvtest::DistFolder() + "Quorvex.exe"; }

std::string SettingsPath() { return qvtest::AgentSettingsPath(); }

// Settings with the agent on and nothing that a start-up run would change.
void PlantSettings() { ASSERT_TRUE(qvtest::PlantAgentSettings(qvtest::AgentSettings())); }

using qvtest::TopLevelOfClass;
using qvtest::WaitVisible;

// A visible pop-up menu of process pid, within ms.
HWND WaitForMenuOf(DWORD pid, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start <= ms; Sleep(100)) {
    HWND menu = TopLevelOfClass("#32768", pid);
    if (menu && IsWindowVisible(menu)) return menu;
  }
  return nullptr;
}

// Waits until the process has reached its message loop with nothing left to handle.
bool WaitIdle(HANDLE process, DWORD ms) { return WaitForInputIdle(process, ms) == 0; }

class AgentProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(platform::FindAgentWindow(), nullptr) << "an agent of an earlier test runs";
    PlantSettings();
  }
  void TearDown() override { DeleteFileA(SettingsPath().c_str()); }

  // Runs the start-up run and waits for its window: with the agent on, the process stays.
  static void StartAgent(ChildProcess* agent, HWND* window) {
    ASSERT_TRUE(agent->Start(Program(), "-r"));
    *window = qvtest::WaitForWindow("Quorvex", agent->Id(), 60000);
    ASSERT_NE(*window, nullptr);
    ASSERT_TRUE(WaitIdle(agent->Handle(), 30000)) << "the agent did not reach its message loop";
    ASSERT_TRUE(agent->IsRunning()) << "the agent is on: the start-up run stays";
  }
};

TEST_F(AgentProcess, TheStartupRunStaysBehindItsTrayIconUntilAnUndoRunEndsItsOpenMenu) {
  ChildProcess agent;
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAgent(&agent, &window));
  EXPECT_FALSE(IsWindowVisible(window)) << "a start-up run never shows the window";
  HWND tray = TopLevelOfClass("QuorvexTrayWindow", agent.Id());
  ASSERT_NE(tray, nullptr) << "the tray icon's window";

  // A second plain start hands over: the first one shows its configuration window.
  ChildProcess second;
  ASSERT_TRUE(second.Start(Program()));
  ASSERT_TRUE(second.WaitForExit(60000)) << "the second start ends by itself";
  EXPECT_TRUE(WaitVisible(window, true, 15000));

  // Closed, it is the agent again; the icon's right button opens the tray menu.
  PostMessageA(window, WM_CLOSE, 0, 0);
  EXPECT_TRUE(WaitVisible(window, false, 15000));
  EXPECT_TRUE(agent.IsRunning());
  PostMessageA(tray, QV_MSG_TRAY_NOTIFY, IDR_TRAYMENU, WM_RBUTTONUP);
  ASSERT_NE(WaitForMenuOf(agent.Id(), 15000), nullptr);

  ChildProcess undo;
  ASSERT_TRUE(undo.Start(Program(), "-u"));
  ASSERT_TRUE(undo.WaitForExit(60000));
  EXPECT_TRUE(agent.WaitForExit(30000)) << "the open tray menu kept the agent alive";
}

// Copies the program and its language folder into a folder of its own, without pv.dll.
std::string CopyProgramWithoutLibraries(const std::string& root) {
  std::string folder = root + "\\program";
  CreateDirectoryA(folder.c_str(), nullptr);
  CreateDirectoryA((folder + "\\language").c_str(), nullptr);
  CopyFileA(Program().c_str(), (folder + "\\Quorvex.exe").c_str(), FALSE);
  for (const char* name : {"qveng.lng", "qvdeu.lng"}) {
    std::string from = qvtest::DistFolder() + "language\\" + name;
    CopyFileA(from.c_str(), (folder + "\\language\\" + name).c_str(), FALSE);
  }
  return folder + "\\Quorvex.exe";
}

std::vector<std::string> ModulePaths(HANDLE process) {
  std::vector<std::string> paths;
  HMODULE modules[512];
  DWORD bytes = 0;
  if (!EnumProcessModules(process, modules, sizeof modules, &bytes)) return paths;
  for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
    char path[MAX_PATH];
    if (GetModuleFileNameExA(process, modules[i], path, MAX_PATH)) paths.push_back(path);
  }
  return paths;
}

std::string Lower(std::string text) {
  CharLowerA(&text[0]);
  return text;
}

TEST_F(AgentProcess, LibrariesPlantedInTheCurrentFolderAreNotLoaded) {
  char temp[MAX_PATH];
  GetTempPathA(MAX_PATH, temp);
  std::string root = std::string(temp) + "qvplant-" + std::to_string(GetTickCount());
  ASSERT_TRUE(CreateDirectoryA(root.c_str(), nullptr));
  std::string program = CopyProgramWithoutLibraries(root);
  std::string planted = root + "\\planted";
  CreateDirectoryA(planted.c_str(), nullptr);
  for (const char* name : {"pv.dll", "kz.dll"})
    ASSERT_TRUE(CopyFileA((qvtest::DistFolder() + "pv.dll").c_str(),
                          (planted + "\\" + name).c_str(), FALSE));

  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::string line = "\"" + program + "\"";
  ASSERT_TRUE(CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                             planted.c_str(), &startup, &info));
  HWND window = qvtest::WaitForWindow("Quorvex", info.dwProcessId, 60000);
  EXPECT_NE(window, nullptr);
  // Idle, it has loaded what its start loads.
  EXPECT_TRUE(WaitIdle(info.hProcess, 30000)) << "the program did not reach its message loop";
  std::vector<std::string> modules = ModulePaths(info.hProcess);
  EXPECT_GT(modules.size(), 3u) << "the module list of the started program";
  for (const std::string& path : modules) {
    EXPECT_EQ(Lower(path).find(Lower(planted)), std::string::npos) << path;
    EXPECT_EQ(Lower(path).find("pv.dll"), std::string::npos) << path;
  }
  if (window) PostMessageA(window, QV_MSG_QUIT_AGENT, 0, 0);
  if (WaitForSingleObject(info.hProcess, 30000) != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 1);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
}

// The wallpaper in effect: the name the system holds, the registry's copy of it, and the
// program's bitmap file with its size and bytes.
struct Desktop {
  std::string current;
  std::string registry;
  int width = 0;
  int height = 0;
  std::string bytes;
};

Desktop ReadDesktop() {
  Desktop d;
  char current[MAX_PATH] = {};
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0);
  d.current = qvtest::LowerCase(current);
  d.registry =
      qvtest::LowerCase(qvtest::ReadUserValue("Control Panel\\Desktop", "Wallpaper").Text());
  int bpp = 0;
  qvtest::BmpFileSize(qv::ChangerOutputPath("qvwallpa.bmp"), &d.width, &d.height, &bpp);
  platform::ReadFileBytes(qv::ChangerOutputPath("qvwallpa.bmp"), d.bytes);
  return d;
}

// Sends a hotkey as the system would and waits until the window has handled it.
void PressHotkey(HWND window, int id) {
  DWORD_PTR result = 0;
  ASSERT_NE(SendMessageTimeoutA(window, WM_HOTKEY, static_cast<WPARAM>(id),
                                MAKELPARAM(MOD_CONTROL | MOD_ALT, 0xBB), SMTO_NORMAL, 60000,
                                &result),
            0)
      << "the agent did not handle hotkey " << id;
}

TEST_F(AgentProcess, TheWallpaperHotkeysStepThroughTheListAndTheEndKeepsThePosition) {
  // Centred pictures keep their own sizes: 158 x 107, 290 x 48 and 113 x 146.
  const std::string pictures[] = {qvtest::MachinePicture(QV_JPEG_PICTURE),
                                  qvtest::MachinePicture(QV_GIF_PICTURE),
                                  qvtest::MachinePicture(QV_CAT_PICTURE)};
  for (const std::string& p : pictures) ASSERT_FALSE(p.empty()) << "a test picture is missing";
  const std::string bitmap = qvtest::LowerCase(qv::ChangerOutputPath("qvwallpa.bmp"));
  DeleteFileA(bitmap.c_str());
  qvtest::DeleteUserValue("Control Panel\\Desktop", "Wallpaper");
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);

  ASSERT_TRUE(
      qvtest::PlantAgentSettings(qvtest::AgentSettings({std::begin(pictures), std::end(pictures)})));

  ChildProcess agent;
  HWND window = nullptr;
  ASSERT_NO_FATAL_FAILURE(StartAgent(&agent, &window));

  // The start-up run put the first picture in effect.
  Desktop first = ReadDesktop();
  EXPECT_EQ(bitmap, first.current);
  EXPECT_EQ(bitmap, first.registry);
  EXPECT_EQ(158, first.width);
  EXPECT_EQ(107, first.height);

  PressHotkey(window, HOTKEY_NEXT_WALLPAPER);
  Desktop second = ReadDesktop();
  EXPECT_EQ(bitmap, second.current);
  EXPECT_EQ(bitmap, second.registry);
  EXPECT_EQ(290, second.width) << "next is the second picture";
  EXPECT_EQ(48, second.height);
  EXPECT_TRUE(first.bytes != second.bytes) << "the bitmap was written anew";

  PressHotkey(window, HOTKEY_PREVIOUS_WALLPAPER);
  Desktop back = ReadDesktop();
  EXPECT_EQ(bitmap, back.registry);
  EXPECT_EQ(158, back.width) << "previous goes back to the first picture";
  EXPECT_EQ(107, back.height);
  EXPECT_TRUE(first.bytes == back.bytes) << "the same picture gives the same bitmap";

  // Before the first, previous wraps round to the last.
  PressHotkey(window, HOTKEY_PREVIOUS_WALLPAPER);
  Desktop last = ReadDesktop();
  EXPECT_EQ(113, last.width) << "previous from the first is the last picture";
  EXPECT_EQ(146, last.height);
  EXPECT_TRUE(IsWindowVisible(window) == FALSE) << "a change by hotkey shows no window";

  ChildProcess undo;
  ASSERT_TRUE(undo.Start(Program(), "-u"));
  ASSERT_TRUE(undo.WaitForExit(60000));
  ASSERT_TRUE(agent.WaitForExit(30000));

  // The agent's end wrote the list's position.
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(SettingsPath(), bytes));
  qv::PVoptionData after;
  ASSERT_TRUE(after.LoadFromBytes(bytes.data(), bytes.size()));
  EXPECT_EQ(2, after.wallpaper.currentIndex);
  ASSERT_EQ(3u, after.wallpaper.items.size());
}

}  // namespace

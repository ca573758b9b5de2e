#include <gtest/gtest.h>
#include <windows.h>

#include "res/resource.h"
#include "tests/support/WinProgramSettings.h"
#include "tests/support/WinTestSupport.h"

namespace {

using qvtest::ChildProcess;

// Minimizes another process's window and waits until it stays minimized with the process idle:
// that process carries out the minimizing, and its own first showing could still undo it.
bool MinimizeAndWait(HWND window, HANDLE process, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start <= ms; Sleep(100)) {
    if (!IsIconic(window))
      ShowWindow(window, SW_MINIMIZE);
    else if (WaitForInputIdle(process, 1000) == 0 && IsIconic(window))
      return true;
  }
  return false;
}

TEST(WinStart, GenerationFollowsTheReportedWindowsVersion) {
  const std::string probe = qvtest::TestFolder() + "qv_generation_probe.exe";
  struct Row {
    const char* version;
    DWORD generation;
  } rows[] = {{"winxp", 5}, {"win2k", 4}, {"nt40", 3}, {"win98", 1}, {"winme", 2}, {"win95", 0}};
  for (const Row& r : rows) {
    ASSERT_TRUE(qvtest::SetWineVersionFor("qv_generation_probe.exe", r.version));
    ChildProcess child;
    ASSERT_TRUE(child.Start(probe)) << probe;
    ASSERT_TRUE(child.WaitForExit(60000));
    EXPECT_EQ(child.ExitCode(), r.generation) << r.version;
  }
  qvtest::SetWineVersionFor("qv_generation_probe.exe", "");
}

TEST(WinStart, SecondStartHandsOverToTheFirstAndEnds) {
  const std::string program = qvtest::DistFolder() + "Quorvex.exe";
  ASSERT_TRUE(qvtest::PlantDefaultSettings());  // no first-start wizard
  ChildProcess first;
  ASSERT_TRUE(first.Start(program)) << program;
  HWND window = qvtest::WaitForWindow("Quorvex", first.Id(), 60000);
  ASSERT_NE(window, nullptr);

  // The dialog exists before it shows itself; minimizing it earlier would be undone by that.
  DWORD shownStart = GetTickCount();
  while (!IsWindowVisible(window) && GetTickCount() - shownStart < 10000) Sleep(100);
  ASSERT_TRUE(MinimizeAndWait(window, first.Handle(), 20000));

  ChildProcess second;
  ASSERT_TRUE(second.Start(program));
  ASSERT_TRUE(second.WaitForExit(60000)) << "the second start must end by itself";
  EXPECT_TRUE(first.IsRunning());

  // The first instance brings its window up on the posted "Configure" command.
  DWORD start = GetTickCount();
  while (IsIconic(window) && GetTickCount() - start < 10000) Sleep(100);
  EXPECT_FALSE(IsIconic(window));
  EXPECT_TRUE(IsWindowVisible(window));

  // The undo run ends the running instance through its quit message.
  ChildProcess undo;
  ASSERT_TRUE(undo.Start(program, "-u"));
  ASSERT_TRUE(undo.WaitForExit(60000));
  EXPECT_TRUE(first.WaitForExit(30000)) << "message 2107 must end the first instance";
}

TEST(WinStart, VersionResourceSays104) {
  const std::string program = qvtest::DistFolder() + "Quorvex.exe";
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(program.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::string data(size, '\0');
  ASSERT_TRUE(GetFileVersionInfoA(program.c_str(), 0, size, &data[0]));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(&data[0], "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00010004u);
  HMODULE module = LoadLibraryExA(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  char text[128];
  EXPECT_GT(LoadStringA(module, IDS_INSTANCE_NAME, text, sizeof text), 0);
  EXPECT_STREQ(text, "Quorvex");
  EXPECT_GT(LoadStringA(module, IDS_LANGUAGE_FAILED, text, sizeof text), 0);
  EXPECT_STREQ(text, "Failed in initializing internationl language manager");
  EXPECT_NE(FindResourceA(module, MAKEINTRESOURCEA(IDR_MAINFRAME), RT_GROUP_ICON), nullptr);
  FreeLibrary(module);
}

}  // namespace

// A command-line helper for the scripts that drive the real program under Wine:
//   plant    settings with the agent on, every list empty (nothing for a start-up run to do)
//            and the texts of the language file named (default qveng.lng)
//   pictures FILE...  the same with the wallpaper list of those pictures, centred
//   timers FOLDER  the same with the wallpaper and the browser toolbar skin lists both holding
//            FOLDER, each changing in order on a 1-second timer, the wallpaper fitted to the
//            screen (the soak benchmark's agent)
//   remove   deletes those settings
//   wait     waits up to 60 s for the program's window; exit code 1 when it does not come
//   idle     waits up to 30 s for the program to reach its message loop with nothing to handle
//   windows  one line per visible top-level window of the program: class|caption|WxH|texts
//   confirm  presses the default button of the program's message box
//   wallpaper  the wallpaper in effect: the system's name|the registry's name|WxH of that bitmap
//   memory   the program's working set, peak working set and private bytes, in KiB
//   quit     posts the agent's end message and waits up to 30 s for the process to go
//   catch N  shows a window "qv key catcher" for N seconds: Wine sees X key presses only while
//            one of its windows has the X focus, and then checks them against every hotkey.
//            Its caption becomes "qv key catcher (active)" once it is Wine's foreground window.
//            "catch N watch" also prints "wallpaper changed at NS ns: WxH" the first time the
//            wallpaper bitmap is replaced (polled every 2 ms, NS on the clock of `date +%s%N`).
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/PVoptionData.h"
#include "platform/AgentWindow.h"
#include "platform/Platform.h"
#include "platform/PrivateMessages.h"
#include "platform/SafeFile.h"
#include "res/resource.h"
#include "tests/changers/WinChangerSupport.h"
#include "tests/mainwindow/AgentSettings.h"
#include "tests/support/WinTestSupport.h"

namespace {

std::string SettingsPath() { return qvtest::AgentSettingsPath(); }

bool Plant(const std::string& languageName, int pictureCount = 0, char** pictures = nullptr) {
  qv::PVoptionData s =
      qvtest::AgentSettings(std::vector<std::string>(pictures, pictures + pictureCount));
  s.languageFile = qvtest::DistFolder() + "language\\" + languageName;
  // Benchmarks choose the position mode (fit to screen is 3).
  if (const char* mode = std::getenv("QV_PROBE_POSITION")) s.wallpaper.positionMode = std::atoi(mode);
  return qvtest::PlantAgentSettings(s);
}

HWND MainWindow() { return platform::FindAgentWindow(); }

// The program's process id, from its main window (0 when it is not running).
DWORD ProgramProcess() {
  HWND window = MainWindow();
  DWORD pid = 0;
  if (window) GetWindowThreadProcessId(window, &pid);
  return pid;
}

std::string TextOf(HWND window) {
  char text[1024];
  int n = GetWindowTextA(window, text, sizeof text);
  std::string out(text, n > 0 ? n : 0);
  for (char& c : out)
    if (c == '\r' || c == '\n') c = ' ';
  return out;
}

BOOL CALLBACK AppendStatic(HWND child, LPARAM param) {
  char name[32];
  if (GetClassNameA(child, name, sizeof name) && lstrcmpiA(name, "Static") == 0) {
    std::string text = TextOf(child);
    if (!text.empty()) *reinterpret_cast<std::string*>(param) += "|" + text;
  }
  return TRUE;
}

struct Search {
  DWORD pid;
  bool confirm;
  int count;
};

BOOL CALLBACK ListWindow(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (pid != search->pid || !IsWindowVisible(window)) return TRUE;
  char name[64];
  GetClassNameA(window, name, sizeof name);
  RECT r{};
  GetWindowRect(window, &r);
  std::string texts;
  EnumChildWindows(window, AppendStatic, reinterpret_cast<LPARAM>(&texts));
  std::printf("%s|%s|%ldx%ld%s\n", name, TextOf(window).c_str(), r.right - r.left,
              r.bottom - r.top, texts.c_str());
  ++search->count;
  // The message box is the program's other dialog.
  if (search->confirm && lstrcmpA(name, "#32770") == 0)
    PostMessageA(window, WM_COMMAND, IDOK, 0);
  return TRUE;
}

int ListWindows(bool confirm) {
  Search search{ProgramProcess(), confirm, 0};
  if (!search.pid) return 1;
  EnumWindows(ListWindow, reinterpret_cast<LPARAM>(&search));
  std::fflush(stdout);
  return 0;
}

int Memory() {
  DWORD pid = ProgramProcess();
  HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid)
                       : nullptr;
  if (!process) return 1;
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  BOOL ok = GetProcessMemoryInfo(process, &counters, sizeof counters);
  CloseHandle(process);
  if (!ok) return 1;
  std::printf("pid=%lu working_set_kib=%lu peak_working_set_kib=%lu private_kib=%lu\n", pid,
              static_cast<unsigned long>(counters.WorkingSetSize / 1024),
              static_cast<unsigned long>(counters.PeakWorkingSetSize / 1024),
              static_cast<unsigned long>(counters.PagefileUsage / 1024));
  return 0;
}

// Both lists that change on a timer hold folder, every second; the wallpaper is fitted.
bool PlantTimers(const std::string& folder) {
  qv::PVoptionData s = qvtest::AgentSettings();
  s.languageFile = qvtest::DistFolder() + "language\\qveng.lng";
  qv::SetupItem item;
  item.path = folder;
  item.isFolder = 1;
  for (qv::ImageSetupData* list : {static_cast<qv::ImageSetupData*>(&s.wallpaper),
                                   static_cast<qv::ImageSetupData*>(&s.ieSkin)}) {
    list->items.assign(1, item);
    list->changeMode = qv::kModeUseTimer;
    list->timerUnit = qv::kUnitSeconds;
    list->interval = 1;
    list->order = qv::kOrderNormalize;
  }
  s.wallpaper.positionMode = 3;
  return qvtest::PlantAgentSettings(s);
}

int Wallpaper() {
  char current[MAX_PATH] = {};
  if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0)) return 1;
  int width = 0, height = 0, bpp = 0;
  qvtest::BmpFileSize(current, &width, &height, &bpp);
  std::printf("%s|%s|%dx%d\n", current,
              qvtest::ReadUserValue("Control Panel\\Desktop", "Wallpaper").Text().c_str(), width,
              height);
  std::fflush(stdout);
  return 0;
}

int Idle() {
  DWORD pid = ProgramProcess();
  HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid) : nullptr;
  if (!process) return 1;
  DWORD waited = WaitForInputIdle(process, 30000);
  CloseHandle(process);
  return waited == 0 ? 0 : 1;
}

int Quit() {
  HWND window = MainWindow();
  if (!window) return 0;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageA(window, QV_MSG_QUIT_AGENT, 0, 0);
  DWORD waited = process ? WaitForSingleObject(process, 30000) : WAIT_FAILED;
  if (process) CloseHandle(process);
  return waited == WAIT_OBJECT_0 ? 0 : 1;
}

// The wallpaper bitmap's size now, "" when there is none.
std::string WallpaperSize() {
  char current[MAX_PATH] = {};
  if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0)) return std::string();
  int width = 0, height = 0, bpp = 0;
  qvtest::BmpFileSize(current, &width, &height, &bpp);
  return std::to_string(width) + "x" + std::to_string(height);
}

// The wallpaper bitmap's length and last write as the file system has them, "" when there is
// none. Polled every few milliseconds, so it never opens the file: an open file cannot be
// replaced, and the program's change would fail.
std::string WallpaperStamp() {
  char current[MAX_PATH] = {};
  if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0)) return std::string();
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(current, GetFileExInfoStandard, &data)) return std::string();
  return std::to_string(data.nFileSizeLow) + "/" + std::to_string(data.ftLastWriteTime.dwLowDateTime);
}

// The system time in nanoseconds since 1970, the clock `date +%s%N` reads.
long long UnixNanoseconds() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);  // to the microsecond under Wine
  const long long ticks = (static_cast<long long>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
  return (ticks - 116444736000000000LL) * 100;
}

int Catch(int seconds, bool watchWallpaper) {
  const std::string startStamp = watchWallpaper ? WallpaperStamp() : std::string();
  bool changed = false;
  HWND window = CreateWindowExA(0, "STATIC", "qv key catcher", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                0, 0, 200, 100, nullptr, nullptr, GetModuleHandleA(nullptr),
                                nullptr);
  if (!window) return 1;
  SetForegroundWindow(window);
  bool active = false;
  for (DWORD start = GetTickCount(); GetTickCount() - start < static_cast<DWORD>(seconds) * 1000;) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (!active && GetForegroundWindow() == window) {
      SetWindowTextA(window, "qv key catcher (active)");
      active = true;
    }
    if (watchWallpaper && !changed && WallpaperStamp() != startStamp) {
      const long long at = UnixNanoseconds();
      std::printf("wallpaper changed at %lld ns: %s\n", at, WallpaperSize().c_str());
      std::fflush(stdout);
      changed = true;
    }
    Sleep(watchWallpaper ? 2 : 20);
  }
  DestroyWindow(window);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "plant") return Plant(argc > 2 ? argv[2] : "qveng.lng") ? 0 : 1;
  if (command == "pictures") return argc > 2 && Plant("qveng.lng", argc - 2, argv + 2) ? 0 : 1;
  if (command == "timers") return argc > 2 && PlantTimers(argv[2]) ? 0 : 1;
  if (command == "remove") return DeleteFileA(SettingsPath().c_str()) ? 0 : 1;
  if (command == "wait") {
    for (int i = 0; i < 600; ++i, Sleep(100))
      if (ProgramProcess()) return 0;
    return 1;
  }
  if (command == "idle") return Idle();
  if (command == "windows") return ListWindows(false);
  if (command == "confirm") return ListWindows(true);
  if (command == "memory") return Memory();
  if (command == "wallpaper") return Wallpaper();
  if (command == "quit") return Quit();
  if (command == "catch")
    return Catch(argc > 2 ? std::atoi(argv[2]) : 10, argc > 3 && std::string(argv[3]) == "watch");
  std::fprintf(stderr, "usage: qv_agent_probe plant|pictures|remove|wait|idle|windows|confirm|"
                       "wallpaper|memory|quit|catch [SECONDS [watch]]\n");
  return 2;
}

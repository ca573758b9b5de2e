// Drives the running resident agent for the soak benchmark (agent-soak.sh) and samples it:
//   qv_agent_soak CHANGES [EVERY]
// The agent's own timers change the wallpaper and the browser toolbar skin; between their ticks
// this program sends the agent the four hotkey messages in turn (next and previous wallpaper,
// next and previous skin: the WM_HOTKEY a key press gives), timing each to its return. Changes are
// counted from the two bitmaps the agent writes (a change that lands on the same bitmap within
// one poll counts once, so the count is a lower bound). Every EVERY changes (default 100) it opens
// the configuration window ("Configure"), closes it (the close sequence), and prints one row:
//   changes seconds private_kib virtual_kib handles gdi user median_ms max_ms
// private_kib is the commit charge of the process (PagefileUsage, which Wine fills), virtual_kib
// every reserved or committed page of its address space, handles its kernel handles (HandleCount),
// gdi and user GetGuiResources (which Wine answers with 0), median_ms and max_ms the hotkey changes since the row before.
#include <windows.h>
#include <psapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/AgentWindow.h"

namespace {

constexpr WPARAM kHotkeys[] = {11, 13, 10, 12};  // next/previous wallpaper, next/previous skin
constexpr WPARAM kConfigure = 32771;

std::string AgentFolder() {
  char folder[MAX_PATH] = {};
  SHGetSpecialFolderPathA(nullptr, folder, CSIDL_APPDATA, FALSE);
  return std::string(folder) + "\\" QV_AGENT_WINDOW_CAPTION "\\";
}

// A bitmap's length and last write, without opening it (an open file could not be replaced).
unsigned long long Stamp(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return 0;
  return (static_cast<unsigned long long>(data.ftLastWriteTime.dwHighDateTime) << 32 |
          data.ftLastWriteTime.dwLowDateTime) ^ data.nFileSizeLow;
}

struct Watcher {
  std::string paths[2];
  unsigned long long stamps[2] = {};
  long changes = 0;
  void Poll() {
    for (int i = 0; i < 2; ++i) {
      unsigned long long now = Stamp(paths[i]);
      if (now != stamps[i]) {
        stamps[i] = now;
        ++changes;
      }
    }
  }
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

unsigned long VirtualKib(HANDLE process) {
  unsigned long long total = 0;
  MEMORY_BASIC_INFORMATION info;
  for (char* at = nullptr; VirtualQueryEx(process, at, &info, sizeof info) == sizeof info;
       at = static_cast<char*>(info.BaseAddress) + info.RegionSize) {
    if (info.State != MEM_FREE) total += info.RegionSize;
    if (info.RegionSize == 0) break;
  }
  return static_cast<unsigned long>(total / 1024);
}

// The process's kernel handles as the system's handle table holds them. GetProcessHandleCount
// answers 0 under Wine, so every handle value is tried instead: one that can be duplicated
// exists (handle values are multiples of 4, given out lowest first).
long HandleCount(HANDLE process) {
  long count = 0;
  for (ULONG_PTR value = 4, misses = 0; misses < 4096; value += 4) {
    HANDLE copy = nullptr;
    if (DuplicateHandle(process, reinterpret_cast<HANDLE>(value), GetCurrentProcess(), &copy, 0,
                        FALSE, DUPLICATE_SAME_ACCESS)) {
      CloseHandle(copy);
      ++count;
      misses = 0;
    } else {
      ++misses;
    }
  }
  return count;
}

void PrintRow(HANDLE process, long changes, DWORD started, std::vector<double>& times) {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  GetProcessMemoryInfo(process, &counters, sizeof counters);
  std::sort(times.begin(), times.end());
  double median = times.empty() ? 0 : times[times.size() / 2];
  double slowest = times.empty() ? 0 : times.back();
  std::printf("%ld %lu %lu %lu %ld %lu %lu %.0f %.0f\n", changes,
              static_cast<unsigned long>((GetTickCount() - started) / 1000),
              static_cast<unsigned long>(counters.PagefileUsage / 1024), VirtualKib(process),
              HandleCount(process), GetGuiResources(process, GR_GDIOBJECTS),
              GetGuiResources(process, GR_USEROBJECTS), median, slowest);
  std::fflush(stdout);
  times.clear();
}

bool WaitUntil(HWND agent, bool visible, DWORD timeoutMs) {
  for (DWORD waited = 0; waited < timeoutMs; waited += 50, Sleep(50))
    if (!IsWindow(agent) || (IsWindowVisible(agent) != FALSE) == visible) return IsWindow(agent);
  return false;
}

// Opens the configuration window as the tray's "Configure" does, leaves it a moment, and closes
// it through its close sequence, which restarts the timers.
bool ConfigureCycle(HWND agent) {
  PostMessageA(agent, WM_COMMAND, kConfigure, 0);
  if (!WaitUntil(agent, true, 60000)) return false;
  Sleep(1500);
  PostMessageA(agent, WM_CLOSE, 0, 0);
  return WaitUntil(agent, false, 60000);
}

}  // namespace

int main(int argc, char** argv) {
  const long target = argc > 1 ? std::atol(argv[1]) : 5000;
  const long every = argc > 2 ? std::atol(argv[2]) : 100;
  HWND agent = nullptr;
  for (int i = 0; i < 600 && !(agent = platform::FindAgentWindow()); ++i) Sleep(100);
  DWORD pid = 0;
  if (agent) GetWindowThreadProcessId(agent, &pid);
  HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | PROCESS_DUP_HANDLE, FALSE, pid) : nullptr;
  if (!process) {
    std::fprintf(stderr, "qv_agent_soak: no agent runs\n");
    return 1;
  }
  Watcher watcher;
  watcher.paths[0] = AgentFolder() + "qvwallpa.bmp";
  watcher.paths[1] = AgentFolder() + "qvieskin.bmp";
  watcher.Poll();
  watcher.changes = 0;
  std::printf("changes seconds private_kib virtual_kib handles gdi user median_ms max_ms\n");
  const DWORD started = GetTickCount();
  std::vector<double> times;
  PrintRow(process, 0, started, times);
  long nextRow = every;
  DWORD lastKey = GetTickCount();
  for (unsigned key = 0; watcher.changes < target;) {
    if (!IsWindow(agent)) {
      std::fprintf(stderr, "qv_agent_soak: the agent ended after %ld changes\n", watcher.changes);
      return 1;
    }
    Sleep(10);
    watcher.Poll();
    if (watcher.changes >= nextRow) {
      if (!ConfigureCycle(agent)) {
        std::fprintf(stderr, "qv_agent_soak: the configuration window did not open and close\n");
        return 1;
      }
      Sleep(2000);  // the restarted timers run again; the closed pages settle
      watcher.Poll();
      PrintRow(process, watcher.changes, started, times);
      nextRow = (watcher.changes / every + 1) * every;
      continue;
    }
    // A key between two ticks of the 1-second timers.
    if (GetTickCount() - lastKey >= 700) {
      watcher.Poll();
      LARGE_INTEGER from, to;
      QueryPerformanceCounter(&from);
      DWORD_PTR result = 0;
      SendMessageTimeoutA(agent, WM_HOTKEY, kHotkeys[key++ % 4], 0, SMTO_NORMAL, 120000, &result);
      QueryPerformanceCounter(&to);
      times.push_back(Milliseconds(from, to));
      lastKey = GetTickCount();
    }
  }
  CloseHandle(process);
  return 0;
}

// Measures a running program found by one of its top-level windows:
//   qv_private_memory CAPTION CONTROL SAMPLES [close]
// The window has that caption and, unless CONTROL is 0, a child control of that id (so that the
// resident agent's main window is told from a message box with the same caption). It waits up to
// 60 s for the window and for the program to be idle in its message loop, then takes SAMPLES
// readings a second apart and prints the largest:
//   private_kib=N working_set_kib=N
// "Private" is the commit charge of the process alone (PagefileUsage; Wine leaves PrivateUsage
// at 0): there Wine puts the sections of modules that it cannot map straight from the file.
// With "close", it then closes the window.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct Search {
  const char* caption;
  int control;
  HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM param) {
  Search* search = reinterpret_cast<Search*>(param);
  char caption[256];
  if (GetWindowTextA(window, caption, sizeof caption) && lstrcmpA(caption, search->caption) == 0 &&
      (search->control == 0 || GetDlgItem(window, search->control))) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

HWND WaitForWindow(const char* caption, int control) {
  for (int i = 0; i < 600; ++i, Sleep(100)) {
    Search search{caption, control, nullptr};
    EnumWindows(Match, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
  }
  return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: qv_private_memory CAPTION CONTROL SAMPLES [close]\n");
    return 2;
  }
  HWND window = WaitForWindow(argv[1], std::atoi(argv[2]));
  DWORD pid = 0;
  if (window) GetWindowThreadProcessId(window, &pid);
  HANDLE process = pid ? OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE,
                                     FALSE, pid)
                       : nullptr;
  if (!process) {
    std::fprintf(stderr, "qv_private_memory: no window \"%s\" with control %s\n", argv[1], argv[2]);
    return 1;
  }
  if (WaitForInputIdle(process, 60000) != 0)
    std::fprintf(stderr, "qv_private_memory: \"%s\" did not become idle\n", argv[1]);
  SIZE_T privateBytes = 0, workingSet = 0;
  for (int i = 0, samples = std::atoi(argv[3]); i < samples; ++i) {
    if (i) Sleep(1000);
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, &counters, sizeof counters)) break;
    if (counters.PagefileUsage > privateBytes) privateBytes = counters.PagefileUsage;
    if (counters.WorkingSetSize > workingSet) workingSet = counters.WorkingSetSize;
  }
  CloseHandle(process);
  if (argc > 4 && lstrcmpA(argv[4], "close") == 0) PostMessageA(window, WM_CLOSE, 0, 0);
  if (!privateBytes) {
    std::fprintf(stderr, "qv_private_memory: no reading of \"%s\"\n", argv[1]);
    return 1;
  }
  std::printf("private_kib=%lu working_set_kib=%lu\n",
              static_cast<unsigned long>(privateBytes / 1024),
              static_cast<unsigned long>(workingSet / 1024));
  return 0;
}

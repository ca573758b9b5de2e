// A stand-in screen saver: writes the command line it was started with into the file of its own
// path + ".args" and ends, so that tests see how it was started.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char self[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, self, MAX_PATH - 8);
  lstrcatA(self, ".args");
  const char* line = GetCommandLineA();
  HANDLE file = CreateFileA(self, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(lstrlenA(line)), &written, nullptr);
  CloseHandle(file);
  return 0;
}

#include "tests/support/WinTestSupport.h"

namespace qvtest {

std::string DistFolder() {
  std::string folder = QV_DIST_DIR;
  // The build passes a Unix path; Wine's drive Z: is the Unix root.
  if (!folder.empty() && folder[0] == '/') {
    for (char& c : folder)
      if (c == '/') c = '\\';
    folder = "Z:" + folder;
  }
  if (folder.empty() || folder.back() != '\\') folder += '\\';
  return folder;
}

std::string TestFolder() {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path, n);
  return folder.substr(0, folder.find_last_of('\\') + 1);
}

ChildProcess::~ChildProcess() {
  if (info_.hProcess) {
    if (IsRunning()) {
      TerminateProcess(info_.hProcess, 1);
      WaitForSingleObject(info_.hProcess, 5000);
    }
    CloseHandle(info_.hProcess);
    CloseHandle(info_.hThread);
  }
}

bool ChildProcess::Start(const std::string& program, const std::string& arguments, bool suspended) {
  std::string commandLine = "\"" + program + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  return CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE,
                        suspended ? CREATE_SUSPENDED : 0, nullptr, nullptr, &startup, &info_) != FALSE;
}

bool ChildProcess::WaitForExit(DWORD timeoutMs) {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

bool ChildProcess::IsRunning() const {
  return info_.hProcess && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  if (info_.hProcess) GetExitCodeProcess(info_.hProcess, &code);
  return code;
}

namespace {
struct WindowSearch {
  const char* caption;
  DWORD pid;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  char text[256];
  if (GetWindowTextA(window, text, sizeof text) <= 0 || lstrcmpA(text, search->caption) != 0)
    return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if (search->pid != 0 && pid != search->pid) return TRUE;
  search->found = window;
  return FALSE;
}
}  // namespace

HWND WaitForWindow(const char* caption, DWORD pid, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  do {
    WindowSearch search{caption, pid, nullptr};
    EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    Sleep(100);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

namespace {
struct ClassSearch {
  const char* className;
  DWORD pid;
  std::vector<HWND> found;
};

BOOL CALLBACK MatchClass(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<ClassSearch*>(param);
  char name[64];
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  if ((search->pid == 0 || pid == search->pid) && GetClassNameA(window, name, sizeof name) &&
      lstrcmpA(name, search->className) == 0)
    search->found.push_back(window);
  return TRUE;
}
}  // namespace

std::vector<HWND> TopLevelsOfClass(const char* className, DWORD pid) {
  ClassSearch search{className, pid, {}};
  EnumWindows(MatchClass, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND TopLevelOfClass(const char* className, DWORD pid) {
  std::vector<HWND> found = TopLevelsOfClass(className, pid);
  return found.empty() ? nullptr : found.front();
}

bool WaitVisible(HWND window, bool visible, DWORD ms) {
  for (DWORD start = GetTickCount(); GetTickCount() - start <= ms; Sleep(100))
    if ((IsWindowVisible(window) != FALSE) == visible) return true;
  return false;
}

bool SetWineVersionFor(const std::string& exeName, const std::string& version) {
  std::string key = "Software\\Wine\\AppDefaults\\" + exeName;
  HKEY handle = nullptr;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &handle,
                      nullptr) != ERROR_SUCCESS)
    return false;
  LONG result = version.empty()
                    ? RegDeleteValueA(handle, "Version")
                    : RegSetValueExA(handle, "Version", 0, REG_SZ,
                                     reinterpret_cast<const BYTE*>(version.c_str()),
                                     static_cast<DWORD>(version.size() + 1));
  RegCloseKey(handle);
  return result == ERROR_SUCCESS || (version.empty() && result == ERROR_FILE_NOT_FOUND);
}

}  // namespace qvtest

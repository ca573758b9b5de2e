// The screen saver changer: the desktop values and SYSTEM.INI name the program, the system
// parameters switch it on; and the commands that start a screen saver now, for its preview or for
// its settings.
#include "changers/ScreenSaverChanger.h"

#include <shellapi.h>

#include "platform/AgentWindow.h"
#include "platform/Log.h"
#include "platform/PrivateMessages.h"
#include "platform/RegistryKey.h"

namespace qv {
namespace {

constexpr char kDesktopKey[] = "Control Panel\\desktop";
constexpr int kDefaultSeconds = 300;
constexpr int kDefaultMinutes = 5;
constexpr int kMaxMinutes = 0x7FFFFFFF / 60;  // the seconds must fit the system's number

// The 8.3 form, which old readers of SYSTEM.INI and the desktop value need; the path itself
// when the file system has none.
std::string ShortPath(const std::string& path) {
  char shortPath[MAX_PATH] = {};
  DWORD n = GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return path;
  return std::string(shortPath, n);
}

std::string SystemIniPath() {
  char folder[MAX_PATH + 1] = {};
  UINT n = GetWindowsDirectoryA(folder, MAX_PATH);
  std::string path(folder, n <= MAX_PATH ? n : 0);
  if (!path.empty() && path.back() != '\\') path += '\\';
  return path + "SYSTEM.INI";
}

}  // namespace

bool SetScreenSaver(const std::string& path, int seconds) {
  if (seconds <= 0) seconds = kDefaultSeconds;
  const std::string shortPath = ShortPath(path);
  const DWORD timeout = static_cast<DWORD>(seconds);
  {
    RegistryKey key(HKEY_CURRENT_USER, kDesktopKey, KEY_ALL_ACCESS);
    if (!key.IsOpen()) {
      QV_LOG();
      return false;
    }
    key.WriteText("ScreenSaveActive", "1");
    key.WriteNumber("ScreenSaveTimeOut", timeout);
    key.WriteText("SCRNSAVE.EXE", shortPath);
  }
  if (!SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, timeout, nullptr, SPIF_UPDATEINIFILE))
    QV_LOG();
  if (!WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", shortPath.c_str(), SystemIniPath().c_str()))
    QV_LOG();
  return true;
}

int ApplyScreenSaverTimeout(int minutes) {
  if (minutes <= 0) minutes = kDefaultMinutes;
  const UINT seconds = static_cast<UINT>(minutes > kMaxMinutes ? kMaxMinutes : minutes) * 60;
  if (!SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, seconds, nullptr, 0))
    QV_LOG();
  return minutes;
}

int SystemScreenSaverMinutes() {
  UINT seconds = 0;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0)) QV_LOG();
  const int minutes = static_cast<int>(seconds / 60);
  return minutes <= 0 ? kDefaultMinutes : minutes;
}

bool PreviewScreenSaver(const std::string& path) {
  HINSTANCE started = ShellExecuteA(nullptr, "open", path.c_str(), "/P", "", SW_SHOWMAXIMIZED);
  if (reinterpret_cast<INT_PTR>(started) <= 32) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  return true;
}

bool ConfigureScreenSaver(const std::string& path) {
  // Quoted, so that a program in a folder with spaces is the program started, not a part of it.
  std::string commandLine = "\"" + path + "\" /C";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION process = {};
  if (!CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &process)) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

bool ScreenSaverActive() {
  BOOL active = FALSE;
  return SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && active;
}

void ToggleScreenSaverActive() {
  if (!SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, ScreenSaverActive() ? 0 : 1, nullptr, 0))
    QV_LOG();
}

void StartScreenSaverNow(HWND mainWindow, bool eachRun) {
  if (!SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, 0)) QV_LOG();
  // The system's own screen-saver command: the system sets its "running" flag when a saver
  // really starts and clears it when it ends. Setting the flag here would leave it on where no
  // saver starts, and the wallpaper list would then skip every change.
  PostMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0);
  if (!eachRun) return;
  HWND target = mainWindow ? mainWindow : platform::FindAgentWindow();
  if (target) PostMessageA(target, QV_MSG_SCREENSAVER_RUN, 0, 0);
}

}  // namespace qv

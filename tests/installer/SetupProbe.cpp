// The setup test's helper inside the prefix, for what a shell script cannot read or write:
//   defaults                  settings with the agent on and nothing to change, so that a start
//                             shows the agent and not the first-start wizard
//   changes BOOT LOGON SKIN WALLPAPER
//                             settings with the agent on and the boot screen, logon screen,
//                             browser skin and wallpaper lists holding one picture each, changed
//                             at each start; the screen saver list empty
//   settings                  one line of the settings file: agent, the four lists' pictures, the
//                             screen saver's minutes
//   minutes N                 sets the screen saver's minutes in the settings file (a change the
//                             user makes in the configuration window)
//   shortcut FILE.lnk         target|arguments|working folder of a shell link
//   version FILE              FileVersion and ProductVersion texts and the fixed product version
//   agent                     pid|program file of the running agent; exit code 1 when none runs
//   wait-agent                waits up to 60 s for the agent's window; 1 when it does not come
//   quit                      posts the agent its end message and waits up to 30 s for it to go
#include <windows.h>
#include <objbase.h>
#include <psapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/PVoptionData.h"
#include "platform/AgentWindow.h"
#include "platform/PrivateMessages.h"
#include "res/resource.h"
#include "tests/mainwindow/AgentSettings.h"

namespace {

qv::SetupItem Picture(const char* path) {
  qv::SetupItem item;
  item.path = path;
  return item;
}

int PlantChanges(char** pictures) {
  qv::PVoptionData s = qvtest::AgentSettings({pictures[3]});
  s.bootScreen.enabled = 1;
  s.bootScreen.items = {Picture(pictures[0])};
  s.logonScreen.enabled = 1;
  s.logonScreen.items = {Picture(pictures[1])};
  s.ieSkin.items = {Picture(pictures[2])};
  return qvtest::PlantAgentSettings(s) ? 0 : 1;
}

bool LoadSettings(qv::PVoptionData* s) { return s->Load(qvtest::AgentSettingsPath()); }

std::string FirstPath(const qv::ImageSetupData& list) {
  return list.items.empty() ? std::string("(none)") : list.items.front().path;
}

int PrintSettings() {
  qv::PVoptionData s;
  if (!LoadSettings(&s)) return 1;
  std::printf("agent=%d boot=%s logon=%s skin=%s wallpaper=%s saver-minutes=%d\n",
              s.agentEnabled, FirstPath(s.bootScreen).c_str(), FirstPath(s.logonScreen).c_str(),
              FirstPath(s.ieSkin).c_str(), FirstPath(s.wallpaper).c_str(),
              s.screenSaver.timeoutMinutes);
  return 0;
}

int SetMinutes(int minutes) {
  qv::PVoptionData s;
  if (!LoadSettings(&s)) return 1;
  s.screenSaver.timeoutMinutes = minutes;
  return qvtest::PlantAgentSettings(s) ? 0 : 1;
}

int PrintShortcut(const char* file) {
  if (FAILED(CoInitialize(nullptr))) return 1;
  IShellLinkA* link = nullptr;
  IPersistFile* persist = nullptr;
  int result = 1;
  wchar_t wide[MAX_PATH] = {};
  MultiByteToWideChar(CP_ACP, 0, file, -1, wide, MAX_PATH);
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&link))) &&
      SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist))) &&
      SUCCEEDED(persist->Load(wide, STGM_READ))) {
    char target[MAX_PATH] = {}, arguments[MAX_PATH] = {}, folder[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, 0);
    link->GetArguments(arguments, MAX_PATH);
    link->GetWorkingDirectory(folder, MAX_PATH);
    std::printf("%s|%s|%s\n", target, arguments, folder);
    result = 0;
  }
  if (persist) persist->Release();
  if (link) link->Release();
  CoUninitialize();
  return result;
}

int PrintVersion(const char* file) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeA(file, &ignored);
  if (size == 0) return 1;
  std::vector<char> block(size);
  if (!GetFileVersionInfoA(file, 0, size, block.data())) return 1;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) || !fixed)
    return 1;
  struct Translation {
    WORD language, codePage;
  }* translation = nullptr;
  if (!VerQueryValueA(block.data(), "\\VarFileInfo\\Translation",
                      reinterpret_cast<void**>(&translation), &length) || length < 4)
    return 1;
  auto text = [&](const char* name) {
    char query[128];
    std::snprintf(query, sizeof query, "\\StringFileInfo\\%04x%04x\\%s", translation->language,
                  translation->codePage, name);
    char* value = nullptr;
    UINT n = 0;
    return VerQueryValueA(block.data(), query, reinterpret_cast<void**>(&value), &n) && value
               ? std::string(value)
               : std::string("(none)");
  };
  std::printf("FileVersion=%s ProductVersion=%s fixed=%lu.%lu.%lu.%lu\n", text("FileVersion").c_str(),
              text("ProductVersion").c_str(), HIWORD(fixed->dwProductVersionMS),
              LOWORD(fixed->dwProductVersionMS), HIWORD(fixed->dwProductVersionLS),
              LOWORD(fixed->dwProductVersionLS));
  return 0;
}

HWND AgentWindow() { return platform::FindAgentWindow(); }

int PrintAgent() {
  HWND window = AgentWindow();
  if (!window) return 1;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
  char path[MAX_PATH] = {};
  if (process) {
    GetModuleFileNameExA(process, nullptr, path, MAX_PATH);
    CloseHandle(process);
  }
  std::printf("%lu|%s\n", pid, path);
  return 0;
}

int Quit() {
  HWND window = AgentWindow();
  if (!window) return 0;
  DWORD pid = 0;
  GetWindowThreadProcessId(window, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageA(window, QV_MSG_QUIT_AGENT, 0, 0);
  DWORD waited = process ? WaitForSingleObject(process, 30000) : WAIT_FAILED;
  if (process) CloseHandle(process);
  return waited == WAIT_OBJECT_0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  int result = 2;
  if (command == "defaults") result = qvtest::PlantAgentSettings(qvtest::AgentSettings()) ? 0 : 1;
  else if (command == "changes" && argc == 6) result = PlantChanges(argv + 2);
  else if (command == "settings") result = PrintSettings();
  else if (command == "minutes" && argc == 3) result = SetMinutes(std::atoi(argv[2]));
  else if (command == "shortcut" && argc == 3) result = PrintShortcut(argv[2]);
  else if (command == "version" && argc == 3) result = PrintVersion(argv[2]);
  else if (command == "agent") result = PrintAgent();
  else if (command == "quit") result = Quit();
  else if (command == "wait-agent") {
    result = 1;
    for (int i = 0; i < 600 && result; ++i, Sleep(100)) result = AgentWindow() ? 0 : 1;
  } else {
    std::fprintf(stderr, "usage: qv_setup_probe defaults | changes BOOT LOGON SKIN WALLPAPER | settings | minutes N |"
                         " shortcut FILE | version FILE | agent | wait-agent | quit\n");
  }
  std::fflush(stdout);
  return result;
}

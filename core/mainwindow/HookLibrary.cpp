#include "core/mainwindow/HookLibrary.h"

#include "platform/ProgramFolder.h"

namespace qv {
namespace {

using SetHookHandleProc = void(WINAPI*)(HHOOK);

bool IsFullPath(const std::string& path) {
  return (path.size() > 2 && path[1] == ':' && (path[2] == '\\' || path[2] == '/')) ||
         (path.size() > 1 && path[0] == '\\' && path[1] == '\\');
}

}  // namespace

bool HookLibrary::Install(const std::string& fullPath) {
  Remove();
  // A bare name would let LoadLibrary search the current folder and the path.
  if (!IsFullPath(fullPath)) return false;
  library_.Reset(LoadLibraryExA(fullPath.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH));
  if (!library_) return false;
  // Through void*: GetProcAddress's generic type is no function type the entries have.
  auto hookProc = reinterpret_cast<HOOKPROC>(
      reinterpret_cast<void*>(GetProcAddress(library_.Get(), "HookGetMsgProc")));
  auto setHandle = reinterpret_cast<SetHookHandleProc>(
      reinterpret_cast<void*>(GetProcAddress(library_.Get(), "SetHookHandle")));
  if (!hookProc || !setHandle) {
    library_.Reset();
    return false;
  }
  hook_ = SetWindowsHookExA(WH_GETMESSAGE, hookProc, library_.Get(), 0);
  if (!hook_) {
    library_.Reset();
    return false;
  }
  setHandle(hook_);
  return true;
}

void HookLibrary::Remove() {
  if (hook_) UnhookWindowsHookEx(hook_);
  hook_ = nullptr;
  library_.Reset();
}

HMODULE LoadProgramLibrary(const char* name) {
  std::string path = ProgramFolderFile(name);
  if (!IsFullPath(path)) return nullptr;
  return LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

}  // namespace qv

#include "platform/ShellFolders.h"

#include <windows.h>
#include <shlobj.h>

#include "platform/SystemFunctions.h"

namespace platform {
namespace {

using FolderPathFn = BOOL(WINAPI*)(HWND, LPSTR, int, BOOL);

// The shell's item list of the folder, turned into a path; the list is given back to the
// shell's allocator.
std::string FromItemList(int csidl) {
  LPITEMIDLIST list = nullptr;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, &list)) || !list) return std::string();
  char buffer[MAX_PATH] = "";
  const bool ok = SHGetPathFromIDListA(list, buffer) != FALSE;
  LPMALLOC allocator = nullptr;
  if (SUCCEEDED(SHGetMalloc(&allocator)) && allocator) {
    allocator->Free(list);
    allocator->Release();
  }
  return ok ? std::string(buffer) : std::string();
}

}  // namespace

std::string ShellFolderPath(int csidl) {
  auto byPath = LoadSystemFunction<FolderPathFn>(SystemFunction::kSHGetSpecialFolderPathA);
  if (byPath) {
    char buffer[MAX_PATH] = "";
    return byPath(nullptr, buffer, csidl, FALSE) ? std::string(buffer) : std::string();
  }
  return FromItemList(csidl);
}

}  // namespace platform

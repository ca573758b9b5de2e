#include "platform/ProgramFolder.h"

#include <windows.h>

namespace qv {

std::string ProgramFolderFile(const char* name) {
  char path[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return name;
  std::string folder(path, n);
  folder.erase(folder.find_last_of('\\') + 1);
  return folder + name;
}

}  // namespace qv

#include <windows.h>

#include "core/ScreenSaverItemData.h"
#include "platform/Log.h"

namespace qv {

std::string ScreenSaverResourceName(const std::string& path) {
  // As a data file: only its resources are wanted, nothing of it runs.
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) {
    QV_LOG();
    return std::string();
  }
  char buffer[260];
  int n = LoadStringA(module, 1, buffer, sizeof buffer);
  FreeLibrary(module);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

}  // namespace qv

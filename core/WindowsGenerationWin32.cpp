#include <windows.h>

#include "core/WindowsGeneration.h"
#include "platform/Log.h"

namespace qv {

int DetermineWindowsGeneration() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExA(&info)) {
    QV_LOG_MSG("GetVersionEx failed");
    return kWinUnknown;
  }
  return WindowsGenerationFromVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}

}  // namespace qv

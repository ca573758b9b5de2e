#include "core/WindowsGeneration.h"

#include "platform/Log.h"

namespace qv {

int WindowsGeneration = kWinUnknown;

int WindowsGenerationFromVersion(unsigned long platformId, unsigned long major, unsigned long minor) {
  const unsigned long kPlatformWindows = 1;  // VER_PLATFORM_WIN32_WINDOWS
  const unsigned long kPlatformNT = 2;       // VER_PLATFORM_WIN32_NT
  if (platformId == kPlatformWindows && major == 4) {
    if (minor == 0) return kWin95;
    if (minor == 10) return kWin98;
    if (minor == 90) return kWinMe;
  } else if (platformId == kPlatformNT) {
    if (major == 4) return kWinNT4;
    if (major == 5) return minor == 0 ? kWin2000 : kWinXP;
  }
  QV_LOG_MSG("unrecognised Windows version");
  return kWinUnknown;
}

}  // namespace qv

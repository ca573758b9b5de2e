#include <windows.h>

#include "changers/ImagePreparation.h"
#include "platform/Handles.h"
#include "platform/Platform.h"

namespace qv {
namespace {

int DesktopBitsPerPixel() {
  ScopedDC dc(GetDesktopWindow());
  if (!dc) return 0;
  return GetDeviceCaps(dc.Get(), BITSPIXEL) * GetDeviceCaps(dc.Get(), PLANES);
}

void PrimaryScreenSize(int* width, int* height) {
  *width = GetSystemMetrics(SM_CXSCREEN);
  *height = GetSystemMetrics(SM_CYSCREEN);
}

std::string TempFolder() {
  char buffer[MAX_PATH];
  DWORD n = GetTempPathA(MAX_PATH, buffer);
  return n > 0 && n < MAX_PATH ? std::string(buffer, n) : std::string();
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace

PrepareEnvironment SystemEnvironment() {
  return PrepareEnvironment{&DesktopBitsPerPixel,     &PrimaryScreenSize, &platform::AppDataFolder,
                            &platform::WindowsFolder, &TempFolder,        &platform::TickCount,
                            &FileExists};
}

}  // namespace qv

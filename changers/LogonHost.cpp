// Winlogon's "UIHost" value and the test that a program file can be a logon host.
#include <windows.h>

#include <cstring>

#include "changers/ModifyLogonScreen.h"
#include "changers/ProgramPatch.h"
#include "platform/Log.h"
#include "platform/RegistryKey.h"

namespace qv {
namespace {

constexpr char kWinlogonKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Winlogon";
constexpr char kHostValue[] = "UIHost";

// Writes "UIHost" as a string value with its terminating zero. False (logged) when the key
// can't be opened or the value can't be written.
bool WriteLogonHost(const std::string& path) {
  RegistryKey key(HKEY_LOCAL_MACHINE, kWinlogonKey, KEY_ALL_ACCESS);
  if (!key.IsOpen() || !key.WriteText(kHostValue, path)) {
    QV_LOG();
    return false;
  }
  return true;
}

}  // namespace

bool ProbeLogonProgram(const std::string& programPath, LogonProgramInfo* info) {
  DataModule module(programPath);
  if (!module.get()) {
    QV_LOG_MSG(programPath.c_str());
    return false;
  }
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  if (!module.Resource("UIFILE", 1000, &data, &size)) {
    QV_LOG_MSG(programPath.c_str());
    return false;
  }
  if (!module.Resource(kResourceTypeBitmap, 100, &data, &size) ||
      size < sizeof(BITMAPINFOHEADER)) {
    QV_LOG_MSG(programPath.c_str());
    return false;
  }
  BITMAPINFOHEADER header;
  std::memcpy(&header, data, sizeof header);
  info->width = header.biWidth;
  info->height = header.biHeight;
  info->bitsPerPixel = header.biBitCount;
  return true;
}

bool SetLogonHost(const std::string& programPath) {
  LogonProgramInfo info;
  if (!ProbeLogonProgram(programPath, &info)) {
    QV_LOG();
    return false;
  }
  return WriteLogonHost(programPath);
}

bool RestoreLogonHost() { return WriteLogonHost(LogonProgramPath()); }

}  // namespace qv

// The logon screen changer (Windows XP): a picture is patched into QVUIHOST.EXE, a copy of the
// system's logon program, which is then named as Winlogon's "UIHost"; a ready-made logon program
// is named directly.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// A picture is patched into a copy of the logon program; a program file ("exe", "dll", "cpl",
// "scr") is named as the logon host. The colour has red in the low byte, then green, then blue.
bool ModifyLogonScreen(const std::string& path, uint32_t backgroundColour);
// The picture composed on a screen-sized background of the colour, written into QVUIHOST.EXE
// with the program's own user-interface description, and named as the logon host.
bool PatchLogonProgram(const std::string& picturePath, uint32_t backgroundColour);
// Names a logon program that carries "UIFILE" 1000 and bitmap 100 as the logon host.
bool SetLogonHost(const std::string& programPath);
// Names the system's own logon program as the logon host again.
bool RestoreLogonHost();

// Whether a program file can be a logon host ("UIFILE" 1000 and bitmap 100); on success the
// size and depth of its bitmap 100.
struct LogonProgramInfo {
  int width = 0, height = 0, bitsPerPixel = 0;
};
bool ProbeLogonProgram(const std::string& programPath, LogonProgramInfo* info);

// The system's logon program and its patched copy.
std::string LogonProgramPath();
std::string LogonCopyPath();

}  // namespace qv

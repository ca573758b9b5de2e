// The logon screen changer.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// A picture is patched into a copy of the logon program; a program file is named as the logon
// host. The colour has red in the low byte, then green, then blue.
bool ModifyLogonScreen(const std::string& path, uint32_t backgroundColour);
// Names the system's own logon program as the logon host again.
bool RestoreLogonHost();

}  // namespace qv

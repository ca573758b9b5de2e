// The shell's special folders by their CSIDL number, on every Windows generation: through
// SHGetSpecialFolderPathA where the shell has it (4.71 on: 98, Me, 2000, XP, and 95 or NT 4.0
// with the desktop update), else through the folder's item list, which every shell has.
#pragma once

#include <string>

namespace platform {

// The folder's path, or empty when this system has no such folder.
std::string ShellFolderPath(int csidl);

}  // namespace platform

// The boot screen changer: a patched copy of the kernel (Windows 2000 and XP) or the boot logo
// file (Windows 95, 98 and Me) that shows the chosen picture at start-up.
#pragma once

#include <string>

namespace qv {

// Puts a picture (or, on Windows 2000 and XP, a kernel file) in place as the boot screen.
bool ChangeBootScreen(const std::string& path);
// Puts the standard boot screen back.
bool RestoreBootScreen();
// Looks up the checksum routine of IMAGEHLP.DLL once, before any change.
bool LoadChecksumService();

}  // namespace qv

// The boot screen changer: a patched copy of the kernel (Windows 2000 and XP) or the boot logo
// file (Windows 95, 98 and Me) that shows the chosen picture at start-up.
#pragma once

#include <string>

namespace qv {

// Puts a picture (or, on Windows 2000 and XP, a kernel file) in place as the boot screen.
// True only when the written file holds it; a kernel copy that could not be made valid is
// replaced by an unchanged copy of the kernel and the result is false.
bool ChangeBootScreen(const std::string& path);
// Puts the standard boot screen back.
bool RestoreBootScreen();

// The system's kernel, its patched copy (named in boot.ini) and the boot logo file of
// Windows 95, 98 and Me. The main window looks whether the written file exists.
std::string KernelPath();
std::string KernelCopyPath();
std::string LogoSysPath();

}  // namespace qv

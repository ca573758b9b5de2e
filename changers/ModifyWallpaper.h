// The wallpaper changer.
#pragma once

#include <string>

namespace qv {

// Converts the picture to the wallpaper bitmap and sets it with the position mode (0 centre,
// 1 tile, 2 stretch, 3 fit to screen).
bool ModifyWallpaper(const std::string& path, int positionMode);

// Puts the existing wallpaper bitmap back in effect when the system or the desktop object names
// another file; true when it had to, false when all agree or the system can't be asked.
bool ReassertWallpaper(int positionMode);

// The desktop object (an IActiveDesktop*, one reference owned by the caller), or nullptr when the
// system has none. Tests put their own creator in place; SetDesktopObjectCreator returns the one
// that was (nullptr restores the system's).
using DesktopObjectCreator = void* (*)();
DesktopObjectCreator SetDesktopObjectCreator(DesktopObjectCreator creator);

}  // namespace qv

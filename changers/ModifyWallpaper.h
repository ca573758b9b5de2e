// The wallpaper changer.
#pragma once

#include <string>

namespace qv {

// Converts the picture to the wallpaper bitmap and sets it with the position mode (0 centre,
// 1 tile, 2 stretch, 3 fit to screen).
bool ModifyWallpaper(const std::string& path, int positionMode);

}  // namespace qv

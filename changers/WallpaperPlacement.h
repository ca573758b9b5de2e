// Where a wallpaper's picture goes on the screen for each position mode: the size the program
// scales it to (fit and fill) and the style the system is then told. The changer writes its
// bitmap by it and the wallpaper page's preview draws by it, so both show the same thing.
#pragma once

#include "changers/ImagePreparation.h"

namespace qv {

// The system's own wallpaper styles.
enum SystemWallpaperStyle { kSystemCentred = 0, kSystemTiled = 1, kSystemStretched = 2 };

struct WallpaperPlacement {
  Size picture;     // the picture after the program's own scaling; its own size when unscaled
  int systemStyle;  // what the system is told
  bool cropped;     // fill: only the screen-sized middle of `picture` is written
};

// For mode 0 centre, 1 tile, 2 stretch, 3 fit to screen, 4 fill screen; any other mode is placed
// as centre. A screen or picture with a side of 0 or less leaves the picture unscaled.
WallpaperPlacement PlaceWallpaper(int positionMode, int screenWidth, int screenHeight, int width,
                                  int height);

// The picture scaled, up or down, until it covers the screen, keeping its aspect ratio: one side
// meets the screen and the other reaches past it (truncated toward zero, never short of it).
Size FillScreenSize(int screenWidth, int screenHeight, int width, int height);

// The screen-sized middle of a picture of `scaled` (at least the screen in both sides): its left
// and top edge; the odd pixel of an uneven overflow is cut on the right and bottom.
struct CropOrigin {
  int left;
  int top;
};
CropOrigin CentredCrop(Size scaled, int screenWidth, int screenHeight);

}  // namespace qv

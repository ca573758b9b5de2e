#include "changers/WallpaperPlacement.h"

#include <cstdint>

#include "core/ChangeLists.h"

namespace qv {

WallpaperPlacement PlaceWallpaper(int positionMode, int screenWidth, int screenHeight, int width,
                                  int height) {
  switch (positionMode) {
    case kPositionTile:
      return {{width, height}, kSystemTiled, false};
    case kPositionStretch:
      return {{width, height}, kSystemStretched, false};
    case kFitToScreen:
      return {FitToScreenSize(screenWidth, screenHeight, width, height), kSystemCentred, false};
    case kFillScreen: {
      const Size covered = FillScreenSize(screenWidth, screenHeight, width, height);
      const bool cropped = covered.width > screenWidth || covered.height > screenHeight;
      // Exactly the screen's size once cropped, so centred shows it edge to edge; a later
      // change of the screen's size shows it centred rather than distorted.
      return {covered, kSystemCentred, cropped && screenWidth > 0 && screenHeight > 0};
    }
    default:
      return {{width, height}, kSystemCentred, false};
  }
}

Size FillScreenSize(int screenWidth, int screenHeight, int width, int height) {
  if (screenWidth <= 0 || screenHeight <= 0 || width <= 0 || height <= 0) return {width, height};
  // Integer products, so that the long side is never a rounding short of the screen.
  const int64_t acrossWidth = int64_t(screenWidth) * height;   // picture height x screen width
  const int64_t acrossHeight = int64_t(screenHeight) * width;  // picture width x screen height
  if (acrossWidth >= acrossHeight)  // relatively taller: the width meets the screen
    return {screenWidth, static_cast<int>(acrossWidth / width)};
  return {static_cast<int>(acrossHeight / height), screenHeight};
}

CropOrigin CentredCrop(Size scaled, int screenWidth, int screenHeight) {
  if (screenWidth <= 0 || screenHeight <= 0) return {0, 0};  // no screen: nothing is cut
  const int left = scaled.width > screenWidth ? (scaled.width - screenWidth) / 2 : 0;
  const int top = scaled.height > screenHeight ? (scaled.height - screenHeight) / 2 : 0;
  return {left, top};
}

}  // namespace qv

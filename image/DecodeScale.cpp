#include "image/DecodeScale.h"

#include <algorithm>

#include "image/Coders.h"

namespace qv {
namespace image {

uint32_t ScaledSide(uint32_t side, unsigned eighths) { return uint32_t((uint64_t(side) * eighths + 7) / 8); }

unsigned DecodeScaleEighths(uint32_t width, uint32_t height, uint32_t targetWidth, uint32_t targetHeight) {
  if (width == 0 || height == 0 || targetWidth == 0 || targetHeight == 0) return 8;
  uint32_t needWidth = std::min(width, targetWidth), needHeight = std::min(height, targetHeight);
  uint32_t fitWidth, fitHeight;
  FitIntoBoxSize(width, height, targetWidth, targetHeight, &fitWidth, &fitHeight);
  // A side that the target stretches beyond the picture's proportions (more than the fit's
  // rounding) is enlarged from the decode in any case; it may come from up to an eighth fewer
  // rows or columns than the target has.
  if (fitWidth + 1 < needWidth) needWidth = std::max(fitWidth, needWidth - needWidth / 8);
  if (fitHeight + 1 < needHeight) needHeight = std::max(fitHeight, needHeight - needHeight / 8);
  unsigned eighths = 1;
  while (eighths < 8 && (ScaledSide(width, eighths) < needWidth || ScaledSide(height, eighths) < needHeight))
    eighths *= 2;
  return eighths;
}

}  // namespace image
}  // namespace qv

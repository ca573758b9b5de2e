#include "image/ImageLimits.h"

#include <atomic>

namespace qv {
namespace image {

const char kTooLargeText[] = "Picture too large: more than 65535 pixels a side or 268435456 pixels";

namespace {
std::atomic<uint64_t> g_maxPixels{kCxMaxPixels};
}

bool SizeAllowed(uint64_t width, uint64_t height) {
  if (width == 0 || height == 0 || width > uint64_t(kCxMaxSide) || height > uint64_t(kCxMaxSide)) return false;
  return width * height <= g_maxPixels.load(std::memory_order_relaxed);
}

void SetPixelLimit(uint64_t maxPixels) {
  g_maxPixels.store(maxPixels == 0 || maxPixels > kCxMaxPixels ? kCxMaxPixels : maxPixels,
                    std::memory_order_relaxed);
}

}  // namespace image
}  // namespace qv

// The size bound every picture allocation passes through (see kCxMaxSide / kCxMaxPixels).
#pragma once

#include <cstdint>

#include "image/CxDefs.h"

namespace qv {
namespace image {

extern const char kTooLargeText[];

// True when width x height is within both limits.
bool SizeAllowed(uint64_t width, uint64_t height);

// Lowers (or restores, with 0) the pixel limit for this process. Fuzzers lower it so that a
// header claiming a few hundred megapixels does not spend their time zeroing memory.
void SetPixelLimit(uint64_t maxPixels);

}  // namespace image
}  // namespace qv

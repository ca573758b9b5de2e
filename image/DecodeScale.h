// The reduction a JPEG is decoded at when it is to be brought down to a smaller size: libjpeg
// can decode at 1/2, 1/4 or 1/8 of the size and then skips most of the inverse DCT and the
// upsampling. Decoded smaller than the target, a picture loses detail that the averaging after
// it would have kept; decoded larger, the decode costs more than it needs.
#pragma once

#include <cstdint>

namespace qv {
namespace image {

// One side at a scale of eighths/8, as libjpeg gives it (rounded up).
uint32_t ScaledSide(uint32_t side, unsigned eighths);

// The scale, in eighths (8, 4, 2 or 1), at which a width x height picture is decoded to be
// brought to target: the smallest whose result covers the target, each side at least the
// target's or the picture's own if smaller. A target of the picture's proportions (a fit, a
// cover before its crop) is covered whole. A target that stretches one side (the boot screen's
// fixed size) enlarges that side whatever the decode gives; there the decode may fall short by
// up to an eighth of the target, never below the picture fitted into the target. An empty
// target gives 8.
unsigned DecodeScaleEighths(uint32_t width, uint32_t height, uint32_t targetWidth, uint32_t targetHeight);

}  // namespace image
}  // namespace qv

// A 24-bit picture brought to another size one side at a time: a side that shrinks is averaged
// over the area each new pixel covers, a side that grows is interpolated linearly between pixel
// centres. For the pictures that one side shrinks and the other does not (a fixed size that
// stretches a picture decoded at a reduced scale), where Resample's bilinear mode would pick
// single pixels out of the shrinking side.
#pragma once

class CxImage;

namespace qv {
namespace image {

// dst has the new size and 24 bits, src 24 bits. False, leaving dst partly written, when the
// source's escape flag is raised.
bool SeparableResample(const CxImage& src, CxImage& dst);

}  // namespace image
}  // namespace qv

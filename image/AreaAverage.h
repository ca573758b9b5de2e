// Area averaging of a 24-bit picture that shrinks in both directions, in integer thousandths:
// the arithmetic of the image object's Resample mode 0, organised for speed. The source rows
// that lie wholly inside one destination row are first added up column by column; only the rows
// and columns split by a boundary are weighted one pixel at a time.
#pragma once

class CxImage;

namespace qv {
namespace image {

// dst has the new size and 24 bits; xScale and yScale are the old size divided by the new one.
// False, leaving dst partly written, when the source's escape flag is raised.
bool AreaAverage(const CxImage& src, CxImage& dst, float xScale, float yScale);

}  // namespace image
}  // namespace qv

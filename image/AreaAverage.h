// Area averaging of a 24-bit picture that shrinks in both directions, in integer thousandths:
// the arithmetic of the image object's Resample mode 0, organised for speed. The source rows
// that lie wholly inside one destination row are first added up column by column; only the rows
// and columns split by a boundary are weighted one pixel at a time.
#pragma once

#include <cstdint>
#include <memory>

class CxImage;

namespace qv {
namespace image {

// dst has the new size and 24 bits; xScale and yScale are the old size divided by the new one.
// False, leaving dst partly written, when the source's escape flag is raised.
bool AreaAverage(const CxImage& src, CxImage& dst, float xScale, float yScale);

// The same averaging fed one source row at a time, from the picture's top row down (the order a
// decoder gives them), with AreaAverage's result byte for byte; only a few rows are held, so the
// whole source never has to be. Made for a dst that has the new size, 24 bits and zeroed pixels,
// smaller than the source both ways (the case Resample mode 0 averages).
class AreaAverageFeed {
 public:
  virtual ~AreaAverageFeed() = default;
  // Where the next source row may be decoded, so that Add need not copy it.
  virtual uint8_t* NextRow() = 0;
  // The next source row, 3 x the old width bytes of blue-green-red; the first is the top row.
  virtual void Add(const uint8_t* row) = 0;
  // After the bottom row: writes the destination's bottom row.
  virtual void Finish() = 0;
};

// The scales are taken from the sizes as Resample takes them. Null when the sizes do not shrink.
std::unique_ptr<AreaAverageFeed> MakeAreaAverageFeed(uint32_t oldWidth, uint32_t oldHeight, CxImage& dst);

}  // namespace image
}  // namespace qv

// The innermost loops of resampling and palette work, with a vector form for processors that
// have SSE2 (always on x86-64; chosen at run time on 32-bit x86) and a plain form for the rest.
// Both forms give the same results to the bit.
#pragma once

#include <cstddef>
#include <cstdint>

#include "image/CxDefs.h"

namespace qv {
namespace image {

// True when the processor has SSE2.
bool HaveSse2();
// True when the vector forms run: SSE2 is there and AllowVectorCode has not switched them off.
bool UseVectorCode();
// For tests: false runs the plain forms even where the vector forms could run.
void AllowVectorCode(bool allow);

// sums[i] = the sum of rows[r * stride + i] over r < count, for i < bytes: the column sums of
// count rows (zeros for none).
void SumColumns(const uint8_t* rows, std::ptrdiff_t stride, uint32_t count, size_t bytes, uint32_t* sums);

// The palette prepared for many nearest-entry searches.
class PaletteSearch {
 public:
  // The diffusion's vector form searches with the prepared tables directly.
  friend void DiffuseRowSse2(const PaletteSearch& search, const int16_t* lanes, long width, int16_t* row,
                             int16_t* below, uint8_t* indices);
  friend void DiffuseRow(const PaletteSearch& search, const int16_t* lanes, long width, int16_t* row,
                         int16_t* below, uint8_t* indices);
  // palette: n entries (n <= 256), read now; the object keeps no pointer to it.
  PaletteSearch(const CxRgbQuad* palette, uint32_t n);
  // The first entry with the smallest squared distance over red, green and blue; 0 when the
  // palette is empty.
  uint8_t Nearest(uint8_t blue, uint8_t green, uint8_t red) const;

 private:
  uint8_t NearestPlain(int blue, int green, int red) const;
  uint8_t NearestSse2(int blue, int green, int red) const;

  uint32_t n_;
  uint32_t groups_;  // groups of four entries, the last one padded with entries that never win
  bool vector_;
  // Per group of four entries, times 16 so that the squared distances come out times 256: red
  // and green interleaved, then blue and 0 interleaved (16-bit); and the entries' numbers (plus 2^23, see
  // NearestSse2).
  alignas(16) int16_t rg_[64][8];
  alignas(16) int16_t b0_[64][8];
  alignas(16) int32_t index_[64][4];
  uint8_t blue_[256], green_[256], red_[256];
};

// One row of the error diffusion. row and below hold four 16-bit lanes per pixel (blue, green,
// red, unused) for width pixels and one spare pixel on either side; lanes holds the palette's
// colours the same way. Each pixel of row gets its nearest palette entry in indices, and its
// error goes per channel to its unvisited neighbours: 7/16 right, 2/16, 4/16 and 1/16 below
// left, below and below right, each share truncated toward zero and each sum clamped to 0..255.
void DiffuseRow(const PaletteSearch& search, const int16_t* lanes, long width, int16_t* row, int16_t* below,
                uint8_t* indices);

}  // namespace image
}  // namespace qv

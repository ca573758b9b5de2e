#include "image/ErrorDiffusion.h"

#include <cstdint>
#include <vector>

#include "image/CxImage.h"
#include "image/PixelKernels.h"

namespace qv {
namespace image {
namespace {

// The four shares of every possible error, truncated toward zero as integer division does.
struct Shares {
  int16_t right[511], belowLeft[511], below[511], belowRight[511];
  Shares() {
    for (int e = -255; e <= 255; e++) {
      right[e + 255] = int16_t(e * 7 / 16);
      belowLeft[e + 255] = int16_t(e * 2 / 16);
      below[e + 255] = int16_t(e * 4 / 16);
      belowRight[e + 255] = int16_t(e * 1 / 16);
    }
  }
};

inline int16_t Clamp255(int v) { return int16_t(v < 0 ? 0 : v > 255 ? 255 : v); }

// A row of wanted colours, blue, green, red per pixel, with one spare pixel on either side so
// that the shares for neighbours outside the picture need no test.
class WantedRow {
 public:
  explicit WantedRow(long width) : values_(3 * size_t(width + 2), 0) {}
  int16_t* at(long x) { return values_.data() + 3 * size_t(x + 1); }

  void Load(const CxImage& src, long y) {
    const long w = long(src.GetWidth());
    int16_t* p = at(0);
    if (src.GetBpp() == 24) {
      const uint8_t* s = src.GetBits(uint32_t(y));
      for (long i = 0; i < 3 * w; i++) p[i] = s[i];
      return;
    }
    for (long x = 0; x < w; x++, p += 3) {
      const CxRgbQuad c = src.GetPixelColor(x, y, false);
      p[0] = c.rgbBlue, p[1] = c.rgbGreen, p[2] = c.rgbRed;
    }
  }

 private:
  std::vector<int16_t> values_;
};

// Packs a row of palette indices into a 1-, 4- or 8-bit row, the first pixel in the high bits.
void PackRow(const std::vector<uint8_t>& indices, uint32_t bpp, uint8_t* out) {
  const size_t w = indices.size();
  if (bpp == 8) {
    for (size_t x = 0; x < w; x++) out[x] = indices[x];
  } else if (bpp == 4) {
    for (size_t x = 0; x < w; x += 2)
      out[x / 2] = uint8_t((indices[x] & 0x0F) << 4 | (x + 1 < w ? indices[x + 1] & 0x0F : 0));
  } else {
    for (size_t x = 0; x < w; x += 8) {
      uint8_t byte = 0;
      for (size_t b = 0; b < 8 && x + b < w; b++) byte = uint8_t(byte | (indices[x + b] & 1) << (7 - b));
      out[x / 8] = byte;
    }
  }
}

void Spread(int16_t* cur, int16_t* next, const CxRgbQuad& got) {
  static const Shares shares;
  const int err[3] = {cur[0] - got.rgbBlue, cur[1] - got.rgbGreen, cur[2] - got.rgbRed};
  for (int c = 0; c < 3; c++) {
    const int e = err[c] + 255;
    cur[3 + c] = Clamp255(cur[3 + c] + shares.right[e]);
    next[c - 3] = Clamp255(next[c - 3] + shares.belowLeft[e]);
    next[c] = Clamp255(next[c] + shares.below[e]);
    next[c + 3] = Clamp255(next[c + 3] + shares.belowRight[e]);
  }
}

}  // namespace

bool LowerOntoPalette(const CxImage& src, CxImage& dst, bool diffuse) {
  const long w = long(src.GetWidth()), h = long(src.GetHeight());
  const CxRgbQuad* palette = dst.GetPalette();
  const PaletteSearch search(palette, dst.GetNumColors());
  // The wanted colours of the current and the next stored row; the shares change them before
  // they are visited, so the source picture stays untouched.
  WantedRow cur(w), next(w);
  std::vector<uint8_t> indices(static_cast<size_t>(w));
  cur.Load(src, 0);
  for (long y = 0; y < h; y++) {
    if (src.GetEscape()) return false;
    if (y + 1 < h) next.Load(src, y + 1);
    int16_t* p = cur.at(0);
    int16_t* q = next.at(0);
    for (long x = 0; x < w; x++, p += 3, q += 3) {
      const uint8_t idx = search.Nearest(uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2]));
      indices[size_t(x)] = idx;
      if (diffuse) Spread(p, q, palette[idx]);
    }
    PackRow(indices, dst.GetBpp(), dst.GetBits(uint32_t(y)));
    std::swap(cur, next);
  }
  return true;
}

}  // namespace image
}  // namespace qv

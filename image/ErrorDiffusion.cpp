#include "image/ErrorDiffusion.h"

#include <cstdint>
#include <vector>

#include "image/CxImage.h"
#include "image/PixelKernels.h"

namespace qv {
namespace image {
namespace {

// A row of wanted colours as four 16-bit lanes per pixel (blue, green, red, unused), with one
// spare pixel on either side so that the shares for neighbours outside the picture need no test.
class WantedRow {
 public:
  explicit WantedRow(long width) : values_(4 * size_t(width + 2), 0) {}
  int16_t* at(long x) { return values_.data() + 4 * size_t(x + 1); }

  void Load(const CxImage& src, long y) {
    const long w = long(src.GetWidth());
    int16_t* p = at(0);
    if (src.GetBpp() == 24) {
      const uint8_t* s = src.GetBits(uint32_t(y));
      for (long x = 0; x < w; x++, p += 4, s += 3) p[0] = s[0], p[1] = s[1], p[2] = s[2];
      return;
    }
    for (long x = 0; x < w; x++, p += 4) {
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

// Without diffusion: the nearest entry of every pixel.
void NearestRow(const PaletteSearch& search, long w, const int16_t* p, uint8_t* indices) {
  for (long x = 0; x < w; x++, p += 4) indices[x] = search.Nearest(uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2]));
}

}  // namespace

bool LowerOntoPalette(const CxImage& src, CxImage& dst, bool diffuse) {
  const long w = long(src.GetWidth()), h = long(src.GetHeight());
  const CxRgbQuad* palette = dst.GetPalette();
  const uint32_t n = dst.GetNumColors();
  const PaletteSearch search(palette, n);
  // The palette's colours in the rows' lane order.
  std::vector<int16_t> lanes(4 * size_t(n ? n : 1), 0);
  for (uint32_t i = 0; i < n; i++)
    lanes[4 * i] = palette[i].rgbBlue, lanes[4 * i + 1] = palette[i].rgbGreen, lanes[4 * i + 2] = palette[i].rgbRed;
  // The wanted colours of the current and the next stored row; the shares change them before
  // they are visited, so the source picture stays untouched.
  WantedRow cur(w), next(w);
  std::vector<uint8_t> indices(static_cast<size_t>(w));
  cur.Load(src, 0);
  for (long y = 0; y < h; y++) {
    if (src.GetEscape()) return false;
    if (y + 1 < h) next.Load(src, y + 1);
    if (diffuse)
      DiffuseRow(search, lanes.data(), w, cur.at(0), next.at(0), indices.data());
    else
      NearestRow(search, w, cur.at(0), indices.data());
    PackRow(indices, dst.GetBpp(), dst.GetBits(uint32_t(y)));
    std::swap(cur, next);
  }
  return true;
}

}  // namespace image
}  // namespace qv

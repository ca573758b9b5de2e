#include "tests/image/AreaModel.h"

#include <algorithm>

namespace qvtest {

std::vector<uint8_t> AreaAverageModel(const CxImage& src, long newW, long newH) {
  const int64_t k = 1000;
  const long oldW = long(src.GetWidth()), oldH = long(src.GetHeight());
  const float xScale = float(oldW) / float(newW), yScale = float(oldH) / float(newH);
  std::vector<uint8_t> out(size_t(newW) * size_t(newH) * 3, 0);
  // Two spare cells: the last column's boundary pixel may hand weight past the row's end.
  std::vector<int64_t> accu(3 * size_t(newW) + 6, 0), carry(3 * size_t(newW) + 6, 0);
  const int64_t n = int64_t(float(k) * xScale * yScale);
  long v = 0;
  float endY = yScale - 1.0f;
  auto put = [&](long u, int c, int64_t sum) {
    if (v < newH && u < newW) out[(size_t(v) * size_t(newW) + size_t(u)) * 3 + size_t(c)] = uint8_t(sum / n);
  };
  for (long y = 0; y < oldH; y++) {
    const uint8_t* s = src.GetBits(uint32_t(y));
    long u = 0;
    float endX = xScale - 1.0f;
    const bool split = !(float(y) < endY);
    const int64_t wy = split ? int64_t((float(y) - endY) * float(k)) : 0;
    for (long x = 0; x < oldW; x++) {
      const bool boundary = !(float(x) < endX);
      const int64_t wx = boundary ? int64_t((float(x) - endX) * float(k)) : 0;
      for (int c = 0; c < 3; c++) {
        const int64_t value = s[x * 3 + c];
        const size_t i = size_t(u) * 3 + size_t(c);
        if (!split && !boundary) {
          accu[i] += k * value;
        } else if (!split) {
          accu[i] += (k - wx) * value;
          accu[i + 3] += wx * value;
        } else if (!boundary) {
          accu[i] += (k - wy) * value;
          carry[i] += wy * value;
        } else {
          accu[i] += (k - wy) * (k - wx) * value / k;
          put(u, c, accu[i]);
          carry[i] += wy * (k - wx) * value / k;
          accu[i + 3] += (k - wy) * wx * value / k;
          carry[i + 3] = wy * wx * value / k;
        }
      }
      if (boundary) {
        endX += xScale;
        u++;
      }
    }
    if (!split) continue;
    if (u < newW)
      for (int c = 0; c < 3; c++) put(u, c, accu[size_t(u) * 3 + size_t(c)]);
    std::swap(accu, carry);
    carry[0] = carry[1] = carry[2] = 0;
    v++;
    endY += yScale;
  }
  for (long u = 0; u < newW; u++)
    for (int c = 0; c < 3; c++) put(u, c, accu[size_t(u) * 3 + size_t(c)]);
  return out;
}

uint8_t NearestModel(const CxRgbQuad* palette, uint32_t n, CxRgbQuad c) {
  long best = 200000;
  uint8_t index = 0;
  for (uint32_t i = 0; i < n; i++) {
    long dr = long(palette[i].rgbRed) - c.rgbRed, dg = long(palette[i].rgbGreen) - c.rgbGreen;
    long db = long(palette[i].rgbBlue) - c.rgbBlue;
    long d = dr * dr + dg * dg + db * db;
    if (d < best) best = d, index = uint8_t(i);
    if (d == 0) break;
  }
  return index;
}

std::vector<uint8_t> DiffusionModel(const CxImage& src, const CxRgbQuad* palette, uint32_t n, bool diffuse) {
  const long w = long(src.GetWidth()), h = long(src.GetHeight());
  std::vector<int> wanted(size_t(w) * size_t(h) * 3);
  for (long y = 0; y < h; y++)
    for (long x = 0; x < w * 3; x++) wanted[size_t(y * w * 3 + x)] = src.GetBits(uint32_t(y))[x];
  auto at = [&](long x, long y, int c) -> int& { return wanted[size_t((y * w + x) * 3 + c)]; };
  auto spread = [&](long x, long y, int c, int share) {
    if (x >= 0 && x < w && y < h) at(x, y, c) = std::clamp(at(x, y, c) + share, 0, 255);
  };
  std::vector<uint8_t> out(size_t(w) * size_t(h));
  for (long y = 0; y < h; y++)
    for (long x = 0; x < w; x++) {
      CxRgbQuad c{uint8_t(at(x, y, 0)), uint8_t(at(x, y, 1)), uint8_t(at(x, y, 2)), 0};
      uint8_t idx = NearestModel(palette, n, c);
      out[size_t(y * w + x)] = idx;
      if (!diffuse) continue;
      const CxRgbQuad got = palette[idx];
      const int err[3] = {c.rgbBlue - got.rgbBlue, c.rgbGreen - got.rgbGreen, c.rgbRed - got.rgbRed};
      for (int k = 0; k < 3; k++) {
        spread(x + 1, y, k, err[k] * 7 / 16);
        spread(x - 1, y + 1, k, err[k] * 2 / 16);
        spread(x, y + 1, k, err[k] * 4 / 16);
        spread(x + 1, y + 1, k, err[k] * 1 / 16);
      }
    }
  return out;
}

}  // namespace qvtest

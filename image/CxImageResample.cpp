// Scaling and colour-depth changes: Resample, IncreaseBpp, DecreaseBpp and Dither.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/CxImage.h"

namespace {

// Area averaging of a 24-bit picture that shrinks in both directions, in integer thousandths.
// Each destination cell sums its share of every source pixel it covers; pixels on a column or row
// boundary are split by the fractional weights.
bool AreaAverage(const CxImage& src, CxImage& dst, float xScale, float yScale) {
  const int64_t kAccuracy = 1000;
  const long oldW = long(src.GetWidth()), oldH = long(src.GetHeight());
  const long newW = long(dst.GetWidth()), newH = long(dst.GetHeight());
  // One spare cell: a boundary pixel of the last column may hand weight to the cell after it.
  std::vector<int64_t> bufA(3 * size_t(newW) + 3, 0), bufB(3 * size_t(newW) + 3, 0);
  int64_t* accu = bufA.data();   // sums of the current destination row
  int64_t* carry = bufB.data();  // sums already collected for the next destination row
  const int64_t n = int64_t(float(kAccuracy) * xScale * yScale);
  long v = 0;  // current destination row
  float endY = yScale - 1.0f;
  for (long y = 0; y < oldH; y++) {
    if (src.GetEscape()) return false;
    const uint8_t* s = src.GetBits(uint32_t(y));
    uint8_t* d = v < newH ? dst.GetBits(uint32_t(v)) : nullptr;
    long u = 0;
    size_t i = 0;
    float endX = xScale - 1.0f;
    if (float(y) < endY) {
      // The whole source row lies in the current destination row.
      for (long x = 0; x < oldW; x++) {
        if (float(x) < endX) {
          for (int j = 0; j < 3; j++) accu[i + j] += int64_t(*s++) * kAccuracy;
        } else {
          int64_t wx = int64_t((float(x) - endX) * float(kAccuracy));
          for (int j = 0; j < 3; j++, i++, s++) {
            accu[i] += (kAccuracy - wx) * *s;
            accu[i + 3] += wx * *s;
          }
          endX += xScale;
          u++;
        }
      }
    } else {
      // The source row is split between the current destination row and the next one.
      int64_t wy = int64_t((float(y) - endY) * float(kAccuracy));
      for (long x = 0; x < oldW; x++) {
        if (float(x) < endX) {
          for (int j = 0; j < 3; j++, s++) {
            accu[i + j] += (kAccuracy - wy) * *s;
            carry[i + j] += wy * *s;
          }
        } else {
          int64_t wx = int64_t((float(x) - endX) * float(kAccuracy));
          for (int j = 0; j < 3; j++, i++, s++) {
            accu[i] += (kAccuracy - wy) * (kAccuracy - wx) * *s / kAccuracy;
            if (d && u < newW) *d++ = uint8_t(accu[i] / n);
            carry[i] += wy * (kAccuracy - wx) * *s / kAccuracy;
            accu[i + 3] += (kAccuracy - wy) * wx * *s / kAccuracy;
            carry[i + 3] = wy * wx * *s / kAccuracy;
          }
          endX += xScale;
          u++;
        }
      }
      // A cell the inexact boundaries left unwritten.
      if (u < newW && d)
        for (int j = 0; j < 3; j++) *d++ = uint8_t(accu[i++] / n);
      std::swap(accu, carry);
      carry[0] = carry[1] = carry[2] = 0;
      v++;
      endY += yScale;
    }
  }
  // A row the inexact boundaries left unwritten.
  if (v < newH) {
    uint8_t* d = dst.GetBits(uint32_t(v));
    for (size_t i = 0; i < 3 * size_t(newW); i++) d[i] = uint8_t(accu[i] / n);
  }
  return true;
}

// Bilinear interpolation; palette pictures are read through their palette and written with the
// nearest entry.
bool Bilinear(const CxImage& src, CxImage& dst, float xScale, float yScale) {
  const long oldW = long(src.GetWidth()), oldH = long(src.GetHeight());
  const bool srcIndexed = src.GetNumColors() != 0, dstIndexed = dst.GetNumColors() != 0;
  for (long y = 0; y < long(dst.GetHeight()); y++) {
    if (src.GetEscape()) return false;
    float fy = float(y) * yScale;
    long y0 = long(fy), y1 = std::min(y0 + 1, oldH - 1);
    float ry = fy - float(y0);
    y0 = std::min(y0, oldH - 1);
    uint8_t* d = dst.GetBits(uint32_t(y));
    for (long x = 0; x < long(dst.GetWidth()); x++) {
      float fx = float(x) * xScale;
      long x0 = long(fx), x1 = std::min(x0 + 1, oldW - 1);
      float rx = fx - float(x0);
      x0 = std::min(x0, oldW - 1);
      CxRgbQuad c00, c10, c01, c11;
      if (srcIndexed) {
        c00 = src.GetPixelColor(x0, y0, false);
        c10 = src.GetPixelColor(x1, y0, false);
        c01 = src.GetPixelColor(x0, y1, false);
        c11 = src.GetPixelColor(x1, y1, false);
      } else {
        const uint8_t* r0 = src.GetBits(uint32_t(y0));
        const uint8_t* r1 = src.GetBits(uint32_t(y1));
        c00 = CxRgbQuad{r0[x0 * 3], r0[x0 * 3 + 1], r0[x0 * 3 + 2], 0};
        c10 = CxRgbQuad{r0[x1 * 3], r0[x1 * 3 + 1], r0[x1 * 3 + 2], 0};
        c01 = CxRgbQuad{r1[x0 * 3], r1[x0 * 3 + 1], r1[x0 * 3 + 2], 0};
        c11 = CxRgbQuad{r1[x1 * 3], r1[x1 * 3 + 1], r1[x1 * 3 + 2], 0};
      }
      float w00 = (1 - rx) * (1 - ry), w10 = rx * (1 - ry), w01 = (1 - rx) * ry, w11 = rx * ry;
      CxRgbQuad c;
      c.rgbBlue = uint8_t(c00.rgbBlue * w00 + c10.rgbBlue * w10 + c01.rgbBlue * w01 + c11.rgbBlue * w11);
      c.rgbGreen = uint8_t(c00.rgbGreen * w00 + c10.rgbGreen * w10 + c01.rgbGreen * w01 + c11.rgbGreen * w11);
      c.rgbRed = uint8_t(c00.rgbRed * w00 + c10.rgbRed * w10 + c01.rgbRed * w01 + c11.rgbRed * w11);
      c.rgbReserved = 0;
      if (dstIndexed) {
        dst.SetPixelIndex(x, y, dst.GetNearestIndex(c));
      } else {
        d[x * 3] = c.rgbBlue;
        d[x * 3 + 1] = c.rgbGreen;
        d[x * 3 + 2] = c.rgbRed;
      }
    }
  }
  return true;
}

bool NearestNeighbour(const CxImage& src, CxImage& dst, float xScale, float yScale) {
  const bool indexed = src.GetNumColors() != 0;
  const long oldW = long(src.GetWidth()), oldH = long(src.GetHeight());
  std::vector<long> columns(dst.GetWidth());
  for (long x = 0; x < long(dst.GetWidth()); x++) columns[size_t(x)] = std::min(long(float(x) * xScale), oldW - 1);
  for (long y = 0; y < long(dst.GetHeight()); y++) {
    if (src.GetEscape()) return false;
    long sy = std::min(long(float(y) * yScale), oldH - 1);
    const uint8_t* s = src.GetBits(uint32_t(sy));
    uint8_t* d = dst.GetBits(uint32_t(y));
    for (long x = 0; x < long(dst.GetWidth()); x++) {
      long sx = columns[size_t(x)];
      if (indexed)
        dst.SetPixelIndex(x, y, src.GetPixelIndex(sx, sy));
      else
        std::memcpy(d + x * 3, s + sx * 3, 3);
    }
  }
  return true;
}

}  // namespace

bool CxImage::Resample(long newx, long newy, int mode, CxImage* out) {
  if (newx <= 0 || newy <= 0 || !dib_) return false;
  if (newx == long(GetWidth()) && newy == long(GetHeight())) {
    if (out) out->Copy(*this);
    return true;
  }
  const float xScale = float(GetWidth()) / float(newx);
  const float yScale = float(GetHeight()) / float(newy);
  CxImage made;
  made.CopyInfo(*this);
  if (!made.Create(uint32_t(newx), uint32_t(newy), GetBpp(), GetType())) {
    SetLastError(made.GetLastError());
    return false;
  }
  if (GetPalette()) made.SetPalette(GetPalette(), GetNumColors());
  bool done;
  if (mode != 0)
    done = NearestNeighbour(*this, made, xScale, yScale);
  else if (newx < long(GetWidth()) && newy < long(GetHeight()) && GetBpp() == 24)
    done = AreaAverage(*this, made, xScale, yScale);
  else
    done = Bilinear(*this, made, xScale, yScale);
  // A raised escape flag leaves the picture as it was.
  if (!done) {
    SetLastError("Cancelled");
    return false;
  }
  if (alpha_ && made.AlphaCreate()) {
    for (long y = 0; y < newy; y++) {
      long sy = std::min(long(float(y) * yScale), long(GetHeight()) - 1);
      for (long x = 0; x < newx; x++)
        made.AlphaSet(x, y, AlphaGet(std::min(long(float(x) * xScale), long(GetWidth()) - 1), sy));
    }
  }
  if (out)
    out->Transfer(made);
  else
    Transfer(made);
  return true;
}

bool CxImage::IncreaseBpp(uint32_t nbit) {
  if (!dib_) return false;
  if (nbit == GetBpp()) return true;
  if (nbit < GetBpp()) return false;
  if (nbit != 4 && nbit != 8 && nbit != 24) return false;
  CxImage made;
  made.CopyInfo(*this);
  if (!made.Create(GetWidth(), GetHeight(), nbit, GetType())) {
    SetLastError(made.GetLastError());
    return false;
  }
  if (nbit == 24) {
    for (long y = 0; y < long(GetHeight()); y++) {
      uint8_t* d = made.GetBits(uint32_t(y));
      for (long x = 0; x < long(GetWidth()); x++, d += 3) {
        CxRgbQuad c = GetPixelColor(x, y, false);
        d[0] = c.rgbBlue;
        d[1] = c.rgbGreen;
        d[2] = c.rgbRed;
      }
    }
    // A transparent entry becomes a transparent colour.
    if (transIndex_ >= 0) {
      made.SetTransColor(GetPaletteColor(uint8_t(transIndex_)));
      made.SetTransIndex(0);
    }
  } else {
    made.SetPalette(GetPalette(), GetNumColors());
    for (long y = 0; y < long(GetHeight()); y++)
      for (long x = 0; x < long(GetWidth()); x++) made.SetPixelIndex(x, y, GetPixelIndex(x, y));
  }
  made.AlphaCopy(*this);
  Transfer(made);
  return true;
}

namespace {
inline int Clamp255(int v) { return v < 0 ? 0 : v > 255 ? 255 : v; }
}  // namespace

bool CxImage::DecreaseBpp(uint32_t nbit, bool errordiffusion, const CxRgbQuad* ppal) {
  if (!dib_ || GetBpp() < nbit) return false;
  if (GetBpp() == nbit) return true;
  if (nbit != 1 && nbit != 4 && nbit != 8) return false;
  CxImage made;
  made.CopyInfo(*this);
  if (!made.Create(GetWidth(), GetHeight(), nbit, GetType())) {
    SetLastError(made.GetLastError());
    return false;
  }
  if (ppal)
    made.SetPalette(ppal, made.GetNumColors());
  else
    made.SetStdPalette();

  const long w = long(GetWidth()), h = long(GetHeight());
  // The colours still wanted for the current and the next stored row; error diffusion changes
  // them before they are visited, so the source picture itself stays untouched until replaced.
  std::vector<int> cur(size_t(w) * 3), next(size_t(w) * 3);
  auto loadRow = [&](long y, std::vector<int>& row) {
    for (long x = 0; x < w; x++) {
      CxRgbQuad c = GetPixelColor(x, y, false);
      row[size_t(x) * 3] = c.rgbBlue;
      row[size_t(x) * 3 + 1] = c.rgbGreen;
      row[size_t(x) * 3 + 2] = c.rgbRed;
    }
  };
  loadRow(0, cur);
  for (long y = 0; y < h; y++) {
    if (escape_) {
      SetLastError("Cancelled");
      return false;
    }
    if (y + 1 < h) loadRow(y + 1, next);
    for (long x = 0; x < w; x++) {
      int* p = &cur[size_t(x) * 3];
      CxRgbQuad wanted{uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2]), 0};
      uint8_t idx = made.GetNearestIndex(wanted);
      made.SetPixelIndex(x, y, idx);
      if (!errordiffusion) continue;
      CxRgbQuad got = made.GetPaletteColor(idx);
      int err[3] = {p[0] - got.rgbBlue, p[1] - got.rgbGreen, p[2] - got.rgbRed};
      for (int c = 0; c < 3; c++) {
        if (x + 1 < w) cur[size_t(x + 1) * 3 + c] = Clamp255(cur[size_t(x + 1) * 3 + c] + err[c] * 7 / 16);
        if (y + 1 < h) {
          if (x > 0) next[size_t(x - 1) * 3 + c] = Clamp255(next[size_t(x - 1) * 3 + c] + err[c] * 2 / 16);
          next[size_t(x) * 3 + c] = Clamp255(next[size_t(x) * 3 + c] + err[c] * 4 / 16);
          if (x + 1 < w) next[size_t(x + 1) * 3 + c] = Clamp255(next[size_t(x + 1) * 3 + c] + err[c] * 1 / 16);
        }
      }
    }
    std::swap(cur, next);
  }
  made.AlphaCopy(*this);
  made.SetTransIndex(-1);
  Transfer(made);
  return true;
}

bool CxImage::Dither(long method) {
  if (!dib_) return false;
  CxRgbQuad bw[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  if (method != 1) {
    // Grey first so that the error spreads over luminance only.
    CxImage grey(*this);
    if (!grey.GrayScale() || !grey.IncreaseBpp(24) || !grey.DecreaseBpp(1, true, bw)) return false;
    Transfer(grey);
    return true;
  }
  static const int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  CxImage made;
  made.CopyInfo(*this);
  if (!made.Create(GetWidth(), GetHeight(), 1, GetType())) return false;
  made.SetPalette(bw, 2);
  for (long y = 0; y < long(GetHeight()); y++)
    for (long x = 0; x < long(GetWidth()); x++) {
      CxRgbQuad c = GetPixelColor(x, y, false);
      int lum = (c.rgbRed * 299 + c.rgbGreen * 587 + c.rgbBlue * 114) / 1000;
      made.SetPixelIndex(x, y, lum * 16 / 256 > kBayer[y & 3][x & 3] ? 1 : 0);
    }
  made.SetTransIndex(-1);
  Transfer(made);
  return true;
}

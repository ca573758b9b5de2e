// Scaling and colour-depth changes: Resample, IncreaseBpp, DecreaseBpp and Dither.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "image/CxImage.h"
#include "image/AreaAverage.h"
#include "image/ErrorDiffusion.h"
#include "image/PixelKernels.h"

namespace {

// Bilinear interpolation; palette pictures are read through their palette and written with the
// nearest entry.
bool Bilinear(const CxImage& src, CxImage& dst, float xScale, float yScale) {
  const long oldW = long(src.GetWidth()), oldH = long(src.GetHeight());
  const bool srcIndexed = src.GetNumColors() != 0, dstIndexed = dst.GetNumColors() != 0;
  const qv::image::PaletteSearch search(dst.GetPalette(), dst.GetNumColors());
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
        dst.SetPixelIndex(x, y, search.Nearest(c.rgbBlue, c.rgbGreen, c.rgbRed));
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
    done = qv::image::AreaAverage(*this, made, xScale, yScale);
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

  if (!qv::image::LowerOntoPalette(*this, made, errordiffusion)) {
    SetLastError("Cancelled");
    return false;
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

// Geometric and colour transformations that keep the data model: flips, rotations, crops,
// negative and grey scale.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "image/CxImage.h"

namespace {

// Copies pixel (sx, sy) of src to (dx, dy) of dst; both have the same depth and palette.
inline void CopyPixel(const CxImage& src, long sx, long sy, CxImage& dst, long dx, long dy) {
  if (src.GetNumColors())
    dst.SetPixelIndex(dx, dy, src.GetPixelIndex(sx, sy));
  else
    std::memcpy(dst.GetBits(uint32_t(dy)) + dx * 3, src.GetBits(uint32_t(sy)) + sx * 3, 3);
  if (src.HasAlpha()) dst.AlphaSet(dx, dy, src.AlphaGet(sx, sy));
}

// A picture of the given size with src's depth, palette and settings.
bool MakeLike(const CxImage& src, uint32_t width, uint32_t height, CxImage& dst) {
  dst.CopyInfo(src);
  if (!dst.Create(width, height, src.GetBpp(), src.GetType())) return false;
  if (src.GetPalette()) dst.SetPalette(src.GetPalette(), src.GetNumColors());
  if (src.HasAlpha()) dst.AlphaCreate();
  return true;
}

void Deliver(CxImage& self, CxImage& made, CxImage* out) {
  if (out)
    out->Transfer(made);
  else
    self.Transfer(made);
}

}  // namespace

bool CxImage::Flip() {
  if (!dib_) return false;
  uint32_t eff = GetEffWidth(), h = GetHeight();
  std::vector<uint8_t> row(eff);
  for (uint32_t y = 0; y < h / 2; y++) {
    uint8_t* a = GetBits(y);
    uint8_t* b = GetBits(h - 1 - y);
    std::memcpy(row.data(), a, eff);
    std::memcpy(a, b, eff);
    std::memcpy(b, row.data(), eff);
  }
  if (alpha_) AlphaFlip();
  if (selection_) {
    uint32_t w = GetWidth();
    for (uint32_t y = 0; y < h / 2; y++)
      std::swap_ranges(selection_ + size_t(y) * w, selection_ + size_t(y + 1) * w, selection_ + size_t(h - 1 - y) * w);
  }
  return true;
}

bool CxImage::Mirror() {
  if (!dib_) return false;
  long w = long(GetWidth());
  for (long y = 0; y < long(GetHeight()); y++) {
    if (GetBpp() == 24) {
      uint8_t* row = GetBits(uint32_t(y));
      for (long x = 0; x < w / 2; x++) std::swap_ranges(row + x * 3, row + x * 3 + 3, row + (w - 1 - x) * 3);
    } else {
      for (long x = 0; x < w / 2; x++) {
        uint8_t a = GetPixelIndex(x, y), b = GetPixelIndex(w - 1 - x, y);
        SetPixelIndex(x, y, b);
        SetPixelIndex(w - 1 - x, y, a);
      }
    }
  }
  if (alpha_) AlphaMirror();
  if (selection_)
    for (uint32_t y = 0; y < GetHeight(); y++) std::reverse(selection_ + size_t(y) * w, selection_ + size_t(y + 1) * w);
  return true;
}

bool CxImage::RotateLeft(CxImage* out) {
  if (!dib_) return false;
  long w = long(GetWidth()), h = long(GetHeight());
  CxImage made;
  if (!MakeLike(*this, uint32_t(h), uint32_t(w), made)) return false;
  // Counter-clockwise: source (x, y) goes to (h - 1 - y, x) in bottom-up coordinates.
  for (long y = 0; y < h; y++)
    for (long x = 0; x < w; x++) CopyPixel(*this, x, y, made, h - 1 - y, x);
  Deliver(*this, made, out);
  return true;
}

bool CxImage::RotateRight(CxImage* out) {
  if (!dib_) return false;
  long w = long(GetWidth()), h = long(GetHeight());
  CxImage made;
  if (!MakeLike(*this, uint32_t(h), uint32_t(w), made)) return false;
  for (long y = 0; y < h; y++)
    for (long x = 0; x < w; x++) CopyPixel(*this, x, y, made, y, w - 1 - x);
  Deliver(*this, made, out);
  return true;
}

bool CxImage::Rotate180(CxImage* out) {
  if (!dib_) return false;
  CxImage made(*this);
  if (!made.IsValid() || !made.Flip() || !made.Mirror()) return false;
  Deliver(*this, made, out);
  return true;
}

bool CxImage::Rotate(float angle, CxImage* out) {
  if (!dib_) return false;
  double a = std::fmod(double(angle), 360.0);
  if (a < 0) a += 360.0;
  if (a == 0) {
    if (out) out->Copy(*this);
    return true;
  }
  if (a == 90) return RotateLeft(out);
  if (a == 180) return Rotate180(out);
  if (a == 270) return RotateRight(out);
  double rad = a * 3.14159265358979323846 / 180.0, cs = std::cos(rad), sn = std::sin(rad);
  double w = GetWidth(), h = GetHeight();
  uint32_t nw = uint32_t(std::ceil(std::fabs(w * cs) + std::fabs(h * sn) - 1e-6));
  uint32_t nh = uint32_t(std::ceil(std::fabs(w * sn) + std::fabs(h * cs) - 1e-6));
  CxImage made;
  if (!MakeLike(*this, std::max(1u, nw), std::max(1u, nh), made)) return false;
  double cx = w / 2, cy = h / 2, ncx = made.GetWidth() / 2.0, ncy = made.GetHeight() / 2.0;
  for (long y = 0; y < long(made.GetHeight()); y++)
    for (long x = 0; x < long(made.GetWidth()); x++) {
      // Inverse mapping of the pixel centre.
      double dx = x + 0.5 - ncx, dy = y + 0.5 - ncy;
      double sx = dx * cs + dy * sn + cx, sy = -dx * sn + dy * cs + cy;
      long ix = long(std::floor(sx)), iy = long(std::floor(sy));
      if (IsInside(ix, iy))
        CopyPixel(*this, ix, iy, made, x, y);
      else if (made.HasAlpha())
        made.AlphaSet(x, y, 0);
    }
  Deliver(*this, made, out);
  return true;
}

bool CxImage::Negative() {
  if (!dib_) return false;
  if (GetNumColors()) {
    CxRgbQuad* pal = GetPalette();
    for (uint32_t i = 0; i < GetNumColors(); i++) {
      pal[i].rgbRed = uint8_t(255 - pal[i].rgbRed);
      pal[i].rgbGreen = uint8_t(255 - pal[i].rgbGreen);
      pal[i].rgbBlue = uint8_t(255 - pal[i].rgbBlue);
    }
  } else {
    for (uint32_t y = 0; y < GetHeight(); y++) {
      uint8_t* p = GetBits(y);
      for (uint32_t i = 0; i < GetWidth() * 3; i++) p[i] = uint8_t(255 - p[i]);
    }
  }
  return true;
}

namespace {
inline uint8_t Luminance(const CxRgbQuad& c) {
  return uint8_t((c.rgbRed * 299 + c.rgbGreen * 587 + c.rgbBlue * 114) / 1000);
}
}  // namespace

bool CxImage::GrayScale() {
  if (!dib_) return false;
  if (GetNumColors()) {
    CxRgbQuad* pal = GetPalette();
    for (uint32_t i = 0; i < GetNumColors(); i++) {
      uint8_t v = Luminance(pal[i]);
      pal[i] = CxRgbQuad{v, v, v, pal[i].rgbReserved};
    }
    return true;
  }
  CxImage grey;
  grey.CopyInfo(*this);
  if (!grey.Create(GetWidth(), GetHeight(), 8, GetType())) return false;
  grey.SetGrayPalette();
  for (uint32_t y = 0; y < GetHeight(); y++) {
    const uint8_t* p = GetBits(y);
    uint8_t* q = grey.GetBits(y);
    for (uint32_t x = 0; x < GetWidth(); x++, p += 3) q[x] = Luminance(CxRgbQuad{p[0], p[1], p[2], 0});
  }
  grey.AlphaCopy(*this);
  if (transIndex_ >= 0) grey.SetTransIndex(-1);
  Transfer(grey);
  return true;
}

bool CxImage::Crop(long left, long top, long right, long bottom, CxImage* out) {
  if (!dib_) return false;
  long w = long(GetWidth()), h = long(GetHeight());
  left = std::max(0L, std::min(left, w));
  right = std::max(0L, std::min(right, w));
  top = std::max(0L, std::min(top, h));
  bottom = std::max(0L, std::min(bottom, h));
  if (right <= left || bottom <= top) return false;
  CxImage made;
  if (!MakeLike(*this, uint32_t(right - left), uint32_t(bottom - top), made)) return false;
  // top and bottom count from the top row; the block counts from the bottom.
  long startRow = h - bottom;
  for (long y = 0; y < long(made.GetHeight()); y++)
    for (long x = 0; x < long(made.GetWidth()); x++) CopyPixel(*this, left + x, startRow + y, made, x, y);
  Deliver(*this, made, out);
  return true;
}

bool CxImage::Crop(const CxRect& rect, CxImage* out) { return Crop(rect.left, rect.top, rect.right, rect.bottom, out); }

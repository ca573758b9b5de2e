// The alpha plane and the selection plane: one byte per pixel, rows bottom-up like the picture.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/CxImage.h"

namespace {
size_t PlaneSize(const CxImage& image) { return static_cast<size_t>(image.GetWidth()) * image.GetHeight(); }
}  // namespace

bool CxImage::AlphaCreate() {
  if (!dib_) return false;
  if (alpha_) return true;
  alpha_ = static_cast<uint8_t*>(std::malloc(PlaneSize(*this)));
  if (!alpha_) return false;
  std::memset(alpha_, 255, PlaneSize(*this));
  return true;
}

void CxImage::AlphaDelete() {
  if (!ghost_) std::free(alpha_);
  alpha_ = nullptr;
}

void CxImage::AlphaClear() {
  if (alpha_) std::memset(alpha_, 0, PlaneSize(*this));
}

void CxImage::AlphaSet(uint8_t level) {
  if (alpha_) std::memset(alpha_, level, PlaneSize(*this));
}

void CxImage::AlphaSet(long x, long y, uint8_t level) {
  if (alpha_ && IsInside(x, y)) alpha_[static_cast<size_t>(y) * GetWidth() + x] = level;
}

uint8_t CxImage::AlphaGet(long x, long y) const {
  if (alpha_ && IsInside(x, y)) return alpha_[static_cast<size_t>(y) * GetWidth() + x];
  return 0;
}

uint8_t* CxImage::AlphaGetPointer(long x, long y) const {
  if (!alpha_ || !IsInside(x, y)) return nullptr;
  return alpha_ + static_cast<size_t>(y) * GetWidth() + x;
}

bool CxImage::AlphaCopy(const CxImage& from) {
  if (!from.alpha_ || from.GetWidth() != GetWidth() || from.GetHeight() != GetHeight()) return false;
  if (!AlphaCreate()) return false;
  std::memcpy(alpha_, from.alpha_, PlaneSize(*this));
  return true;
}

bool CxImage::AlphaSplit(CxImage* dest) const {
  if (!alpha_ || !dest) return false;
  CxImage grey;
  if (!grey.Create(GetWidth(), GetHeight(), 8, 0)) return false;
  grey.SetGrayPalette();
  for (uint32_t y = 0; y < GetHeight(); y++)
    std::memcpy(grey.GetBits(y), alpha_ + static_cast<size_t>(y) * GetWidth(), GetWidth());
  dest->Transfer(grey);
  return true;
}

void CxImage::AlphaStrip() {
  if (!dib_ || !alpha_) return;
  if (GetNumColors() == 0) {
    for (uint32_t y = 0; y < GetHeight(); y++) {
      uint8_t* p = GetBits(y);
      const uint8_t* a = alpha_ + static_cast<size_t>(y) * GetWidth();
      for (uint32_t x = 0; x < GetWidth(); x++, p += 3) {
        unsigned level = a[x] * unsigned(alphaMax_) / 255;
        for (int c = 0; c < 3; c++) p[c] = static_cast<uint8_t>(p[c] * level / 255);
      }
    }
  }
  AlphaDelete();
}

void CxImage::AlphaInvert() {
  if (!alpha_) return;
  size_t n = PlaneSize(*this);
  for (size_t i = 0; i < n; i++) alpha_[i] = static_cast<uint8_t>(255 - alpha_[i]);
}

bool CxImage::AlphaFlip() {
  if (!alpha_) return false;
  uint32_t w = GetWidth(), h = GetHeight();
  std::vector<uint8_t> row(w);
  for (uint32_t y = 0; y < h / 2; y++) {
    uint8_t* a = alpha_ + static_cast<size_t>(y) * w;
    uint8_t* b = alpha_ + static_cast<size_t>(h - 1 - y) * w;
    std::memcpy(row.data(), a, w);
    std::memcpy(a, b, w);
    std::memcpy(b, row.data(), w);
  }
  return true;
}

bool CxImage::AlphaMirror() {
  if (!alpha_) return false;
  uint32_t w = GetWidth();
  for (uint32_t y = 0; y < GetHeight(); y++) std::reverse(alpha_ + static_cast<size_t>(y) * w, alpha_ + static_cast<size_t>(y + 1) * w);
  return true;
}

void CxImage::AlphaPaletteClear() {
  CxRgbQuad* pal = GetPalette();
  if (!pal) return;
  for (uint32_t i = 0; i < GetNumColors(); i++) pal[i].rgbReserved = 0;
}

bool CxImage::HasAlphaPalette() const {
  CxRgbQuad* pal = GetPalette();
  if (!pal) return false;
  for (uint32_t i = 0; i < GetNumColors(); i++)
    if (pal[i].rgbReserved) return true;
  return false;
}

// ---- selection ----

bool CxImage::SelectionCreate() {
  if (!dib_) return false;
  if (!selection_) {
    selection_ = static_cast<uint8_t*>(std::calloc(1, PlaneSize(*this)));
    if (!selection_) return false;
  }
  selectionBox_ = CxRect{long(GetWidth()), 0, 0, long(GetHeight())};
  return true;
}

bool CxImage::SelectionDelete() {
  if (!ghost_) std::free(selection_);
  selection_ = nullptr;
  selectionBox_ = CxRect{0, 0, 0, 0};
  return true;
}

bool CxImage::SelectionClear() {
  if (!selection_) return false;
  std::memset(selection_, 0, PlaneSize(*this));
  selectionBox_ = CxRect{long(GetWidth()), 0, 0, long(GetHeight())};
  return true;
}

namespace {

// The selection box keeps left/right and bottom (as `top`'s partner) in picture coordinates:
// left, right inclusive; top is the highest row + 1, bottom the lowest row.
void GrowBox(CxRect& box, long x0, long y0, long x1, long y1) {
  if (x0 < box.left) box.left = x0;
  if (x1 + 1 > box.right) box.right = x1 + 1;
  if (y1 + 1 > box.top) box.top = y1 + 1;
  if (y0 < box.bottom) box.bottom = y0;
}

}  // namespace

bool CxImage::SelectionAddRect(CxRect r) {
  if (!selection_ && !SelectionCreate()) return false;
  long x0 = std::max<long>(0, std::min(r.left, r.right));
  long x1 = std::min<long>(long(GetWidth()) - 1, std::max(r.left, r.right));
  long y0 = std::max<long>(0, std::min(r.top, r.bottom));
  long y1 = std::min<long>(long(GetHeight()) - 1, std::max(r.top, r.bottom));
  if (x0 > x1 || y0 > y1) return false;
  for (long y = y0; y <= y1; y++) std::memset(selection_ + static_cast<size_t>(y) * GetWidth() + x0, 255, x1 - x0 + 1);
  GrowBox(selectionBox_, x0, y0, x1, y1);
  return true;
}

bool CxImage::SelectionAddEllipse(CxRect r) {
  if (!selection_ && !SelectionCreate()) return false;
  double cx = (r.left + r.right) / 2.0, cy = (r.top + r.bottom) / 2.0;
  double rx = std::fabs(r.right - r.left) / 2.0, ry = std::fabs(r.bottom - r.top) / 2.0;
  if (rx <= 0 || ry <= 0) return false;
  bool any = false;
  for (long y = 0; y < long(GetHeight()); y++) {
    double dy = (y - cy) / ry;
    if (dy * dy > 1) continue;
    for (long x = 0; x < long(GetWidth()); x++) {
      double dx = (x - cx) / rx;
      if (dx * dx + dy * dy <= 1) {
        selection_[static_cast<size_t>(y) * GetWidth() + x] = 255;
        GrowBox(selectionBox_, x, y, x, y);
        any = true;
      }
    }
  }
  return any;
}

bool CxImage::SelectionAddPolygon(const CxPoint* points, long npoints) {
  if (!points || npoints < 3) return false;
  if (!selection_ && !SelectionCreate()) return false;
  bool any = false;
  // Even-odd rule at each pixel centre.
  for (long y = 0; y < long(GetHeight()); y++) {
    double py = y + 0.5;
    std::vector<double> crossings;
    for (long i = 0; i < npoints; i++) {
      const CxPoint& a = points[i];
      const CxPoint& b = points[(i + 1) % npoints];
      if ((a.y <= py && b.y > py) || (b.y <= py && a.y > py))
        crossings.push_back(a.x + (py - a.y) * double(b.x - a.x) / double(b.y - a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      long x0 = std::max<long>(0, long(std::ceil(crossings[k] - 0.5)));
      long x1 = std::min<long>(long(GetWidth()) - 1, long(std::floor(crossings[k + 1] - 0.5)));
      for (long x = x0; x <= x1; x++) {
        selection_[static_cast<size_t>(y) * GetWidth() + x] = 255;
        any = true;
      }
      if (x0 <= x1) GrowBox(selectionBox_, x0, y, x1, y);
    }
  }
  return any;
}

bool CxImage::SelectionInvert() {
  if (!selection_) return false;
  size_t n = PlaneSize(*this);
  for (size_t i = 0; i < n; i++) selection_[i] = static_cast<uint8_t>(255 - selection_[i]);
  selectionBox_ = CxRect{0, long(GetHeight()), long(GetWidth()), 0};
  return true;
}

bool CxImage::SelectionCopy(const CxImage& from) {
  if (!from.selection_ || from.GetWidth() != GetWidth() || from.GetHeight() != GetHeight()) return false;
  if (!selection_ && !SelectionCreate()) return false;
  std::memcpy(selection_, from.selection_, PlaneSize(*this));
  selectionBox_ = from.selectionBox_;
  return true;
}

bool CxImage::IsInsideSelection(long x, long y) const {
  if (!selection_ || !IsInside(x, y)) return false;
  return selection_[static_cast<size_t>(y) * GetWidth() + x] != 0;
}

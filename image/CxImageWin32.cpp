// The platform parts of the image object (Windows build): capture from and drawing to device
// contexts, exchange through global memory and resources.
#include <windows.h>

#include <cstring>
#include <vector>

#include "image/CxImage.h"
#include "platform/Handles.h"

using qv::ScopedDC;
using qv::ScopedGdiObj;
using qv::ScopedMemoryDC;
using qv::ScopedSelect;

namespace {

const BITMAPINFO* Info(const CxImage& image) { return static_cast<const BITMAPINFO*>(image.GetDIB()); }

}  // namespace

bool CxImage::CreateFromHBITMAP(HBITMAP hbmp, HPALETTE hpal) {
  Destroy();
  if (!hbmp) return false;
  BITMAP bm;
  if (!GetObject(hbmp, sizeof bm, &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return false;
  if (!Create(uint32_t(bm.bmWidth), uint32_t(bm.bmHeight), bm.bmBitsPixel, 0)) return false;
  ScopedDC screen(nullptr);
  HPALETTE old = hpal ? SelectPalette(screen.Get(), hpal, FALSE) : nullptr;
  if (hpal) RealizePalette(screen.Get());
  // GetDIBits fills the palette behind the header and may rewrite some header fields.
  CxBitmapInfoHeader saved = *Head();
  int lines = GetDIBits(screen.Get(), hbmp, 0, UINT(GetHeight()), GetBits(0),
                        reinterpret_cast<BITMAPINFO*>(dib_), DIB_RGB_COLORS);
  if (hpal) SelectPalette(screen.Get(), old, FALSE);
  *Head() = saved;
  if (lines == 0) {
    Destroy();
    SetLastError("GetDIBits failed");
    return false;
  }
  return true;
}

HBITMAP CxImage::MakeBitmap(HDC hdc) {
  if (!dib_) return nullptr;
  ScopedDC screen(nullptr);
  HDC dc = hdc ? hdc : screen.Get();
  return CreateDIBitmap(dc, reinterpret_cast<const BITMAPINFOHEADER*>(dib_), CBM_INIT, GetBits(0), Info(*this),
                        DIB_RGB_COLORS);
}

namespace {

// The colour of picture pixel (sx, sy) composed over dst (blue, green, red), or false when the
// pixel is fully transparent and the destination stays.
inline bool Compose(const CxImage& image, long sx, long sy, uint8_t* dst, bool alphaPalette) {
  if (image.GetTransIndex() >= 0 && image.GetNumColors() && image.GetPixelIndex(sx, sy) == image.GetTransIndex())
    return false;
  CxRgbQuad c = image.GetPixelColor(sx, sy, true);
  unsigned a = 255;
  if (image.HasAlpha())
    a = image.AlphaGet(sx, sy);
  else if (alphaPalette)
    a = c.rgbReserved;
  a = a * image.AlphaGetMax() / 255;
  if (image.GetTransIndex() >= 0 && !image.GetNumColors()) {
    CxRgbQuad t = image.GetTransColor();
    if (t.rgbRed == c.rgbRed && t.rgbGreen == c.rgbGreen && t.rgbBlue == c.rgbBlue) return false;
  }
  if (a == 0) return false;
  dst[0] = uint8_t((c.rgbBlue * a + dst[0] * (255 - a)) / 255);
  dst[1] = uint8_t((c.rgbGreen * a + dst[1] * (255 - a)) / 255);
  dst[2] = uint8_t((c.rgbRed * a + dst[2] * (255 - a)) / 255);
  return true;
}

}  // namespace

long CxImage::Draw(HDC hdc, long x, long y, long cx, long cy, const tagRECT* pClipRect) {
  if (!dib_ || !hdc || !enabled_) return 0;
  if (cx < 0) cx = long(GetWidth());
  if (cy < 0) cy = long(GetHeight());
  if (cx == 0 || cy == 0) return 0;
  int saved = SaveDC(hdc);
  if (pClipRect) IntersectClipRect(hdc, pClipRect->left, pClipRect->top, pClipRect->right, pClipRect->bottom);
  const bool alphaPalette = alphaPaletteEnabled_ && HasAlphaPalette();
  long result = 1;
  if (transIndex_ < 0 && !alpha_ && !alphaPalette) {
    SetStretchBltMode(hdc, COLORONCOLOR);
    result = StretchDIBits(hdc, int(x), int(y), int(cx), int(cy), 0, 0, int(GetWidth()), int(GetHeight()), GetBits(0),
                           Info(*this), DIB_RGB_COLORS, SRCCOPY) != 0;
  } else {
    // Compose with what the device shows: read it into a 24-bit section, blend, write it back.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = cx;
    bi.bmiHeader.biHeight = cy;  // bottom-up like the picture
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    ScopedGdiObj<HBITMAP> section(CreateDIBSection(hdc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    ScopedMemoryDC memory(section ? CreateCompatibleDC(hdc) : nullptr);
    if (!memory) {
      RestoreDC(hdc, saved);
      return 0;
    }
    HDC mem = memory.Get();
    ScopedSelect selected(mem, section.Get());
    BitBlt(mem, 0, 0, int(cx), int(cy), hdc, int(x), int(y), SRCCOPY);
    GdiFlush();
    const long row = ((cx * 24 + 31) / 32) * 4;
    for (long dy = 0; dy < cy; dy++) {
      // Destination row dy of the section counts from the bottom, as the picture's rows do.
      long sy = long(uint64_t(dy) * GetHeight() / uint64_t(cy));
      uint8_t* d = static_cast<uint8_t*>(bits) + dy * row;
      for (long dx = 0; dx < cx; dx++, d += 3) {
        long sx = long(uint64_t(dx) * GetWidth() / uint64_t(cx));
        Compose(*this, sx, sy, d, alphaPalette);
      }
    }
    result = BitBlt(hdc, int(x), int(y), int(cx), int(cy), mem, 0, 0, SRCCOPY) != 0;
  }
  RestoreDC(hdc, saved);
  return result;
}

long CxImage::Draw(HDC hdc, const tagRECT& rect, const tagRECT* pClipRect) {
  return Draw(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, pClipRect);
}

long CxImage::Draw2(HDC hdc, long x, long y, long cx, long cy) {
  if (!dib_ || !hdc || !enabled_) return 0;
  if (cx < 0) cx = long(GetWidth());
  if (cy < 0) cy = long(GetHeight());
  if (cx == 0 || cy == 0) return 0;
  SetStretchBltMode(hdc, COLORONCOLOR);
  return StretchDIBits(hdc, int(x), int(y), int(cx), int(cy), 0, 0, int(GetWidth()), int(GetHeight()), GetBits(0),
                       Info(*this), DIB_RGB_COLORS, SRCCOPY) != 0;
}

long CxImage::Draw2(HDC hdc, const tagRECT& rect) {
  return Draw2(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

long CxImage::Stretch(HDC hdc, long xoffset, long yoffset, long xsize, long ysize, unsigned long dwRop) {
  if (!dib_ || !hdc) return 0;
  // Colour-on-colour: deleted lines are dropped, not merged.
  SetStretchBltMode(hdc, COLORONCOLOR);
  return StretchDIBits(hdc, int(xoffset), int(yoffset), int(xsize), int(ysize), 0, 0, int(GetWidth()),
                       int(GetHeight()), GetBits(0), Info(*this), DIB_RGB_COLORS, DWORD(dwRop)) != 0;
}

long CxImage::Stretch(HDC hdc, const tagRECT& rect, unsigned long dwRop) {
  return Stretch(hdc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, dwRop);
}

long CxImage::Tile(HDC hdc, const tagRECT* rc) {
  if (!dib_ || !hdc || !rc) return 0;
  const long w = long(GetWidth()), h = long(GetHeight());
  for (long y = rc->top; y < rc->bottom; y += h)
    for (long x = rc->left; x < rc->right; x += w) {
      RECT clip = *rc;
      Draw(hdc, x, y, -1, -1, &clip);
    }
  return 1;
}

bool CxImage::CreateFromHANDLE(void* hMem) {
  if (!hMem) return false;
  SIZE_T size = GlobalSize(hMem);
  void* data = GlobalLock(hMem);
  if (!data) return false;
  // The handle holds a packed bitmap, which the BMP coder reads without a file header.
  std::vector<uint8_t> copy(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  GlobalUnlock(hMem);
  return Decode(copy.data(), uint32_t(copy.size()), 0);
}

void* CxImage::CopyToHandle() const {
  if (!dib_) return nullptr;
  HGLOBAL mem = GlobalAlloc(GHND, GetSize());
  if (!mem) return nullptr;
  void* p = GlobalLock(mem);
  std::memcpy(p, dib_, GetSize());
  GlobalUnlock(mem);
  return mem;
}

bool CxImage::LoadResource(HRSRC hRes, uint32_t imagetype, HMODULE hModule) {
  HGLOBAL handle = hRes ? ::LoadResource(hModule, hRes) : nullptr;
  void* data = handle ? LockResource(handle) : nullptr;
  DWORD size = hRes ? SizeofResource(hModule, hRes) : 0;
  if (!data || !size) {
    SetLastError("Unable to load resource!");
    return false;
  }
  std::vector<uint8_t> copy(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
  return Decode(copy.data(), size, imagetype);
}

// Construction, information, palette, pixels and transparency of the image object.
#include "image/CxImage.h"

#include <cstdlib>
#include <cstring>

#include "image/ImageLimits.h"
#include "image/StdPalettes.h"

namespace {

uint32_t NormaliseBpp(uint32_t bpp) { return bpp <= 1 ? 1 : bpp <= 4 ? 4 : bpp <= 8 ? 8 : 24; }

uint32_t RowBytes(uint32_t width, uint32_t bpp) { return ((width * bpp + 31) / 32) * 4; }

}  // namespace

CxImage::CxImage(uint32_t imagetype) : dib_(nullptr), alpha_(nullptr), selection_(nullptr), ghost_(nullptr) {
  Startup(imagetype);
}

CxImage::CxImage(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imagetype)
    : dib_(nullptr), alpha_(nullptr), selection_(nullptr), ghost_(nullptr) {
  Startup(imagetype);
  Create(width, height, bpp, imagetype);
}

CxImage::CxImage(const CxImage& src, bool copypixels, bool copyselection, bool copyalpha)
    : dib_(nullptr), alpha_(nullptr), selection_(nullptr), ghost_(nullptr) {
  Startup(src.GetType());
  Copy(src, copypixels, copyselection, copyalpha);
}

CxImage::CxImage(const char* filename, uint32_t imagetype)
    : dib_(nullptr), alpha_(nullptr), selection_(nullptr), ghost_(nullptr) {
  Startup(imagetype);
  Load(filename, imagetype);
}

CxImage::CxImage(FILE* stream, uint32_t imagetype)
    : dib_(nullptr), alpha_(nullptr), selection_(nullptr), ghost_(nullptr) {
  Startup(imagetype);
  Decode(stream, imagetype);
}

CxImage::CxImage(CxFile* stream, uint32_t imagetype)
    : dib_(nullptr), alpha_(nullptr), selection_(nullptr), ghost_(nullptr) {
  Startup(imagetype);
  Decode(stream, imagetype);
}

CxImage::CxImage(uint8_t* buffer, uint32_t size, uint32_t imagetype)
    : dib_(nullptr), alpha_(nullptr), selection_(nullptr), ghost_(nullptr) {
  Startup(imagetype);
  Decode(buffer, size, imagetype);
}

CxImage::~CxImage() { Destroy(); }

CxImage& CxImage::operator=(const CxImage& src) {
  if (this != &src) Copy(src);
  return *this;
}

void CxImage::Startup(uint32_t imagetype) {
  Destroy();
  type_ = imagetype;
  lastError_[0] = '\0';
  jpegQuality_ = 75;
  xdpi_ = ydpi_ = 72;
  transIndex_ = -1;
  transColor_ = CxRgbQuad{0, 0, 0, 0};
  alphaMax_ = 255;
  alphaPaletteEnabled_ = false;
  progress_ = 0;
  escape_ = 0;
  enabled_ = true;
  frame_ = 0;
  numFrames_ = 0;
  xOffset_ = yOffset_ = 0;
  selectionBox_ = CxRect{0, 0, 0, 0};
}

void CxImage::FreePlanes() {
  if (!ghost_) {
    std::free(alpha_);
    std::free(selection_);
  }
  alpha_ = nullptr;
  selection_ = nullptr;
}

bool CxImage::Destroy() {
  FreePlanes();
  if (!ghost_) std::free(dib_);
  dib_ = nullptr;
  ghost_ = nullptr;
  return true;
}

void* CxImage::Create(uint32_t width, uint32_t height, uint32_t bpp, uint32_t imagetype) {
  Destroy();
  if (width == 0 || height == 0) {
    SetLastError("CxImage::Create : width and height must be greater than zero");
    return nullptr;
  }
  if (!qv::image::SizeAllowed(width, height)) {
    SetLastError(qv::image::kTooLargeText);
    return nullptr;
  }
  bpp = NormaliseBpp(bpp);
  uint32_t colors = bpp == 24 ? 0 : (1u << bpp);
  uint64_t rowBytes = RowBytes(width, bpp);
  uint64_t imageBytes = rowBytes * height;
  uint64_t total = sizeof(CxBitmapInfoHeader) + colors * sizeof(CxRgbQuad) + imageBytes;
  if (total > 0xFFFFFFFFull || static_cast<size_t>(total) != total) {
    SetLastError(qv::image::kTooLargeText);
    return nullptr;
  }
  // calloc zeroes the palette and pixels; its overflow check covers the rest.
  dib_ = static_cast<uint8_t*>(std::calloc(1, static_cast<size_t>(total)));
  if (!dib_) {
    SetLastError("Can't allocate memory");
    return nullptr;
  }
  type_ = imagetype;
  CxBitmapInfoHeader* h = Head();
  h->biSize = sizeof(CxBitmapInfoHeader);
  h->biWidth = static_cast<int32_t>(width);
  h->biHeight = static_cast<int32_t>(height);
  h->biPlanes = 1;
  h->biBitCount = static_cast<uint16_t>(bpp);
  h->biCompression = 0;
  h->biSizeImage = static_cast<uint32_t>(imageBytes);
  h->biXPelsPerMeter = static_cast<int32_t>(xdpi_ * 10000 / 254);
  h->biYPelsPerMeter = static_cast<int32_t>(ydpi_ * 10000 / 254);
  h->biClrUsed = colors;
  h->biClrImportant = 0;
  return dib_;
}

void CxImage::Copy(const CxImage& src, bool copypixels, bool copyselection, bool copyalpha) {
  if (this == &src) return;
  Destroy();
  CopyInfo(src);
  if (!src.dib_) return;
  if (copypixels) {
    uint32_t size = src.GetSize();
    dib_ = static_cast<uint8_t*>(std::malloc(size));
    if (!dib_) {
      SetLastError("Can't allocate memory");
      return;
    }
    std::memcpy(dib_, src.dib_, size);
  } else {
    Create(src.GetWidth(), src.GetHeight(), src.GetBpp(), src.GetType());
    if (!dib_) return;
    std::memcpy(GetPalette() ? static_cast<void*>(GetPalette()) : dib_,
                src.GetPalette() ? static_cast<void*>(src.GetPalette()) : src.dib_, GetPaletteSize());
  }
  size_t plane = static_cast<size_t>(GetWidth()) * GetHeight();
  if (copyalpha && src.alpha_) {
    alpha_ = static_cast<uint8_t*>(std::malloc(plane));
    if (alpha_) std::memcpy(alpha_, src.alpha_, plane);
  }
  if (copyselection && src.selection_) {
    selection_ = static_cast<uint8_t*>(std::malloc(plane));
    if (selection_) std::memcpy(selection_, src.selection_, plane);
  }
}

void CxImage::CopyInfo(const CxImage& src) {
  type_ = src.type_;
  std::memcpy(lastError_, src.lastError_, sizeof lastError_);
  jpegQuality_ = src.jpegQuality_;
  xdpi_ = src.xdpi_;
  ydpi_ = src.ydpi_;
  transIndex_ = src.transIndex_;
  transColor_ = src.transColor_;
  alphaMax_ = src.alphaMax_;
  alphaPaletteEnabled_ = src.alphaPaletteEnabled_;
  enabled_ = src.enabled_;
  frame_ = src.frame_;
  numFrames_ = src.numFrames_;
  xOffset_ = src.xOffset_;
  yOffset_ = src.yOffset_;
  selectionBox_ = src.selectionBox_;
}

void CxImage::Transfer(CxImage& from) {
  if (this == &from) return;
  Destroy();
  CopyInfo(from);
  dib_ = from.dib_;
  alpha_ = from.alpha_;
  selection_ = from.selection_;
  ghost_ = from.ghost_;
  from.dib_ = from.alpha_ = from.selection_ = nullptr;
  from.ghost_ = nullptr;
}

void CxImage::Ghost(const CxImage* src) {
  if (!src || src == this) return;
  Destroy();
  CopyInfo(*src);
  dib_ = src->dib_;
  alpha_ = src->alpha_;
  selection_ = src->selection_;
  ghost_ = src;
}

uint32_t CxImage::GetWidth() const { return dib_ ? static_cast<uint32_t>(Head()->biWidth) : 0; }
uint32_t CxImage::GetHeight() const { return dib_ ? static_cast<uint32_t>(Head()->biHeight) : 0; }
uint32_t CxImage::GetBpp() const { return dib_ ? Head()->biBitCount : 0; }
uint32_t CxImage::GetNumColors() const { return dib_ ? Head()->biClrUsed : 0; }
uint32_t CxImage::GetEffWidth() const { return dib_ ? RowBytes(GetWidth(), GetBpp()) : 0; }

uint32_t CxImage::GetSize() const {
  if (!dib_) return 0;
  return static_cast<uint32_t>(sizeof(CxBitmapInfoHeader)) + GetPaletteSize() + Head()->biSizeImage;
}

uint8_t* CxImage::GetBits(uint32_t row) const {
  if (!dib_ || row >= GetHeight()) return nullptr;
  return dib_ + sizeof(CxBitmapInfoHeader) + GetPaletteSize() + static_cast<size_t>(row) * GetEffWidth();
}

void CxImage::SetXDPI(long dpi) {
  if (dpi <= 0) dpi = 96;
  xdpi_ = dpi;
  if (dib_) Head()->biXPelsPerMeter = static_cast<int32_t>(dpi * 10000 / 254);
}

void CxImage::SetYDPI(long dpi) {
  if (dpi <= 0) dpi = 96;
  ydpi_ = dpi;
  if (dib_) Head()->biYPelsPerMeter = static_cast<int32_t>(dpi * 10000 / 254);
}

void CxImage::SetJpegQuality(uint8_t quality) { jpegQuality_ = quality == 0 ? 1 : quality > 100 ? 100 : quality; }

void CxImage::GetOffset(long* x, long* y) const {
  if (x) *x = xOffset_;
  if (y) *y = yOffset_;
}

void CxImage::SetOffset(long x, long y) {
  xOffset_ = x;
  yOffset_ = y;
}

const char* CxImage::GetVersion() const { return "CxImage 5.00"; }

void CxImage::SetLastError(const char* text) {
  std::strncpy(lastError_, text ? text : "", sizeof lastError_ - 1);
  lastError_[sizeof lastError_ - 1] = '\0';
}

// ---- palette ----

CxRgbQuad* CxImage::GetPalette() const {
  if (!dib_ || GetNumColors() == 0) return nullptr;
  return reinterpret_cast<CxRgbQuad*>(dib_ + sizeof(CxBitmapInfoHeader));
}

uint32_t CxImage::GetPaletteSize() const { return GetNumColors() * static_cast<uint32_t>(sizeof(CxRgbQuad)); }

void CxImage::SetPalette(uint32_t n, const uint8_t* r, const uint8_t* g, const uint8_t* b) {
  CxRgbQuad* pal = GetPalette();
  if (!pal || !r) return;
  if (!g) g = r;
  if (!b) b = g;
  uint32_t m = n < GetNumColors() ? n : GetNumColors();
  for (uint32_t i = 0; i < m; i++) pal[i] = CxRgbQuad{b[i], g[i], r[i], 0};
}

void CxImage::SetPalette(const CxRgbQuad* src, uint32_t entries) {
  CxRgbQuad* pal = GetPalette();
  if (!pal || !src) return;
  uint32_t m = entries < GetNumColors() ? entries : GetNumColors();
  std::memcpy(pal, src, m * sizeof(CxRgbQuad));
}

void CxImage::SetPalette(const uint8_t* rgb, uint32_t entries, bool rgbTriples) {
  CxRgbQuad* pal = GetPalette();
  if (!pal || !rgb) return;
  uint32_t m = entries < GetNumColors() ? entries : GetNumColors();
  for (uint32_t i = 0; i < m; i++) {
    const uint8_t* p = rgb + i * (rgbTriples ? 3 : 4);
    pal[i] = CxRgbQuad{p[2], p[1], p[0], 0};
  }
}

void CxImage::SetPaletteIndex(uint8_t idx, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha) {
  CxRgbQuad* pal = GetPalette();
  if (pal && idx < GetNumColors()) pal[idx] = CxRgbQuad{b, g, r, alpha};
}

void CxImage::SetPaletteIndex(uint8_t idx, CxRgbQuad c) {
  CxRgbQuad* pal = GetPalette();
  if (pal && idx < GetNumColors()) pal[idx] = c;
}

void CxImage::SetPaletteIndex(uint8_t idx, uint32_t colorref) {
  SetPaletteIndex(idx, RGBtoRGBQUAD(colorref));
}

CxRgbQuad CxImage::GetPaletteColor(uint8_t idx) const {
  CxRgbQuad* pal = GetPalette();
  if (pal && idx < GetNumColors()) return pal[idx];
  return CxRgbQuad{0, 0, 0, 0};
}

uint8_t CxImage::GetNearestIndex(CxRgbQuad c) const {
  CxRgbQuad* pal = GetPalette();
  if (!pal) return 0;
  long best = 200000;
  uint8_t bestIndex = 0;
  uint32_t n = GetNumColors();
  for (uint32_t i = 0; i < n; i++) {
    long dr = long(pal[i].rgbRed) - c.rgbRed;
    long dg = long(pal[i].rgbGreen) - c.rgbGreen;
    long db = long(pal[i].rgbBlue) - c.rgbBlue;
    long d = dr * dr + dg * dg + db * db;
    if (d == 0) return static_cast<uint8_t>(i);
    if (d < best) {
      best = d;
      bestIndex = static_cast<uint8_t>(i);
    }
  }
  return bestIndex;
}

void CxImage::SetGrayPalette() {
  CxRgbQuad* pal = GetPalette();
  if (!pal) return;
  uint32_t n = GetNumColors();
  for (uint32_t i = 0; i < n; i++) {
    uint8_t v = static_cast<uint8_t>(i * 255 / (n - 1));
    pal[i] = CxRgbQuad{v, v, v, 0};
  }
}

namespace qv {
namespace image {

const CxRgbQuad kStdPalette16[16] = {
    {0, 0, 0, 0},       {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
    {128, 0, 0, 0},     {128, 0, 128, 0}, {128, 128, 0, 0}, {192, 192, 192, 0},
    {128, 128, 128, 0}, {0, 0, 255, 0},   {0, 255, 0, 0},   {0, 255, 255, 0},
    {255, 0, 0, 0},     {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0},
};

void StdPalette256(CxRgbQuad* pal) {
  // A 6 x 6 x 6 colour cube, then a ramp of 40 greys between its grey steps.
  int i = 0;
  for (int r = 0; r < 6; r++)
    for (int g = 0; g < 6; g++)
      for (int b = 0; b < 6; b++)
        pal[i++] = CxRgbQuad{uint8_t(b * 51), uint8_t(g * 51), uint8_t(r * 51), 0};
  for (int k = 0; k < 40; k++) {
    uint8_t v = static_cast<uint8_t>(6 + k * 249 / 39);
    pal[i++] = CxRgbQuad{v, v, v, 0};
  }
}

}  // namespace image
}  // namespace qv

void CxImage::SetStdPalette() {
  CxRgbQuad* pal = GetPalette();
  if (!pal) return;
  switch (GetNumColors()) {
    case 2:
      pal[0] = CxRgbQuad{0, 0, 0, 0};
      pal[1] = CxRgbQuad{255, 255, 255, 0};
      break;
    case 16:
      std::memcpy(pal, qv::image::kStdPalette16, sizeof qv::image::kStdPalette16);
      break;
    default:
      qv::image::StdPalette256(pal);
      break;
  }
}

void CxImage::BlendPalette(uint32_t colorref, long perc) {
  CxRgbQuad* pal = GetPalette();
  if (!pal) return;
  if (perc < 0) perc = 0;
  if (perc > 100) perc = 100;
  uint8_t r, g, b;
  GetRGB(colorref, &r, &g, &b);
  long keep = 100 - perc;
  for (uint32_t i = 0; i < GetNumColors(); i++) {
    pal[i].rgbRed = static_cast<uint8_t>((pal[i].rgbRed * keep + r * perc) / 100);
    pal[i].rgbGreen = static_cast<uint8_t>((pal[i].rgbGreen * keep + g * perc) / 100);
    pal[i].rgbBlue = static_cast<uint8_t>((pal[i].rgbBlue * keep + b * perc) / 100);
  }
}

void CxImage::SwapIndex(uint8_t idx1, uint8_t idx2) {
  CxRgbQuad* pal = GetPalette();
  if (!pal || idx1 >= GetNumColors() || idx2 >= GetNumColors()) return;
  CxRgbQuad t = pal[idx1];
  pal[idx1] = pal[idx2];
  pal[idx2] = t;
  for (long y = 0; y < long(GetHeight()); y++)
    for (long x = 0; x < long(GetWidth()); x++) {
      uint8_t i = GetPixelIndex(x, y);
      if (i == idx1)
        SetPixelIndex(x, y, idx2);
      else if (i == idx2)
        SetPixelIndex(x, y, idx1);
    }
  if (transIndex_ == idx1)
    transIndex_ = idx2;
  else if (transIndex_ == idx2)
    transIndex_ = idx1;
}

bool CxImage::IsGrayScale() const {
  CxRgbQuad* pal = GetPalette();
  if (!pal) return false;
  for (uint32_t i = 0; i < GetNumColors(); i++)
    if (pal[i].rgbRed != i || pal[i].rgbGreen != i || pal[i].rgbBlue != i) return false;
  return true;
}

void CxImage::GetRGB(uint32_t colorref, uint8_t* r, uint8_t* g, uint8_t* b) {
  if (r) *r = static_cast<uint8_t>(colorref & 0xFF);
  if (g) *g = static_cast<uint8_t>((colorref >> 8) & 0xFF);
  if (b) *b = static_cast<uint8_t>((colorref >> 16) & 0xFF);
}

void CxImage::RGBtoBGR(uint8_t* buffer, uint32_t length) {
  if (!buffer) return;
  for (uint32_t i = 0; i + 2 < length; i += 3) {
    uint8_t t = buffer[i];
    buffer[i] = buffer[i + 2];
    buffer[i + 2] = t;
  }
}

CxRgbQuad CxImage::RGBtoRGBQUAD(uint32_t colorref) {
  CxRgbQuad c;
  GetRGB(colorref, &c.rgbRed, &c.rgbGreen, &c.rgbBlue);
  c.rgbReserved = 0;
  return c;
}

uint32_t CxImage::RGBQUADtoRGB(CxRgbQuad c) { return CxRgb(c.rgbRed, c.rgbGreen, c.rgbBlue); }

// ---- pixels ----

bool CxImage::IsInside(long x, long y) const {
  return dib_ && x >= 0 && y >= 0 && x < long(GetWidth()) && y < long(GetHeight());
}

uint8_t CxImage::GetPixelIndex(long x, long y) const {
  if (!IsInside(x, y) || GetNumColors() == 0) return 0;
  const uint8_t* row = GetBits(static_cast<uint32_t>(y));
  switch (GetBpp()) {
    case 8:
      return row[x];
    case 4:
      return static_cast<uint8_t>((row[x >> 1] >> (x & 1 ? 0 : 4)) & 0x0F);
    default:
      return static_cast<uint8_t>((row[x >> 3] >> (7 - (x & 7))) & 1);
  }
}

void CxImage::SetPixelIndex(long x, long y, uint8_t idx) {
  if (!IsInside(x, y) || GetNumColors() == 0) return;
  uint8_t* row = GetBits(static_cast<uint32_t>(y));
  switch (GetBpp()) {
    case 8:
      row[x] = idx;
      break;
    case 4: {
      int shift = x & 1 ? 0 : 4;
      row[x >> 1] = static_cast<uint8_t>((row[x >> 1] & ~(0x0F << shift)) | ((idx & 0x0F) << shift));
      break;
    }
    default: {
      int shift = 7 - (x & 7);
      row[x >> 3] = static_cast<uint8_t>((row[x >> 3] & ~(1 << shift)) | ((idx & 1) << shift));
      break;
    }
  }
}

CxRgbQuad CxImage::GetPixelColor(long x, long y, bool getAlpha) const {
  CxRgbQuad c{0, 0, 0, 0};
  if (!dib_) return c;
  if (!IsInside(x, y)) {
    // Outside reads give the background: entry 0 of a palette, black otherwise.
    if (GetPalette()) c = GetPalette()[0];
    return c;
  }
  if (GetNumColors()) {
    c = GetPaletteColor(GetPixelIndex(x, y));
  } else {
    const uint8_t* p = GetBits(static_cast<uint32_t>(y)) + x * 3;
    c = CxRgbQuad{p[0], p[1], p[2], 0};
  }
  if (getAlpha && alpha_) c.rgbReserved = alpha_[static_cast<size_t>(y) * GetWidth() + x];
  return c;
}

void CxImage::SetPixelColor(long x, long y, CxRgbQuad c, bool setAlpha) {
  if (!IsInside(x, y)) return;
  if (GetNumColors()) {
    SetPixelIndex(x, y, GetNearestIndex(c));
  } else {
    uint8_t* p = GetBits(static_cast<uint32_t>(y)) + x * 3;
    p[0] = c.rgbBlue;
    p[1] = c.rgbGreen;
    p[2] = c.rgbRed;
  }
  if (setAlpha && alpha_) alpha_[static_cast<size_t>(y) * GetWidth() + x] = c.rgbReserved;
}

void CxImage::SetPixelColor(long x, long y, uint32_t colorref) { SetPixelColor(x, y, RGBtoRGBQUAD(colorref)); }

// ---- transparency ----

CxRgbQuad CxImage::GetTransColor() const {
  if (GetNumColors() && transIndex_ >= 0) return GetPaletteColor(static_cast<uint8_t>(transIndex_));
  return transColor_;
}

void CxImage::SetTransColor(CxRgbQuad c) {
  c.rgbReserved = 0;
  transColor_ = c;
}

bool CxImage::IsTransparent() const { return transIndex_ >= 0; }

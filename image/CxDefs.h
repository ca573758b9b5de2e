// Plain types shared by the image object and its coders. They mirror the platform's bitmap
// structures byte for byte, so that the picture block can be handed to drawing calls unchanged,
// without this portable header depending on the platform's headers.
#pragma once

#include <cstddef>
#include <cstdint>

// Quorvex.exe exports the image object's classes; every other user links them statically.
#if defined(_WIN32) && defined(QV_IMAGE_EXPORTS)
#define CXIMAGE_API __declspec(dllexport)
#else
#define CXIMAGE_API
#endif

// Format types, as stored in the change lists and passed by the changers.
enum CxImageFormat : uint32_t {
  CXIMAGE_FORMAT_BMP = 0,
  CXIMAGE_FORMAT_GIF = 1,
  CXIMAGE_FORMAT_JPG = 2,
  CXIMAGE_FORMAT_PNG = 3,
  CXIMAGE_FORMAT_ICO = 4,
  CXIMAGE_FORMAT_TIF = 5,
  CXIMAGE_FORMAT_TGA = 6,
  CXIMAGE_FORMAT_PCX = 7,
  CXIMAGE_FORMAT_WBMP = 8,
  CXIMAGE_FORMAT_WMF = 9,
};

#pragma pack(push, 1)
// One palette entry: blue, green, red, then a byte that is zero except in an alpha palette.
struct CxRgbQuad {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
};

// The 40-byte header that starts the picture block.
struct CxBitmapInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(CxRgbQuad) == 4, "palette entry is 4 bytes");
static_assert(sizeof(CxBitmapInfoHeader) == 40, "info header is 40 bytes");

// A rectangle in picture coordinates (y = 0 is the bottom row); right and bottom are inclusive
// for the selection operations.
struct CxRect {
  long left;
  long top;
  long right;
  long bottom;
};

struct CxPoint {
  long x;
  long y;
};

// A colour with the usual platform packing 0x00BBGGRR.
inline uint32_t CxRgb(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

// Size limits checked before any picture is allocated. A side may not exceed 65535 pixels (the
// largest size most formats can even state) and a picture may not exceed 2^28 pixels (268 MP, the
// largest 24-bit picture whose 768 MB block a 32-bit process can still hope to allocate). Every
// real photo, panorama and wallpaper fits; a header that claims more is refused.
constexpr int32_t kCxMaxSide = 65535;
constexpr uint64_t kCxMaxPixels = uint64_t(1) << 28;

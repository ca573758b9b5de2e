#include "thumbs/ThumbnailCore.h"

#include <cstring>
#include <string>

#include "image/Coders.h"
#include "platform/AsciiText.h"

namespace qv {
namespace thumbs {

uint32_t FormatOf(const char* path, const uint8_t* h, size_t n) {
  if (n >= 3 && h[0] == 0xFF && h[1] == 0xD8 && h[2] == 0xFF) return CXIMAGE_FORMAT_JPG;
  if (n >= 8 && std::memcmp(h, "\x89PNG\r\n\x1a\n", 8) == 0) return CXIMAGE_FORMAT_PNG;
  if (n >= 4 && std::memcmp(h, "GIF8", 4) == 0) return CXIMAGE_FORMAT_GIF;
  if (n >= 2 && h[0] == 'B' && h[1] == 'M') return CXIMAGE_FORMAT_BMP;
  if (n >= 4 && (std::memcmp(h, "II*\0", 4) == 0 || std::memcmp(h, "MM\0*", 4) == 0)) return CXIMAGE_FORMAT_TIF;
  if (n >= 4 && h[0] == 0xD7 && h[1] == 0xCD && h[2] == 0xC6 && h[3] == 0x9A) return CXIMAGE_FORMAT_WMF;
  if (n >= 44 && std::memcmp(h + 40, " EMF", 4) == 0) return CXIMAGE_FORMAT_WMF;
  const std::string ext = platform::LowerExtension(path ? path : "");
  // An icon directory; a true-colour TGA starts alike but has no entry count there.
  if (ext != "tga" && n >= 6 && h[0] == 0 && h[1] == 0 && (h[2] == 1 || h[2] == 2) && h[3] == 0 && (h[4] | h[5]))
    return CXIMAGE_FORMAT_ICO;
  if (ext == "tga") return CXIMAGE_FORMAT_TGA;
  if (ext == "pcx") return CXIMAGE_FORMAT_PCX;
  if (ext == "wbmp" || ext == "wbm") return CXIMAGE_FORMAT_WBMP;
  if (ext == "wmf" || ext == "emf") return CXIMAGE_FORMAT_WMF;
  if (ext == "jpg" || ext == "jpeg" || ext == "jpe") return CXIMAGE_FORMAT_JPG;
  if (ext == "tif" || ext == "tiff") return CXIMAGE_FORMAT_TIF;
  if (ext == "png") return CXIMAGE_FORMAT_PNG;
  if (ext == "gif") return CXIMAGE_FORMAT_GIF;
  if (ext == "ico") return CXIMAGE_FORMAT_ICO;
  // .bmp, .dib, .rle and packed bitmaps.
  return CXIMAGE_FORMAT_BMP;
}

namespace {

// Composes an alpha plane or a transparent index over white and drops it.
void FlattenOverWhite(CxImage& image) {
  const bool trans = image.GetTransIndex() >= 0 && image.GetNumColors();
  const bool alphaPalette = image.IsAlphaPaletteEnabled() && image.HasAlphaPalette();
  if (!image.HasAlpha() && !trans && !alphaPalette) return;
  CxImage flat;
  if (!flat.Create(image.GetWidth(), image.GetHeight(), 24, image.GetType())) return;
  for (long y = 0; y < long(image.GetHeight()); y++) {
    uint8_t* d = flat.GetBits(uint32_t(y));
    for (long x = 0; x < long(image.GetWidth()); x++, d += 3) {
      CxRgbQuad c = image.GetPixelColor(x, y, true);
      unsigned a = image.HasAlpha() ? image.AlphaGet(x, y) : alphaPalette ? c.rgbReserved : 255;
      if (trans && image.GetPixelIndex(x, y) == image.GetTransIndex()) a = 0;
      d[0] = uint8_t((c.rgbBlue * a + 255 * (255 - a)) / 255);
      d[1] = uint8_t((c.rgbGreen * a + 255 * (255 - a)) / 255);
      d[2] = uint8_t((c.rgbRed * a + 255 * (255 - a)) / 255);
    }
  }
  image.Transfer(flat);
}

}  // namespace

bool MakeThumbnail(const char* path, uint32_t boxWidth, uint32_t boxHeight, CxImage& out, uint32_t* realWidth,
                   uint32_t* realHeight) {
  if (!path || boxWidth == 0 || boxHeight == 0) return false;
  CxIOFile file;
  if (!file.Open(path, "rb")) return false;
  uint8_t head[64] = {0};
  size_t n = file.Read(head, 1, sizeof head);
  if (!file.Seek(0, SEEK_SET)) return false;
  const uint32_t type = FormatOf(path, head, n);
  CxImage image(type);
  uint32_t fullW = 0, fullH = 0;
  if (type == CXIMAGE_FORMAT_JPG) {
    CxImage caller;
    image::CoderJob job{file, image, caller, {}};
    if (!image::DecodeJpegScaled(job, boxWidth, boxHeight, &fullW, &fullH)) return false;
  } else {
    if (!image.Decode(&file, type)) return false;
    fullW = image.GetWidth();
    fullH = image.GetHeight();
  }
  if (!image.IsValid()) return false;
  FlattenOverWhite(image);
  // Area averaging needs 24 bits; palette pictures would otherwise be interpolated.
  if (image.GetBpp() < 24 && !image.IncreaseBpp(24)) return false;
  uint32_t fitW, fitH;
  image::FitIntoBoxSize(image.GetWidth(), image.GetHeight(), boxWidth, boxHeight, &fitW, &fitH);
  // The picture's real size decides the fitted size: a DCT-scaled decode may be a little off.
  if (fullW && fullH) image::FitIntoBoxSize(fullW, fullH, boxWidth, boxHeight, &fitW, &fitH);
  if (!image.Resample(long(fitW), long(fitH), 0)) return false;
  out.Transfer(image);
  if (realWidth) *realWidth = fullW;
  if (realHeight) *realHeight = fullH;
  return true;
}

}  // namespace thumbs
}  // namespace qv

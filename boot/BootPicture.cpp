#include "boot/BootPicture.h"

#include <cstring>

#include "changers/OctreeQuantizer.h"
#include "core/WindowsGeneration.h"
#include "image/CxImage.h"

namespace qv {

bool PrepareBootPicture(CxImage& image, const BootPictureFormat& format, CxRgbQuad* palette) {
  std::memset(palette, 0, 256 * sizeof(CxRgbQuad));
  if (!image.Resample(static_cast<long>(format.width), static_cast<long>(format.height), 0) ||
      !image.IncreaseBpp(24))
    return false;
  OctreeQuantizer quantizer(format.colours, format.bits);
  if (!quantizer.ProcessImage(image)) {
    image.SetLastError("the palette could not be built");
    return false;
  }
  quantizer.SetColorTable(palette);
  return image.DecreaseBpp(format.bits, true, palette) && image.GetBpp() == format.bits;
}

const BootPictureFormat* BootPictureFormatFor(int generation) {
  switch (generation) {
    case kWin2000:
    case kWinXP: return &kKernelBootPicture;
    case kWin95:
    case kWin98:
    case kWinMe: return &kLogoSysPicture;
    default: return nullptr;
  }
}

CxImage::SizeFit BootPictureFit(const BootPictureFormat& format) {
  const CxImage::FittedSize size{long(format.width), long(format.height)};
  return [size](uint32_t, uint32_t) { return size; };
}

}  // namespace qv

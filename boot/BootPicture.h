// The picture work of the boot screen: a loaded picture turned into the exact bitmap a boot
// screen needs (a fixed size, a palette of its own colours, error diffusion).
#pragma once

#include <cstdint>

#include "image/CxDefs.h"
#include "image/CxImage.h"

namespace qv {

// The Windows 2000 and XP kernel's boot bitmap, and the Windows 95, 98 and Me boot logo.
struct BootPictureFormat {
  std::uint32_t width, height, colours, bits;
};
constexpr BootPictureFormat kKernelBootPicture = {640, 480, 16, 4};
constexpr BootPictureFormat kLogoSysPicture = {320, 400, 256, 8};

// The boot picture of a Windows generation (a WindowsGenerationCode): the kernel's on 2000 and
// XP, LOGO.SYS on 95, 98 and Me; null where there is none (NT 4).
const BootPictureFormat* BootPictureFormatFor(int generation);

// Resamples the picture to the format's size (mode 0, the aspect ratio is not kept), raises it
// to 24 bits, builds a palette of at most format.colours entries with the octree quantizer and
// lowers the picture onto it with error diffusion. palette (256 entries) receives the table,
// zero past the quantizer's colours. False, with the picture's last-error text, when a step fails.
bool PrepareBootPicture(CxImage& image, const BootPictureFormat& format, CxRgbQuad* palette);

// The format's size for any picture, for CxImage::LoadResampled: a colour JPEG larger both ways
// is then averaged while it decodes (the whole photo is never held), and PrepareBootPicture's
// own resampling finds it at the size already, with the same bytes.
CxImage::SizeFit BootPictureFit(const BootPictureFormat& format);

}  // namespace qv

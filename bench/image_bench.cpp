// The image object's benchmark driver (native, and under Wine), run by image-bench.sh beside ImageMagick
// and libvips doing the same work:
//   image_bench boot IN.jpg OUT.bmp      load, the boot screen's picture work (Resample 640x480
//                                        mode 0, octree palette of 16 colours, error diffusion
//                                        onto it), save a 4-bit BMP
//   image_bench wallpaper IN.jpg OUT.bmp load and fit into a 1024 x 768 screen by area averaging
//                                        (as Resample mode 0, done while decoding), save a 24-bit BMP
//   image_bench thumbs OUTDIR IN...      96 x 96 thumbnails through the kz.dll maker, as BMPs
#include <cstdio>
#include <cstring>
#include <string>

#include "changers/ImagePreparation.h"
#include "boot/BootPicture.h"
#include "image/CxImage.h"
#include "thumbs/ThumbnailCore.h"


int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "boot") == 0) {
    // As the boot screen changer loads: averaged to the boot size while decoding.
    CxImage image;
    bool resampled = false;
    if (!image.LoadResampled(argv[2], CXIMAGE_FORMAT_JPG, qv::BootPictureFit(qv::kKernelBootPicture), &resampled) ||
        !resampled)
      return std::fprintf(stderr, "%s\n", image.GetLastError()), 1;
    CxRgbQuad palette[256];
    if (!qv::PrepareBootPicture(image, qv::kKernelBootPicture, palette)) return 1;
    return image.Save(argv[3], CXIMAGE_FORMAT_BMP) ? 0 : 1;
  }
  if (argc >= 4 && std::strcmp(argv[1], "wallpaper") == 0) {
    // As the wallpaper changer loads: averaged while decoding.
    CxImage image;
    bool resampled = false;
    const auto fit = [](uint32_t width, uint32_t height) {
      const qv::Size fitted = qv::FitToScreenSize(1024, 768, int(width), int(height));
      return CxImage::FittedSize{fitted.width, fitted.height};
    };
    if (!image.LoadResampled(argv[2], CXIMAGE_FORMAT_JPG, fit, &resampled) || !resampled)
      return std::fprintf(stderr, "%s\n", image.GetLastError()), 1;
    return image.Save(argv[3], CXIMAGE_FORMAT_BMP) ? 0 : 1;
  }
  if (argc >= 4 && std::strcmp(argv[1], "thumbs") == 0) {
    int failed = 0;
    for (int i = 3; i < argc; i++) {
      CxImage thumb;
      uint32_t w, h;
      std::string name = argv[i];
      name = std::string(argv[2]) + "/" + name.substr(name.rfind('/') + 1) + ".bmp";
      if (!qv::thumbs::MakeThumbnail(argv[i], 96, 96, thumb, &w, &h) || !thumb.Save(name.c_str(), CXIMAGE_FORMAT_BMP))
        failed++;
    }
    return failed ? 1 : 0;
  }
  std::fprintf(stderr, "usage: image_bench boot|wallpaper IN.jpg OUT.bmp | thumbs OUTDIR IN...\n");
  return 2;
}

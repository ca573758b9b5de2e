// The image object's benchmark driver (native build), run by image-bench.sh beside ImageMagick
// and libvips doing the same work:
//   image_bench boot IN.jpg OUT.bmp      load, Resample 640x480 mode 0, octree palette of 16
//                                        colours, error diffusion onto it, save a 4-bit BMP
//   image_bench thumbs OUTDIR IN...      96 x 96 thumbnails through the kz.dll maker, as BMPs
#include <cstdio>
#include <cstring>
#include <string>

#include "changers/OctreeQuantizer.h"
#include "image/CxImage.h"
#include "thumbs/ThumbnailCore.h"


int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "boot") == 0) {
    CxImage image(argv[2], CXIMAGE_FORMAT_JPG);
    if (!image.IsValid()) return std::fprintf(stderr, "%s\n", image.GetLastError()), 1;
    if (!image.Resample(640, 480, 0)) return 1;
    qv::OctreeQuantizer octree(16, 8);
    if (!octree.ProcessImage(image)) return 1;
    CxRgbQuad palette[256] = {};
    octree.SetColorTable(palette);
    if (!image.DecreaseBpp(4, true, palette)) return 1;
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
  std::fprintf(stderr, "usage: image_bench boot IN.jpg OUT.bmp | thumbs OUTDIR IN...\n");
  return 2;
}

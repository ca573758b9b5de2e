// The picture paths of the changers over real photos (Debian's mate-backgrounds), compared with
// digests of the bitmaps they wrote when the digests were taken, so that a change of result is
// a conscious one; a mismatch prints the new digest line (QV_PRINT_DIGESTS=1 prints them all).
// A JPEG is decoded at a reduced scale where that still covers the size (ScaledDecodeQualityTest
// holds those to the whole decode); a PNG, never reduced, must give the bytes of the whole
// picture resampled.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>

#include "boot/BootPicture.h"
#include "changers/ImagePreparation.h"
#include "image/CxImage.h"
#include "thumbs/ThumbnailCore.h"

namespace {

const std::string kPhotos = QV_PHOTO_DIR;

// FNV-1a, 64 bits: enough to notice any changed byte.
uint64_t Digest(const uint8_t* p, size_t n) {
  uint64_t h = 14695981039346656037ull;
  for (size_t i = 0; i < n; i++) h = (h ^ p[i]) * 1099511628211ull;
  return h;
}

uint64_t BitmapDigest(CxImage& image) {
  uint8_t* buffer = nullptr;
  long size = 0;
  if (!image.Encode(buffer, size, CXIMAGE_FORMAT_BMP)) return 0;
  uint64_t h = Digest(buffer, size_t(size));
  std::free(buffer);
  return h;
}

uint32_t TypeOf(const std::string& name) {
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".png") == 0 ? CXIMAGE_FORMAT_PNG
                                                                           : CXIMAGE_FORMAT_JPG;
}

// Each photo is decoded once for all the paths; the paths work on copies.
const CxImage& Photo(const std::string& name) {
  static std::map<std::string, std::unique_ptr<CxImage>> cache;
  std::unique_ptr<CxImage>& slot = cache[name];
  if (!slot) slot = std::make_unique<CxImage>((kPhotos + "/" + name).c_str(), TypeOf(name));
  return *slot;
}

struct Case {
  const char* photo;
  const char* path;  // "boot", "logo", "wall WxH" or "thumb"
  uint64_t digest;
};

// The photos span the shapes that matter to the area averaging: 4:3, 16:9 and 16:10 pictures,
// an odd height, scale factors below 2 (neighbouring boundary pixels) and a picture with alpha.
const Case kCases[] = {
#include "tests/image/PicturePathsDigests.inc"
};

bool IsPng(const std::string& name) { return TypeOf(name) == CXIMAGE_FORMAT_PNG; }

uint64_t BootPath(const Case& c, const std::string& path) {
  CxRgbQuad palette[256];
  const qv::BootPictureFormat& format = path == "boot" ? qv::kKernelBootPicture : qv::kLogoSysPicture;
  // The boot changer's own load, brought to the size while the photo decodes.
  CxImage loaded;
  bool resampled = false;
  EXPECT_TRUE(loaded.LoadResampled((kPhotos + "/" + c.photo).c_str(), TypeOf(c.photo), qv::BootPictureFit(format),
                                   &resampled));
  EXPECT_TRUE(resampled);
  EXPECT_TRUE(qv::PrepareBootPicture(loaded, format, palette)) << loaded.GetLastError();
  EXPECT_EQ(loaded.GetBpp(), format.bits);
  const uint64_t digest = BitmapDigest(loaded);
  if (IsPng(c.photo)) {
    CxImage image(Photo(c.photo));
    EXPECT_TRUE(qv::PrepareBootPicture(image, format, palette)) << image.GetLastError();
    EXPECT_EQ(BitmapDigest(image), digest) << "the load resampled while decoding differs";
  }
  return digest;
}

uint64_t WallpaperPath(const Case& c) {
  int screenW = 0, screenH = 0;
  EXPECT_EQ(std::sscanf(c.path, "wall %dx%d", &screenW, &screenH), 2) << c.path;
  // The wallpaper changer's own load.
  CxImage loaded;
  bool resampled = false;
  const auto fit = [&](uint32_t w, uint32_t h) {
    const qv::Size s = qv::FitToScreenSize(screenW, screenH, int(w), int(h));
    return CxImage::FittedSize{s.width, s.height};
  };
  EXPECT_TRUE(loaded.LoadResampled((kPhotos + "/" + c.photo).c_str(), TypeOf(c.photo), fit, &resampled));
  EXPECT_TRUE(resampled);
  EXPECT_EQ(loaded.GetBpp(), 24u);
  const uint64_t digest = BitmapDigest(loaded);
  if (IsPng(c.photo)) {
    CxImage image(Photo(c.photo));
    qv::Size fitted = qv::FitToScreenSize(screenW, screenH, int(image.GetWidth()), int(image.GetHeight()));
    EXPECT_TRUE(image.Resample(fitted.width, fitted.height, 0));
    EXPECT_EQ(BitmapDigest(image), digest) << "the load resampled while decoding differs";
  }
  return digest;
}

uint64_t RunPath(const Case& c) {
  const std::string path = c.path;
  if (path == "boot" || path == "logo") return BootPath(c, path);
  if (path == "thumb") {
    CxImage thumb;
    EXPECT_TRUE(qv::thumbs::MakeThumbnail((kPhotos + "/" + c.photo).c_str(), 96, 96, thumb, nullptr, nullptr));
    return BitmapDigest(thumb);
  }
  return WallpaperPath(c);
}

TEST(PicturePaths, BitmapsOfRealPhotosAreThoseOfTheDigests) {
  int checked = 0;
  for (const Case& c : kCases) {
    SCOPED_TRACE(std::string(c.photo) + " " + c.path);
    uint64_t got = RunPath(c);
    char line[160];
    std::snprintf(line, sizeof line, "{\"%s\", \"%s\", 0x%016llxull},", c.photo, c.path,
                  static_cast<unsigned long long>(got));
    EXPECT_EQ(got, c.digest) << "now: " << line;
    if (std::getenv("QV_PRINT_DIGESTS")) std::printf("%s\n", line);
    checked++;
  }
  EXPECT_GE(checked, 30);
}

}  // namespace

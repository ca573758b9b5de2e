// The picture paths that decode a JPEG at a reduced DCT scale, held to the full decode: the same
// path run on the whole picture (Load, then Resample) is the reference, and the reduced load
// must stay close to it over real photos (Debian's mate-backgrounds and the large wallpapers of
// lomiri-wallpapers). The boot paths are compared before their palette reduction, which would
// otherwise hide or magnify the difference. QV_QUALITY_TABLE=1 prints every pair's figures and
// QV_QUALITY_PAIRS=DIR writes each pair side by side as a BMP, for looking at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "boot/BootPicture.h"
#include "changers/ImagePreparation.h"
#include "image/CxImage.h"

namespace {

const std::string kMate = QV_PHOTO_DIR;
const std::string kLomiri = QV_LARGE_PHOTO_DIR;

struct Difference {
  double psnr;  // over the three channels; 99 when equal
  int largest;  // the largest difference of one channel
};

Difference Compare(const CxImage& a, const CxImage& b) {
  double squares = 0;
  int largest = 0;
  const uint32_t w = a.GetWidth(), h = a.GetHeight();
  for (uint32_t y = 0; y < h; y++) {
    const uint8_t* p = a.GetBits(y);
    const uint8_t* q = b.GetBits(y);
    for (uint32_t i = 0; i < w * 3; i++) {
      const int d = int(p[i]) - int(q[i]);
      squares += double(d) * d;
      largest = std::max(largest, std::abs(d));
    }
  }
  if (squares == 0) return {99, 0};
  return {10 * std::log10(255.0 * 255.0 * w * h * 3 / squares), largest};
}

// a and b side by side, each pixel drawn 2 x 2.
void WritePair(const CxImage& a, const CxImage& b, const std::string& path) {
  const uint32_t w = a.GetWidth(), h = a.GetHeight();
  CxImage pair;
  if (!pair.Create(w * 4 + 8, h * 2, 24, CXIMAGE_FORMAT_BMP)) return;
  for (uint32_t y = 0; y < h * 2; y++) {
    uint8_t* out = pair.GetBits(y);
    const uint8_t* rows[2] = {a.GetBits(y / 2), b.GetBits(y / 2)};
    for (int side = 0; side < 2; side++)
      for (uint32_t x = 0; x < w * 2; x++)
        std::copy_n(rows[side] + x / 2 * 3, 3, out + (side * (w * 2 + 8) + x) * 3);
  }
  pair.Save(path.c_str(), CXIMAGE_FORMAT_BMP);
}

struct Path {
  const char* name;
  int width, height;
  bool keepAspect;  // fitted to the screen (wallpaper); otherwise stretched (boot screen, logo)
};

const Path kPaths[] = {
    {"wall 1024x768", 1024, 768, true},
    {"wall 1280x1024", 1280, 1024, true},
    {"boot", 640, 480, false},
    {"logo", 320, 400, false},
};

CxImage::FittedSize TargetOf(const Path& path, uint32_t w, uint32_t h) {
  if (!path.keepAspect) return {path.width, path.height};
  const qv::Size s = qv::FitToScreenSize(path.width, path.height, int(w), int(h));
  return {s.width, s.height};
}

struct Measured {
  std::string photo, path;
  Difference difference;
};

// Every path over one photo: the whole decode resampled against the changers' own load.
void MeasurePhoto(const std::string& file, std::vector<Measured>* out) {
  const CxImage whole(file.c_str(), CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(whole.IsValid()) << file << ": " << whole.GetLastError();
  for (const Path& path : kPaths) {
    SCOPED_TRACE(file + " " + path.name);
    const CxImage::FittedSize target = TargetOf(path, whole.GetWidth(), whole.GetHeight());
    CxImage reference(whole);
    ASSERT_TRUE(reference.Resample(target.width, target.height, 0));
    CxImage loaded;
    bool resampled = false;
    const auto fit = [&](uint32_t w, uint32_t h) { return TargetOf(path, w, h); };
    ASSERT_TRUE(loaded.LoadResampled(file.c_str(), CXIMAGE_FORMAT_JPG, fit, &resampled)) << loaded.GetLastError();
    EXPECT_TRUE(resampled);
    ASSERT_EQ(loaded.GetWidth(), reference.GetWidth());
    ASSERT_EQ(loaded.GetHeight(), reference.GetHeight());
    ASSERT_EQ(loaded.GetBpp(), 24u);
    out->push_back({file.substr(file.rfind('/') + 1), path.name, Compare(reference, loaded)});
    if (const char* folder = std::getenv("QV_QUALITY_PAIRS")) {
      std::string name = out->back().photo + "-" + path.name + ".bmp";
      std::replace(name.begin(), name.end(), ' ', '-');
      WritePair(reference, loaded, std::string(folder) + "/" + name);
    }
  }
}

const char* const kPhotos[] = {
    "abstract/Elephants.jpg",  "abstract/Elephants_3840x2160.jpg", "abstract/Elephants_5640x3172.jpg",
    "desktop/GreenTraditional.jpg", "nature/Aqua.jpg",   "nature/Blinds.jpg",    "nature/Dune.jpg",
    "nature/FreshFlower.jpg",  "nature/Garden.jpg",      "nature/GreenMeadow.jpg", "nature/LadyBird.jpg",
    "nature/RainDrops.jpg",    "nature/Storm.jpg",       "nature/TwoWings.jpg",  "nature/Wood.jpg",
    "nature/YellowFlower.jpg",
};
const char* const kLargePhotos[] = {"Kleiber_by_Lukas_Baubkus.jpg", "Infinite-Sea_by_Aury88.jpg"};

// The gate: per path, the median PSNR at least 40 dB and no photo under 32 dB.
TEST(ScaledDecodeQuality, ReducedLoadsStayCloseToTheWholeDecodeOverRealPhotos) {
  std::vector<Measured> measured;
  for (const char* photo : kPhotos) MeasurePhoto(kMate + "/" + photo, &measured);
  for (const char* photo : kLargePhotos) MeasurePhoto(kLomiri + "/" + photo, &measured);
  const bool print = std::getenv("QV_QUALITY_TABLE") != nullptr;
  for (const Path& path : kPaths) {
    std::vector<double> values;
    for (const Measured& m : measured) {
      if (m.path != path.name) continue;
      values.push_back(m.difference.psnr);
      EXPECT_GE(m.difference.psnr, 32.0) << m.photo << " " << m.path;
      if (print)
        std::printf("| %s | %s | %.1f | %d |\n", m.photo.c_str(), m.path.c_str(), m.difference.psnr,
                    m.difference.largest);
    }
    ASSERT_EQ(values.size(), std::size(kPhotos) + std::size(kLargePhotos)) << path.name;
    std::sort(values.begin(), values.end());
    const double median = (values[(values.size() - 1) / 2] + values[values.size() / 2]) / 2;
    EXPECT_GE(median, 40.0) << path.name;
    if (print) std::printf("| median | %s | %.1f | |\n", path.name, median);
  }
}

}  // namespace

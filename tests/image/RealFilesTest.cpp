// Decoding real files nobody here wrote: the test pictures of libpng, libjpeg-turbo, libtiff and
// giflib from Debian's source packages, compared with libjpeg itself or ImageMagick.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "image/CxImage.h"
#include "tests/image/Reference.h"

namespace {

using qvtest::FilesIn;
using qvtest::SourceFolder;

std::string BaseName(const std::string& path) { return path.substr(path.rfind('/') + 1); }

// A missing picture set fails: the fetch test before this one says why.
#define REQUIRE_FOLDER(var, package)   \
  std::string var = SourceFolder(package); \
  ASSERT_FALSE(var.empty()) << "no " package " pictures in " << qvtest::TestPicturesRoot()

// Decodes every file with our coder and compares it with ImageMagick; returns the files decoded.
int DecodeAndCompare(const std::vector<std::string>& files, uint32_t type, int tolerance,
                     const std::string& extra = "") {
  int decoded = 0;
  for (const std::string& path : files) {
    SCOPED_TRACE(BaseName(path));
    CxImage image(path.c_str(), type);
    EXPECT_TRUE(image.IsValid()) << image.GetLastError();
    if (!image.IsValid()) continue;
    decoded++;
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref = qvtest::ReferenceRgba(path, &w, &h, extra);
    if (ref.empty()) continue;  // the reference cannot read it either
    EXPECT_LE(qvtest::MaxDifference(image, ref, w, h), tolerance);
  }
  return decoded;
}

TEST(RealFiles, PngSuiteAndLibpngTestPicturesMatchTheReference) {
  REQUIRE_FOLDER(png, "libpng1.6");
  std::vector<std::string> files = FilesIn(png + "/contrib/pngsuite", {".png"});
  std::vector<std::string> more = FilesIn(png + "/contrib/pngsuite/interlaced", {".png"});
  std::vector<std::string> tests = FilesIn(png + "/contrib/testpngs", {".png"});
  files.insert(files.end(), more.begin(), more.end());
  files.insert(files.end(), tests.begin(), tests.end());
  ASSERT_GT(files.size(), 150u);
  // 16-bit channels are scaled to 8 bits with rounding that may differ by one step.
  EXPECT_EQ(DecodeAndCompare(files, CXIMAGE_FORMAT_PNG, 1, "-set colorspace sRGB"), int(files.size()));
}

TEST(RealFiles, MalformedPngsFailWithoutCrashing) {
  REQUIRE_FOLDER(png, "libpng1.6");
  std::vector<std::string> files = FilesIn(png + "/contrib/testpngs/crashers", {".png"});
  ASSERT_FALSE(files.empty());
  for (const std::string& path : files) {
    SCOPED_TRACE(BaseName(path));
    CxImage image(path.c_str(), CXIMAGE_FORMAT_PNG);
    // Damaged ancillary chunks are skipped; damaged pixel data fails with the library's text.
    if (!image.IsValid()) EXPECT_STRNE(image.GetLastError(), "");
    std::string name = BaseName(path);
    if (name == "badcrc.png" || name == "badadler.png") EXPECT_FALSE(image.IsValid());
  }
}

// libjpeg itself as the reference: the same library, default settings, RGB out.
std::vector<uint8_t> LibjpegRgb(const std::string& path, uint32_t* w, uint32_t* h) {
  std::vector<uint8_t> out;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return out;
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, f);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  *w = cinfo.output_width;
  *h = cinfo.output_height;
  out.resize(size_t(*w) * *h * 3);
  while (cinfo.output_scanline < *h) {
    JSAMPROW row = out.data() + size_t(cinfo.output_scanline) * *w * 3;
    jpeg_read_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(f);
  return out;
}

TEST(RealFiles, LibjpegTestImagesMatchLibjpegExactly) {
  REQUIRE_FOLDER(jpeg, "libjpeg-turbo");
  for (const char* name : {"testorig.jpg", "testimgint.jpg", "testimgari.jpg"}) {
    SCOPED_TRACE(name);
    std::string path = jpeg + "/testimages/" + name;
    CxImage image(path.c_str(), CXIMAGE_FORMAT_JPG);
    ASSERT_TRUE(image.IsValid()) << image.GetLastError();
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref = LibjpegRgb(path, &w, &h);
    ASSERT_EQ(image.GetWidth(), w);
    ASSERT_EQ(image.GetHeight(), h);
    long different = 0;
    for (uint32_t row = 0; row < h; row++)
      for (uint32_t x = 0; x < w; x++) {
        CxRgbQuad c = image.GetPixelColor(long(x), long(h - 1 - row));
        const uint8_t* r = &ref[(size_t(row) * w + x) * 3];
        if (c.rgbRed != r[0] || c.rgbGreen != r[1] || c.rgbBlue != r[2]) different++;
      }
    EXPECT_EQ(different, 0);
  }
  // Twelve-bit samples are beyond this library build: a clean failure with its message.
  CxImage twelve((jpeg + "/testimages/testorig12.jpg").c_str(), CXIMAGE_FORMAT_JPG);
  EXPECT_FALSE(twelve.IsValid());
  EXPECT_STRNE(twelve.GetLastError(), "");
  // Its BMP test pictures go through our BMP coder.
  std::vector<std::string> bmps = FilesIn(jpeg + "/testimages", {".bmp"});
  ASSERT_FALSE(bmps.empty());
  EXPECT_EQ(DecodeAndCompare(bmps, CXIMAGE_FORMAT_BMP, 0), int(bmps.size()));
}

TEST(RealFiles, LibtiffTestImagesDecodeOrFailCleanly) {
  REQUIRE_FOLDER(tiff, "tiff");
  std::vector<std::string> files = FilesIn(tiff + "/test/images", {".tif", ".tiff"});
  ASSERT_GT(files.size(), 20u);
  // Pictures of samples no display shows directly: floating point and LogLuv.
  const std::vector<std::string> notPictures = {"test_float64_predictor2_be_lzw.tif",
                                                "test_float64_predictor2_le_lzw.tif"};
  for (const std::string& path : files) {
    std::string name = BaseName(path);
    SCOPED_TRACE(name);
    CxImage image(path.c_str(), CXIMAGE_FORMAT_TIF);
    bool optional = std::find(notPictures.begin(), notPictures.end(), name) != notPictures.end();
    if (!image.IsValid()) {
      EXPECT_STRNE(image.GetLastError(), "");
      EXPECT_TRUE(optional) << image.GetLastError();
      continue;
    }
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref = qvtest::ReferenceRgba(path, &w, &h);
    if (ref.empty()) continue;
    // Old-style JPEG pages are read by libtiff's own guesswork, which ImageMagick does not share.
    if (name.compare(0, 5, "ojpeg") == 0) continue;
    bool lossy = name.find("jpeg") != std::string::npos;
    bool wide = name.find("16b") != std::string::npos || name.find("logluv") != std::string::npos ||
                name.find("alpha") != std::string::npos;
    int tolerance = lossy ? 40 : wide ? 2 : 0;
    EXPECT_LE(qvtest::MaxDifference(image, ref, w, h), tolerance);
  }
}

TEST(RealFiles, TiffPageSelection) {
  REQUIRE_FOLDER(tiff, "tiff");
  std::string path = tiff + "/test/images/test_two_ifds.tif";
  CxImage image;
  ASSERT_TRUE(image.Load(path.c_str(), CXIMAGE_FORMAT_TIF)) << image.GetLastError();
  EXPECT_EQ(image.GetNumFrames(), 2);
  image.SetFrame(1);
  EXPECT_TRUE(image.Load(path.c_str(), CXIMAGE_FORMAT_TIF)) << image.GetLastError();
  image.SetFrame(2);
  EXPECT_FALSE(image.Load(path.c_str(), CXIMAGE_FORMAT_TIF));
  EXPECT_STREQ(image.GetLastError(), "Error: page not present in TIFF file");
  EXPECT_TRUE(image.IsValid());  // the page 1 picture stays
}

TEST(RealFiles, GiflibPicturesMatchTheReference) {
  REQUIRE_FOLDER(gif, "giflib");
  std::vector<std::string> gifs = FilesIn(gif + "/pic", {".gif"});
  ASSERT_GT(gifs.size(), 5u);
  EXPECT_EQ(DecodeAndCompare(gifs, CXIMAGE_FORMAT_GIF, 0), int(gifs.size()));
}

}  // namespace

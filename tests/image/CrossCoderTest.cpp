// Cross-coder checks: ImageMagick writes a real photo in every format and our coders read the
// same pixels; our coders write and ImageMagick reads back the same pixels.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/CxImage.h"
#include "tests/image/ImageTestUtil.h"
#include "tests/image/Reference.h"

namespace {

// A real photo nobody here made: libjpeg-turbo's test picture.
std::string Photo() {
  std::string jpeg = qvtest::SourceFolder("libjpeg-turbo");
  return jpeg.empty() ? "" : jpeg + "/testimages/testorig.jpg";
}

// ImageMagick keeps a TGA's rows in file order and only notes the orientation; turned upright
// its pixels are the ones the file describes.
std::string Orient(uint32_t type) { return type == CXIMAGE_FORMAT_TGA ? "-auto-orient" : ""; }

struct Written {
  const char* name;
  const char* convert;  // options before the output
  const char* output;   // ImageMagick output, with its format prefix
  uint32_t type;
  uint32_t bpp;  // depth we expect to decode into
};

TEST(CrossCoder, OurCodersReadWhatImageMagickWrites) {
  std::string photo = Photo();
  ASSERT_FALSE(photo.empty()) << "no libjpeg-turbo pictures in " << qvtest::TestPicturesRoot();
  const Written cases[] = {
      {"bmp 24-bit", "", "BMP3:x.bmp", CXIMAGE_FORMAT_BMP, 24},
      {"bmp 8-bit", "-colors 200 -compress None", "BMP3:x.bmp", CXIMAGE_FORMAT_BMP, 8},
      {"bmp rle8", "-colors 200 -compress RLE", "BMP3:x.bmp", CXIMAGE_FORMAT_BMP, 8},
      {"bmp os/2 header", "", "BMP2:x.bmp", CXIMAGE_FORMAT_BMP, 24},
      {"bmp 32-bit with alpha", "-alpha set -channel A -fx 0.5 +channel", "BMP:x.bmp", CXIMAGE_FORMAT_BMP, 24},
      {"gif", "", "x.gif", CXIMAGE_FORMAT_GIF, 8},
      {"gif 16 colours interlaced", "-colors 16 -interlace GIF", "x.gif", CXIMAGE_FORMAT_GIF, 4},
      {"png", "", "x.png", CXIMAGE_FORMAT_PNG, 24},
      {"png palette", "-colors 50", "PNG8:x.png", CXIMAGE_FORMAT_PNG, 8},
      {"tga", "-compress None", "x.tga", CXIMAGE_FORMAT_TGA, 24},
      {"tga rle", "-compress RLE", "x.tga", CXIMAGE_FORMAT_TGA, 24},
      {"tga colour-mapped", "-colors 100 -type Palette", "x.tga", CXIMAGE_FORMAT_TGA, 8},
      {"pcx", "", "x.pcx", CXIMAGE_FORMAT_PCX, 24},
      {"pcx 256 colours", "-colors 200 -type Palette", "x.pcx", CXIMAGE_FORMAT_PCX, 8},
      {"wbmp", "-monochrome", "x.wbmp", CXIMAGE_FORMAT_WBMP, 1},
      {"ico", "-resize 64x64", "x.ico", CXIMAGE_FORMAT_ICO, 24},
      {"tiff lzw", "-compress LZW", "x.tif", CXIMAGE_FORMAT_TIF, 24},
      {"tiff palette", "-colors 16 -type Palette", "x.tif", CXIMAGE_FORMAT_TIF, 4},
  };
  for (const Written& c : cases) {
    SCOPED_TRACE(c.name);
    std::string out = c.output;
    std::string file = qvtest::TempPath(out.substr(out.find(':') + 1));
    std::string prefix = out.find(':') == std::string::npos ? "" : out.substr(0, out.find(':') + 1);
    ASSERT_TRUE(qvtest::RunConvertToFile("'" + photo + "' " + c.convert + " '" + prefix + file + "'"));
    CxImage image(file.c_str(), c.type);
    ASSERT_TRUE(image.IsValid()) << image.GetLastError();
    EXPECT_EQ(image.GetBpp(), c.bpp);
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref = qvtest::ReferenceRgba(file, &w, &h, Orient(c.type));
    ASSERT_FALSE(ref.empty());
    EXPECT_EQ(qvtest::MaxDifference(image, ref, w, h), 0);
    std::remove(file.c_str());
  }
}

TEST(CrossCoder, MultiPageTiffFromImageMagickSelectsEachPage) {
  std::string photo = Photo();
  ASSERT_FALSE(photo.empty()) << "no libjpeg-turbo pictures in " << qvtest::TestPicturesRoot();
  std::string file = qvtest::TempPath("pages.tif");
  ASSERT_TRUE(qvtest::RunConvertToFile("'" + photo + "' \\( '" + photo + "' -flip -resize 50% \\) '" + file + "'"));
  for (long page = 0; page < 2; page++) {
    CxImage image;
    image.SetFrame(page);
    ASSERT_TRUE(image.Load(file.c_str(), CXIMAGE_FORMAT_TIF)) << image.GetLastError();
    EXPECT_EQ(image.GetNumFrames(), 2);
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref = qvtest::ReferenceRgba(file + "[" + std::to_string(page) + "]", &w, &h);
    EXPECT_EQ(qvtest::MaxDifference(image, ref, w, h), 0) << page;
  }
  std::remove(file.c_str());
}

struct Ours {
  const char* name;
  uint32_t type;
  uint32_t bpp;  // depth the picture is reduced to before writing (0: as decoded)
  const char* extension;
  int tolerance;
};

TEST(CrossCoder, ImageMagickReadsWhatOurCodersWrite) {
  std::string photo = Photo();
  ASSERT_FALSE(photo.empty()) << "no libjpeg-turbo pictures in " << qvtest::TestPicturesRoot();
  // Not here: 1-bit PCX, which ImageMagick reads with set bits black whatever the header palette.
  const Ours cases[] = {
      {"bmp 24", CXIMAGE_FORMAT_BMP, 0, "bmp", 0},     {"bmp 4", CXIMAGE_FORMAT_BMP, 4, "bmp", 0},
      {"bmp 1", CXIMAGE_FORMAT_BMP, 1, "bmp", 0},      {"gif 8", CXIMAGE_FORMAT_GIF, 8, "gif", 0},
      {"gif 4", CXIMAGE_FORMAT_GIF, 4, "gif", 0},      {"png 24", CXIMAGE_FORMAT_PNG, 0, "png", 0},
      {"png 8", CXIMAGE_FORMAT_PNG, 8, "png", 0},      {"tiff 24", CXIMAGE_FORMAT_TIF, 0, "tif", 0},
      {"tiff 4", CXIMAGE_FORMAT_TIF, 4, "tif", 0},     {"tga 24", CXIMAGE_FORMAT_TGA, 0, "tga", 0},
      {"tga 8", CXIMAGE_FORMAT_TGA, 8, "tga", 0},      {"pcx 24", CXIMAGE_FORMAT_PCX, 0, "pcx", 0},
      {"pcx 8", CXIMAGE_FORMAT_PCX, 8, "pcx", 0},      {"pcx 4", CXIMAGE_FORMAT_PCX, 4, "pcx", 0},
      {"wbmp", CXIMAGE_FORMAT_WBMP, 1, "wbmp", 0},      {"jpeg", CXIMAGE_FORMAT_JPG, 0, "jpg", 40},
  };
  for (const Ours& c : cases) {
    SCOPED_TRACE(c.name);
    CxImage image(photo.c_str(), CXIMAGE_FORMAT_JPG);
    ASSERT_TRUE(image.IsValid());
    if (c.bpp) ASSERT_TRUE(image.DecreaseBpp(c.bpp, true, nullptr));
    std::string file = qvtest::TempPath(std::string("ours.") + c.extension);
    ASSERT_TRUE(image.Save(file.c_str(), c.type)) << image.GetLastError();
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref = qvtest::ReferenceRgba(file, &w, &h, Orient(c.type));
    ASSERT_FALSE(ref.empty());
    EXPECT_LE(qvtest::MaxDifference(image, ref, w, h), c.tolerance);
    std::remove(file.c_str());
  }
  // An icon: at most 256 pixels a side.
  CxImage icon(photo.c_str(), CXIMAGE_FORMAT_JPG);
  std::string file = qvtest::TempPath("ours.ico");
  EXPECT_FALSE(icon.Save(file.c_str(), CXIMAGE_FORMAT_ICO) && icon.GetWidth() > 256);
  ASSERT_TRUE(icon.Resample(48, 32, 0));
  ASSERT_TRUE(icon.Save(file.c_str(), CXIMAGE_FORMAT_ICO)) << icon.GetLastError();
  uint32_t w = 0, h = 0;
  std::vector<uint8_t> ref = qvtest::ReferenceRgba(file, &w, &h);
  EXPECT_EQ(qvtest::MaxDifference(icon, ref, w, h), 0);
  std::remove(file.c_str());
}

}  // namespace

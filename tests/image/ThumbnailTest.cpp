// The thumbnail maker behind kz.dll: format detection, fitting, the real size, transparency.
#include <gtest/gtest.h>

#include <string>

#include "tests/image/ImageTestUtil.h"
#include "thumbs/ThumbnailCore.h"

namespace {

struct FitCase {
  uint32_t type;
  const char* name;
  uint32_t w, h, boxW, boxH, fitW, fitH;
};

TEST(Thumbnail, FitsEveryFormatIntoTheBoxAndReportsTheRealSize) {
  const FitCase cases[] = {
      {CXIMAGE_FORMAT_JPG, "t.jpg", 800, 600, 96, 96, 96, 72},  {CXIMAGE_FORMAT_JPG, "t.jpg", 3000, 1000, 200, 34, 102, 34},
      {CXIMAGE_FORMAT_PNG, "t.png", 600, 800, 96, 96, 72, 96},  {CXIMAGE_FORMAT_BMP, "t.bmp", 50, 40, 96, 96, 50, 40},
      {CXIMAGE_FORMAT_GIF, "t.gif", 320, 200, 96, 96, 96, 60},  {CXIMAGE_FORMAT_TGA, "t.tga", 100, 100, 96, 96, 96, 96},
      {CXIMAGE_FORMAT_PCX, "t.pcx", 200, 100, 96, 96, 96, 48},  {CXIMAGE_FORMAT_TIF, "t.tif", 97, 96, 96, 96, 96, 95},
  };
  for (const FitCase& c : cases) {
    SCOPED_TRACE(c.name);
    CxImage src = qvtest::Smooth24(c.w, c.h);
    if (c.type == CXIMAGE_FORMAT_GIF) ASSERT_TRUE(src.DecreaseBpp(8, true, nullptr));
    std::string path = qvtest::TempPath(c.name);
    ASSERT_TRUE(src.Save(path.c_str(), c.type)) << src.GetLastError();
    CxImage thumb;
    uint32_t w = 0, h = 0;
    ASSERT_TRUE(qv::thumbs::MakeThumbnail(path.c_str(), c.boxW, c.boxH, thumb, &w, &h));
    EXPECT_EQ(thumb.GetWidth(), c.fitW);
    EXPECT_EQ(thumb.GetHeight(), c.fitH);
    EXPECT_EQ(thumb.GetBpp(), 24u);
    EXPECT_EQ(w, c.w);
    EXPECT_EQ(h, c.h);
    // The gradient survives: the right edge is bluer than the left.
    EXPECT_GT(thumb.GetPixelColor(long(c.fitW) - 1, 0).rgbBlue, thumb.GetPixelColor(0, 0).rgbBlue);
    std::remove(path.c_str());
  }
}

TEST(Thumbnail, ContentDecidesOverAMisleadingExtension) {
  const uint8_t jpeg[] = {0xFF, 0xD8, 0xFF, 0xE0}, png[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  EXPECT_EQ(qv::thumbs::FormatOf("a.bmp", jpeg, sizeof jpeg), CXIMAGE_FORMAT_JPG);
  EXPECT_EQ(qv::thumbs::FormatOf("a.jpg", png, sizeof png), CXIMAGE_FORMAT_PNG);
  const uint8_t none[4] = {1, 2, 3, 4};
  EXPECT_EQ(qv::thumbs::FormatOf("a.TGA", none, 4), CXIMAGE_FORMAT_TGA);
  EXPECT_EQ(qv::thumbs::FormatOf("a.rle", none, 4), CXIMAGE_FORMAT_BMP);
  CxImage thumb;
  EXPECT_FALSE(qv::thumbs::MakeThumbnail(qvtest::TempPath("missing.jpg").c_str(), 96, 96, thumb, nullptr, nullptr));
  std::string junk = qvtest::TempPath("junk.jpg");
  ASSERT_TRUE(qvtest::WriteFile(junk, {0xFF, 0xD8, 0xFF, 0x00, 1, 2}));
  EXPECT_FALSE(qv::thumbs::MakeThumbnail(junk.c_str(), 96, 96, thumb, nullptr, nullptr));
  std::remove(junk.c_str());
}

TEST(Thumbnail, TransparentPartsBecomeWhite) {
  CxImage src;
  src.Create(4, 4, 8, 0);
  src.SetPaletteIndex(0, 0, 0, 0);
  src.SetTransIndex(0);
  std::string path = qvtest::TempPath("t.png");
  ASSERT_TRUE(src.Save(path.c_str(), CXIMAGE_FORMAT_PNG));
  CxImage thumb;
  ASSERT_TRUE(qv::thumbs::MakeThumbnail(path.c_str(), 96, 96, thumb, nullptr, nullptr));
  EXPECT_EQ(thumb.GetPixelColor(1, 1).rgbRed, 255);
  std::remove(path.c_str());
}

}  // namespace

// The BMP coder: the file layout it writes, and every kind of BMP it reads.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "image/CxImage.h"
#include "image/ImageLimits.h"
#include "tests/image/ImageTestUtil.h"

namespace {

using qvtest::Put16;
using qvtest::Put32;

// A BMP file: 14-byte header, a 40-byte info header (or 12-byte with core), palette, pixels.
std::vector<uint8_t> MakeBmp(int32_t w, int32_t h, uint16_t bpp, uint32_t compression,
                             const std::vector<uint8_t>& palette, const std::vector<uint8_t>& pixels,
                             bool core = false, bool fileHeader = true) {
  std::vector<uint8_t> v;
  uint32_t infoSize = core ? 12 : 40;
  if (fileHeader) {
    v.push_back('B');
    v.push_back('M');
    Put32(v, uint32_t(14 + infoSize + palette.size() + pixels.size()));
    Put32(v, 0);
    Put32(v, uint32_t(14 + infoSize + palette.size()));
  }
  Put32(v, infoSize);
  if (core) {
    Put16(v, uint32_t(w));
    Put16(v, uint32_t(h));
    Put16(v, 1);
    Put16(v, bpp);
  } else {
    Put32(v, uint32_t(w));
    Put32(v, uint32_t(h));
    Put16(v, 1);
    Put16(v, bpp);
    Put32(v, compression);
    Put32(v, uint32_t(pixels.size()));
    Put32(v, 2835);
    Put32(v, 2835);
    Put32(v, 0);
    Put32(v, 0);
  }
  v.insert(v.end(), palette.begin(), palette.end());
  v.insert(v.end(), pixels.begin(), pixels.end());
  return v;
}

std::vector<uint8_t> GreyPalette(int n) {
  std::vector<uint8_t> p;
  for (int i = 0; i < n; i++) {
    uint8_t g = uint8_t(i * 255 / (n - 1));
    p.insert(p.end(), {g, g, g, 0});
  }
  return p;
}

bool DecodeBytes(CxImage& image, std::vector<uint8_t> bytes, uint32_t type = CXIMAGE_FORMAT_BMP) {
  return image.Decode(bytes.data(), uint32_t(bytes.size()), type);
}

TEST(Bmp, Saving640x480x24WritesHeaderPlusBlockWithOffset54) {
  CxImage image = qvtest::Random24(640, 480, 7);
  std::string path = qvtest::TempPath("640.bmp");
  ASSERT_TRUE(image.Save(path.c_str(), CXIMAGE_FORMAT_BMP));
  std::vector<uint8_t> file = qvtest::ReadFile(path);
  ASSERT_EQ(file.size(), 14u + 40u + 640u * 480u * 3u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(file[2] | file[3] << 8 | file[4] << 16 | file[5] << 24, 14 + 40 + 921600);
  EXPECT_EQ(file[6] | file[7] | file[8] | file[9], 0);
  EXPECT_EQ(file[10] | file[11] << 8 | file[12] << 16 | file[13] << 24, 54);
  EXPECT_EQ(std::memcmp(file.data() + 14, image.GetDIB(), image.GetSize()), 0);
  std::remove(path.c_str());
}

TEST(Bmp, EveryDepthRoundTripsByteForByte) {
  for (uint32_t bpp : {1u, 4u, 8u, 24u}) {
    CxImage image = qvtest::Random24(29, 11, bpp);
    if (bpp < 24) ASSERT_TRUE(image.DecreaseBpp(bpp, true, nullptr));
    uint8_t* data = nullptr;
    long size = 0;
    ASSERT_TRUE(image.Encode(data, size, CXIMAGE_FORMAT_BMP));
    EXPECT_EQ(uint32_t(size), 14 + image.GetSize());
    CxImage back;
    ASSERT_TRUE(back.Decode(data, uint32_t(size), CXIMAGE_FORMAT_BMP)) << back.GetLastError();
    ASSERT_EQ(back.GetSize(), image.GetSize());
    // Only the resolution fields may be re-rounded.
    EXPECT_EQ(std::memcmp(static_cast<uint8_t*>(back.GetDIB()) + 40, static_cast<uint8_t*>(image.GetDIB()) + 40,
                          image.GetSize() - 40), 0) << bpp;
    EXPECT_EQ(back.GetType(), 0u);
    free(data);
  }
}

TEST(Bmp, PackedBitmapWithoutFileHeaderLoads) {
  CxImage image = qvtest::Random24(17, 9, 3);
  ASSERT_TRUE(image.DecreaseBpp(8, false, nullptr));
  std::vector<uint8_t> packed(static_cast<uint8_t*>(image.GetDIB()),
                              static_cast<uint8_t*>(image.GetDIB()) + image.GetSize());
  CxImage back;
  ASSERT_TRUE(DecodeBytes(back, packed)) << back.GetLastError();
  EXPECT_EQ(back.GetBpp(), 8u);
  EXPECT_EQ(qvtest::DifferentPixels(image, back), 0);
}

TEST(Bmp, OldStyleHeaderWithThreeBytePaletteIsConverted) {
  std::vector<uint8_t> palette;
  for (int i = 0; i < 16; i++) palette.insert(palette.end(), {uint8_t(i), uint8_t(i * 2), uint8_t(i * 3)});
  // 3 x 2 at 4 bits: rows of 4 bytes, bottom row first.
  std::vector<uint8_t> pixels = {0x12, 0x30, 0, 0, 0xFE, 0xD0, 0, 0};
  CxImage image;
  ASSERT_TRUE(DecodeBytes(image, MakeBmp(3, 2, 4, 0, palette, pixels, true))) << image.GetLastError();
  const CxBitmapInfoHeader* h = static_cast<const CxBitmapInfoHeader*>(image.GetDIB());
  EXPECT_EQ(h->biSize, 40u);
  EXPECT_EQ(image.GetBpp(), 4u);
  EXPECT_EQ(image.GetPixelIndex(1, 0), 2);
  EXPECT_EQ(image.GetPixelIndex(2, 1), 13);
  CxRgbQuad c = image.GetPixelColor(0, 1);
  EXPECT_EQ(c.rgbBlue, 15);
  EXPECT_EQ(c.rgbGreen, 30);
  EXPECT_EQ(c.rgbRed, 45);
}

struct RleCase {
  const char* name;
  int32_t w, h;
  uint16_t bpp;
  uint32_t compression;
  std::vector<uint8_t> data;
  std::vector<std::vector<int>> rows;  // bottom row first
};

TEST(Bmp, RunLengthEncodedPicturesDecode) {
  const RleCase cases[] = {
      {"rle8 runs, absolute, end of line", 4, 2, 8, 1,
       {3, 1, 1, 2, 0, 0, 0, 3, 4, 5, 6, 0, 1, 7, 0, 1},
       {{1, 1, 1, 2}, {4, 5, 6, 7}}},
      {"rle8 delta", 4, 3, 8, 1, {0, 2, 1, 1, 1, 9, 0, 1}, {{0, 0, 0, 0}, {0, 9, 0, 0}, {0, 0, 0, 0}}},
      {"rle4 runs and absolute", 7, 1, 4, 2, {4, 0x12, 0, 3, 0x34, 0x50, 0, 1}, {{1, 2, 1, 2, 3, 4, 5}}},
      {"rle8 run longer than the row is clipped", 2, 2, 8, 1, {5, 3, 0, 0, 2, 4, 0, 1}, {{3, 3}, {4, 4}}},
  };
  for (const RleCase& c : cases) {
    SCOPED_TRACE(c.name);
    CxImage image;
    ASSERT_TRUE(DecodeBytes(image, MakeBmp(c.w, c.h, c.bpp, c.compression, GreyPalette(1 << c.bpp), c.data)))
        << image.GetLastError();
    for (size_t y = 0; y < c.rows.size(); y++)
      for (size_t x = 0; x < c.rows[y].size(); x++)
        EXPECT_EQ(image.GetPixelIndex(long(x), long(y)), c.rows[y][x]) << x << "," << y;
  }
}

TEST(Bmp, SixteenAndThirtyTwoBitsBecomeTwentyFour) {
  // 565 bit fields: red, green; the masks follow the 40-byte header.
  std::vector<uint8_t> masks;
  Put32(masks, 0xF800);
  Put32(masks, 0x07E0);
  Put32(masks, 0x001F);
  std::vector<uint8_t> px;
  Put16(px, 0xF800);
  Put16(px, 0x07E0);
  CxImage image;
  ASSERT_TRUE(DecodeBytes(image, MakeBmp(2, 1, 16, 3, masks, px))) << image.GetLastError();
  EXPECT_EQ(image.GetBpp(), 24u);
  EXPECT_EQ(image.GetPixelColor(0, 0).rgbRed, 255);
  EXPECT_EQ(image.GetPixelColor(1, 0).rgbGreen, 255);
  EXPECT_EQ(image.GetPixelColor(1, 0).rgbRed, 0);
  // 32 bits, top-down (negative height): the first stored row is the top row.
  std::vector<uint8_t> px32 = {1, 2, 3, 0, 4, 5, 6, 0};
  ASSERT_TRUE(DecodeBytes(image, MakeBmp(1, -2, 32, 0, {}, px32))) << image.GetLastError();
  EXPECT_EQ(image.GetPixelColor(0, 1).rgbBlue, 1);
  EXPECT_EQ(image.GetPixelColor(0, 0).rgbRed, 6);
  EXPECT_FALSE(image.HasAlpha());
}

struct BadBmp {
  const char* name;
  std::vector<uint8_t> bytes;
  const char* error;
};

std::vector<uint8_t> WithCompression(uint32_t c) { return MakeBmp(2, 2, 8, c, GreyPalette(256), std::vector<uint8_t>(8)); }

TEST(Bmp, BrokenFilesFailWithTheirTextAndKeepThePreviousPicture) {
  std::vector<uint8_t> truncated = MakeBmp(100, 100, 24, 0, {}, std::vector<uint8_t>(300 * 100));
  truncated.resize(truncated.size() - 1000);
  std::vector<uint8_t> badInfo = {'B', 'M', 0, 0, 0, 0, 0, 0, 0, 0, 54, 0, 0, 0, 5, 0, 0, 0};
  std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I', 'F', 0, 1, 1, 0, 0, 1, 0, 1, 0, 0};
  std::vector<uint8_t> rleShort = MakeBmp(4, 4, 8, 1, GreyPalette(256), {4, 1, 0, 0, 4, 2});
  const BadBmp cases[] = {
      {"shorter than 14 bytes", {'B', 'M', 1, 2, 3}, "Not a BMP"},
      {"info header size 5", badInfo, "Error reading BMP info"},
      {"embedded JPEG", WithCompression(4), "compression type not supported"},
      {"compression 9", WithCompression(9), "unknown compression"},
      {"pixels cut short", truncated, "BMP file is truncated"},
      {"RLE data cut short", rleShort, "BMP file is truncated"},
      {"100000 x 100000", MakeBmp(100000, 100000, 24, 0, {}, std::vector<uint8_t>(16)), qv::image::kTooLargeText},
      {"a JPEG file", jpeg, "Error reading BMP info"},
  };
  for (const BadBmp& c : cases) {
    SCOPED_TRACE(c.name);
    CxImage image = qvtest::Random24(3, 3, 1);
    CxImage before(image);
    EXPECT_FALSE(DecodeBytes(image, c.bytes));
    EXPECT_STREQ(image.GetLastError(), c.error);
    ASSERT_TRUE(image.IsValid());
    EXPECT_EQ(qvtest::DifferentPixels(image, before), 0);
  }
}

TEST(Bmp, LoadOfAMissingFileFailsWithoutText) {
  CxImage image(qvtest::TempPath("does-not-exist.bmp").c_str(), CXIMAGE_FORMAT_BMP);
  EXPECT_FALSE(image.IsValid());
  EXPECT_STREQ(image.GetLastError(), "");
  EXPECT_FALSE(image.Save("/nonexistent-folder/x.bmp", CXIMAGE_FORMAT_BMP));
}

TEST(Formats, UnknownTypesAndMetafileSavingAreRefused) {
  CxImage image = qvtest::Random24(2, 2, 1);
  uint8_t* data = nullptr;
  long size = 0;
  EXPECT_FALSE(image.Encode(data, size, 10));
  EXPECT_STREQ(image.GetLastError(), "Unsupported operation for this format");
  EXPECT_FALSE(image.Encode(data, size, CXIMAGE_FORMAT_WMF));
  EXPECT_STREQ(image.GetLastError(), "Save WMF not supported");
  uint8_t bytes[16] = {};
  EXPECT_FALSE(image.Decode(bytes, sizeof bytes, 77));
  EXPECT_STREQ(image.GetLastError(), "Unsupported operation for this format");
}

}  // namespace

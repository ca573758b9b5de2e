// The picture block, its header and palette, pixel access and the file classes.
#include <gtest/gtest.h>

#include <cstring>

#include "image/CxFile.h"
#include "image/CxImage.h"
#include "tests/image/ImageTestUtil.h"

namespace {

struct DepthCase {
  uint32_t requested, bpp, colors, width, rowBytes;
};

TEST(ImageModel, CreateNormalisesDepthAndLaysOutOneBlock) {
  const DepthCase cases[] = {
      {0, 1, 2, 33, 8},    {1, 1, 2, 32, 4},    {2, 4, 16, 9, 8},     {4, 4, 16, 8, 4},
      {5, 8, 256, 5, 8},   {8, 8, 256, 4, 4},   {16, 24, 0, 3, 12},   {32, 24, 0, 5, 16},
  };
  for (const DepthCase& c : cases) {
    SCOPED_TRACE(c.requested);
    CxImage image;
    ASSERT_NE(image.Create(c.width, 3, c.requested, 0), nullptr);
    const CxBitmapInfoHeader* h = static_cast<const CxBitmapInfoHeader*>(image.GetDIB());
    EXPECT_EQ(h->biSize, 40u);
    EXPECT_EQ(h->biPlanes, 1);
    EXPECT_EQ(h->biBitCount, c.bpp);
    EXPECT_EQ(h->biCompression, 0u);
    EXPECT_EQ(h->biClrUsed, c.colors);
    EXPECT_EQ(image.GetEffWidth(), c.rowBytes);
    EXPECT_EQ(h->biSizeImage, c.rowBytes * 3);
    EXPECT_EQ(image.GetSize(), 40 + 4 * c.colors + c.rowBytes * 3);
    // Palette and rows follow the header inside the block.
    EXPECT_EQ(image.GetBits(0), static_cast<uint8_t*>(image.GetDIB()) + 40 + 4 * c.colors);
    EXPECT_EQ(image.GetBits(2), image.GetBits(0) + 2 * c.rowBytes);
    const uint8_t* block = static_cast<const uint8_t*>(image.GetDIB());
    for (uint32_t i = 40; i < image.GetSize(); i++) ASSERT_EQ(block[i], 0) << i;
  }
}

TEST(ImageModel, DefaultsAndVersion) {
  CxImage image(CXIMAGE_FORMAT_JPG);
  EXPECT_FALSE(image.IsValid());
  EXPECT_EQ(image.GetType(), 2u);
  EXPECT_STREQ(image.GetLastError(), "");
  EXPECT_EQ(image.GetJpegQuality(), 75);
  EXPECT_EQ(image.GetXDPI(), 72);
  EXPECT_EQ(image.GetYDPI(), 72);
  EXPECT_EQ(image.GetTransIndex(), -1);
  EXPECT_EQ(image.AlphaGetMax(), 255);
  EXPECT_TRUE(image.IsEnabled());
  EXPECT_STREQ(image.GetVersion(), "CxImage 5.00");
}

TEST(ImageModel, SizesBeyondTheLimitFailBeforeAllocating) {
  const uint32_t sizes[][2] = {{0, 10}, {10, 0}, {65536, 1}, {1, 65536}, {100000, 100000}, {20000, 20000}};
  for (const auto& s : sizes) {
    CxImage image;
    EXPECT_EQ(image.Create(s[0], s[1], 24, 0), nullptr) << s[0] << "x" << s[1];
    EXPECT_FALSE(image.IsValid());
    EXPECT_STRNE(image.GetLastError(), "");
  }
  CxImage wide;
  EXPECT_NE(wide.Create(65535, 2, 1, 0), nullptr);
}

TEST(ImageModel, CreateDropsAlphaAndSelectionPlanes) {
  CxImage image;
  image.Create(4, 4, 24, 0);
  ASSERT_TRUE(image.AlphaCreate());
  ASSERT_TRUE(image.SelectionCreate());
  image.Create(8, 8, 8, 0);
  EXPECT_FALSE(image.HasAlpha());
  EXPECT_FALSE(image.HasSelection());
}

TEST(ImageModel, PackedIndexesRoundTripAtEveryDepth) {
  for (uint32_t bpp : {1u, 4u, 8u}) {
    CxImage image;
    image.Create(37, 5, bpp, 0);
    uint32_t n = 1u << bpp;
    for (long y = 0; y < 5; y++)
      for (long x = 0; x < 37; x++) image.SetPixelIndex(x, y, uint8_t((x * 7 + y * 3) % n));
    for (long y = 0; y < 5; y++)
      for (long x = 0; x < 37; x++) ASSERT_EQ(image.GetPixelIndex(x, y), (x * 7 + y * 3) % n) << bpp;
    // The first pixel of a row is the high bits of its first byte.
    image.SetPixelIndex(0, 0, uint8_t(n - 1));
    EXPECT_EQ(image.GetBits(0)[0] >> (8 - bpp), n - 1);
  }
}

TEST(ImageModel, PixelColourReadsPaletteOrBgrBytesAndIgnoresOutside) {
  CxImage image;
  image.Create(2, 2, 24, 0);
  image.SetPixelColor(1, 0, CxRgb(10, 20, 30));
  EXPECT_EQ(image.GetBits(0)[3], 30);  // blue first
  EXPECT_EQ(image.GetBits(0)[5], 10);
  image.SetPixelColor(5, 5, CxRgb(1, 2, 3));
  EXPECT_EQ(image.GetPixelColor(-1, 0).rgbRed, 0);
  CxImage pal;
  pal.Create(2, 2, 4, 0);
  pal.SetStdPalette();
  pal.SetPixelColor(0, 1, CxRgb(250, 0, 0));
  EXPECT_EQ(pal.GetPixelIndex(0, 1), 9);  // the bright red of the 16-colour palette
}

TEST(ImageModel, NearestIndexTakesFirstMinimumAndStopsAtExactMatch) {
  CxImage image;
  image.Create(1, 1, 4, 0);
  CxRgbQuad pal[16] = {};
  pal[0] = {0, 0, 100, 0};
  pal[1] = {0, 0, 120, 0};
  pal[2] = {0, 0, 80, 0};  // as far from 100 as entry 1, later: loses
  pal[3] = {0, 0, 110, 0};
  pal[4] = {0, 0, 110, 0};
  image.SetPalette(pal, 16);
  EXPECT_EQ(image.GetNearestIndex(CxRgbQuad{0, 0, 109, 0}), 3);
  EXPECT_EQ(image.GetNearestIndex(CxRgbQuad{0, 0, 110, 0}), 3);
  EXPECT_EQ(image.GetNearestIndex(CxRgbQuad{0, 0, 90, 0}), 0);
  EXPECT_EQ(image.GetNearestIndex(CxRgbQuad{0, 0, 255, 0}), 1);
  CxImage rgb;
  rgb.Create(1, 1, 24, 0);
  EXPECT_EQ(rgb.GetNearestIndex(CxRgbQuad{1, 2, 3, 0}), 0);
}

TEST(ImageModel, CopyTransferAndGhostShareOrMoveTheBlock) {
  CxImage a = qvtest::Random24(5, 4);
  a.AlphaCreate();
  a.AlphaSet(1, 1, 7);
  CxImage copy(a);
  EXPECT_NE(copy.GetDIB(), a.GetDIB());
  EXPECT_EQ(qvtest::DifferentPixels(a, copy), 0);
  EXPECT_EQ(copy.AlphaGet(1, 1), 7);
  CxImage moved;
  void* block = a.GetDIB();
  moved.Transfer(a);
  EXPECT_EQ(moved.GetDIB(), block);
  EXPECT_FALSE(a.IsValid());
  {
    CxImage ghost;
    ghost.Ghost(&moved);
    EXPECT_EQ(ghost.GetDIB(), block);
  }
  // The ghost freed nothing.
  EXPECT_EQ(moved.GetDIB(), block);
  EXPECT_EQ(moved.AlphaGet(1, 1), 7);
}

TEST(MemFile, OwnBufferGrowsInWholePagesAndReadsBack) {
  CxMemFile f;
  ASSERT_TRUE(f.Open());
  EXPECT_EQ(f.Capacity(), 4096u);
  std::vector<uint8_t> data(5000);
  for (size_t i = 0; i < data.size(); i++) data[i] = uint8_t(i * 31);
  EXPECT_EQ(f.Write(data.data(), 1, 4096), 4096u);
  EXPECT_EQ(f.Capacity(), 4096u);
  EXPECT_EQ(f.Write(data.data() + 4096, 1, 904), 904u);
  EXPECT_EQ(f.Capacity(), 8192u);
  EXPECT_EQ(f.Size(), 5000);
  ASSERT_TRUE(f.Seek(-8, SEEK_END));
  EXPECT_EQ(f.Tell(), 4992);
  uint8_t tail[16];
  EXPECT_EQ(f.Read(tail, 4, 4), 2u);  // only two whole items remain
  EXPECT_EQ(std::memcmp(tail, data.data() + 4992, 8), 0);
  EXPECT_TRUE(f.Eof());
  EXPECT_EQ(f.GetC(), -1);
  EXPECT_FALSE(f.Seek(-1, SEEK_SET));
}

TEST(MemFile, BorrowedBufferIsNeitherGrownNorFreed) {
  uint8_t buffer[4] = {1, 2, 3, 4};
  {
    CxMemFile f(buffer, sizeof buffer);
    EXPECT_EQ(f.GetC(), 1);
    EXPECT_TRUE(f.PutC(9));
    ASSERT_TRUE(f.Seek(0, SEEK_END));
    EXPECT_FALSE(f.PutC(5));
    EXPECT_NE(f.Error(), 0);
  }
  EXPECT_EQ(buffer[1], 9);
}

TEST(IOFile, OpensReadsAndClosesOnlyWhatItOpened) {
  std::string path = qvtest::TempPath("iofile.bin");
  ASSERT_TRUE(qvtest::WriteFile(path, {10, 20, 30}));
  CxIOFile f;
  ASSERT_TRUE(f.Open(path.c_str(), "rb"));
  EXPECT_EQ(f.Size(), 3);
  EXPECT_EQ(f.GetC(), 10);
  EXPECT_EQ(f.Tell(), 1);
  EXPECT_TRUE(f.Close());
  FILE* fp = std::fopen(path.c_str(), "rb");
  ASSERT_NE(fp, nullptr);
  {
    CxIOFile borrowed(fp);
    EXPECT_EQ(borrowed.GetC(), 10);
  }
  EXPECT_EQ(std::fgetc(fp), 20);  // still open
  std::fclose(fp);
  std::remove(path.c_str());
}

}  // namespace

// Resample's three paths, IncreaseBpp and DecreaseBpp with its error diffusion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "image/CxImage.h"
#include "tests/image/ImageTestUtil.h"

namespace {

// Exact box filter: each destination cell is the coverage-weighted mean of the source pixels.
double BoxMean(const CxImage& src, double x0, double x1, double y0, double y1, int channel) {
  double sum = 0, area = 0;
  for (long y = long(std::floor(y0)); y < long(std::ceil(y1)); y++) {
    double wy = std::min(y1, y + 1.0) - std::max(y0, double(y));
    for (long x = long(std::floor(x0)); x < long(std::ceil(x1)); x++) {
      double wx = std::min(x1, x + 1.0) - std::max(x0, double(x));
      sum += wx * wy * src.GetBits(uint32_t(y))[x * 3 + channel];
      area += wx * wy;
    }
  }
  return sum / area;
}

struct ShrinkCase {
  uint32_t w, h, nw, nh;
};

TEST(Resample, AreaAveragingMatchesTheBoxFilterWhenShrinking24Bit) {
  const ShrinkCase cases[] = {{1024, 768, 800, 600}, {64, 48, 32, 24}, {101, 67, 10, 7}, {300, 200, 299, 199}};
  for (const ShrinkCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.w << "x" << c.h << " -> " << c.nw << "x" << c.nh);
    CxImage src = qvtest::Random24(c.w, c.h, c.w);
    CxImage dst;
    ASSERT_TRUE(src.Resample(long(c.nw), long(c.nh), 0, &dst));
    ASSERT_EQ(dst.GetWidth(), c.nw);
    ASSERT_EQ(dst.GetHeight(), c.nh);
    double sx = double(c.w) / c.nw, sy = double(c.h) / c.nh;
    int worst = 0;
    double total = 0;
    long count = 0;
    for (uint32_t y = 0; y < c.nh; y += (c.nh > 50 ? 7 : 1))
      for (uint32_t x = 0; x < c.nw; x += (c.nw > 50 ? 5 : 1))
        for (int ch = 0; ch < 3; ch++) {
          double want = BoxMean(src, x * sx, (x + 1) * sx, y * sy, (y + 1) * sy, ch);
          int got = dst.GetBits(y)[x * 3 + ch];
          worst = std::max(worst, int(std::fabs(got - want) + 0.999));
          total += std::fabs(got - want);
          count++;
        }
    // Thousandths, truncation and the single-precision boundaries drifting across a row keep
    // it a few steps off the exact mean on noise; a misplaced share would be tens off.
    EXPECT_LE(worst, 4);
    EXPECT_LT(total / count, 0.8);
  }
}

TEST(Resample, AreaAveragingOfAnExactHalfIsTheTruncatedBlockMean) {
  CxImage src = qvtest::Random24(8, 6, 3);
  ASSERT_TRUE(src.Resample(4, 3, 0));
  CxImage orig = qvtest::Random24(8, 6, 3);
  for (uint32_t y = 0; y < 3; y++)
    for (uint32_t x = 0; x < 4; x++)
      for (int c = 0; c < 3; c++) {
        int sum = orig.GetBits(2 * y)[6 * x + c] + orig.GetBits(2 * y)[6 * x + 3 + c] +
                  orig.GetBits(2 * y + 1)[6 * x + c] + orig.GetBits(2 * y + 1)[6 * x + 3 + c];
        EXPECT_EQ(src.GetBits(y)[3 * x + c], sum / 4) << x << "," << y;
      }
}

TEST(Resample, BilinearWhenEnlargingHitsSourcePixelsOnTheGrid) {
  CxImage src = qvtest::Random24(1024, 768, 5);
  CxImage dst;
  ASSERT_TRUE(src.Resample(1280, 960, 0, &dst));
  // x * 0.8 is a whole number for x a multiple of 5: that destination pixel is the source pixel.
  for (uint32_t y = 0; y < 960; y += 5)
    for (uint32_t x = 0; x < 1280; x += 5)
      ASSERT_EQ(std::memcmp(dst.GetBits(y) + 3 * x, src.GetBits(y * 4 / 5) + 3 * (x * 4 / 5), 3), 0) << x << "," << y;
  // Between grid points a channel lies between its neighbours.
  CxImage ramp;
  ramp.Create(4, 1, 24, 0);
  for (int x = 0; x < 4; x++) ramp.GetBits(0)[3 * x] = uint8_t(x * 80);
  ASSERT_TRUE(ramp.Resample(16, 1, 0));
  for (int x = 1; x < 16; x++) EXPECT_GE(ramp.GetBits(0)[3 * x], ramp.GetBits(0)[3 * (x - 1)]);
  EXPECT_EQ(ramp.GetBits(0)[3 * 2], 40);  // halfway between 0 and 80
}

TEST(Resample, PalettePicturesUseBilinearAndTheNearestEntry) {
  CxImage src;
  src.Create(8, 8, 8, 0);
  src.SetGrayPalette();
  for (long y = 0; y < 8; y++)
    for (long x = 0; x < 8; x++) src.SetPixelIndex(x, y, uint8_t(x < 4 ? 0 : 200));
  ASSERT_TRUE(src.Resample(4, 4, 0));
  EXPECT_EQ(src.GetBpp(), 8u);
  EXPECT_EQ(src.GetPixelIndex(0, 0), 0);
  EXPECT_EQ(src.GetPixelIndex(3, 0), 200);
  // Destination x 1 reads source x 2 and 3 (both 0); x 2 reads source x 4 and 5 (both 200).
  EXPECT_EQ(src.GetPixelIndex(1, 3), 0);
  EXPECT_EQ(src.GetPixelIndex(2, 3), 200);
}

TEST(Resample, NearestNeighbourTakesTheTruncatedSourcePosition) {
  CxImage src = qvtest::Random24(10, 10, 9);
  CxImage dst;
  ASSERT_TRUE(src.Resample(4, 3, 1, &dst));
  for (uint32_t y = 0; y < 3; y++)
    for (uint32_t x = 0; x < 4; x++)
      EXPECT_EQ(std::memcmp(dst.GetBits(y) + 3 * x, src.GetBits(uint32_t(y * 10.0f / 3)) + 3 * uint32_t(x * 2.5f), 3), 0);
}

TEST(Resample, SameSizeIsUntouchedAndZeroFails) {
  CxImage src = qvtest::Random24(33, 17, 2);
  void* block = src.GetDIB();
  std::vector<uint8_t> before(static_cast<uint8_t*>(block), static_cast<uint8_t*>(block) + src.GetSize());
  EXPECT_TRUE(src.Resample(33, 17, 0));
  EXPECT_EQ(src.GetDIB(), block);
  EXPECT_EQ(std::memcmp(before.data(), src.GetDIB(), before.size()), 0);
  EXPECT_FALSE(src.Resample(0, 10, 0));
  EXPECT_FALSE(src.Resample(10, 0, 1));
  EXPECT_EQ(src.GetWidth(), 33u);
}

TEST(Resample, AlphaPlaneFollowsByNearestNeighbour) {
  CxImage src = qvtest::Random24(4, 4, 1);
  src.AlphaCreate();
  for (long y = 0; y < 4; y++)
    for (long x = 0; x < 4; x++) src.AlphaSet(x, y, uint8_t(x * 10 + y));
  ASSERT_TRUE(src.Resample(2, 2, 0));
  ASSERT_TRUE(src.HasAlpha());
  EXPECT_EQ(src.AlphaGet(1, 1), 22);
}

struct DepthChange {
  uint32_t from, to;
  bool increase, result;
};

TEST(Depth, IncreaseAndDecreaseRefuseTheWrongDirection) {
  const DepthChange cases[] = {
      {8, 8, false, true}, {1, 4, false, false}, {24, 2, false, false}, {24, 16, false, false},
      {4, 4, true, true},  {8, 4, true, false},  {1, 2, true, false},   {1, 24, true, true},
  };
  for (const DepthChange& c : cases) {
    CxImage image;
    image.Create(3, 3, c.from, 0);
    void* block = image.GetDIB();
    bool ok = c.increase ? image.IncreaseBpp(c.to) : image.DecreaseBpp(c.to, false, nullptr);
    EXPECT_EQ(ok, c.result) << c.from << "->" << c.to;
    if (c.from == c.to) EXPECT_EQ(image.GetDIB(), block);
  }
  CxImage invalid;
  EXPECT_FALSE(invalid.IncreaseBpp(24));
  EXPECT_FALSE(invalid.DecreaseBpp(8, true, nullptr));
}

TEST(Depth, IncreaseKeepsEveryColour) {
  CxImage src;
  src.Create(13, 4, 4, 0);
  src.SetStdPalette();
  for (long y = 0; y < 4; y++)
    for (long x = 0; x < 13; x++) src.SetPixelIndex(x, y, uint8_t((x + y) & 15));
  for (uint32_t target : {8u, 24u}) {
    CxImage up(src);
    ASSERT_TRUE(up.IncreaseBpp(target));
    EXPECT_EQ(up.GetBpp(), target);
    EXPECT_EQ(qvtest::DifferentPixels(src, up), 0);
  }
}

TEST(Depth, DecreaseWithoutDiffusionTakesTheNearestEntry) {
  CxImage src = qvtest::Random24(20, 20, 4);
  CxImage orig(src);
  ASSERT_TRUE(src.DecreaseBpp(4, false, nullptr));
  EXPECT_EQ(src.GetBpp(), 4u);
  for (long y = 0; y < 20; y++)
    for (long x = 0; x < 20; x++) ASSERT_EQ(src.GetPixelIndex(x, y), src.GetNearestIndex(orig.GetPixelColor(x, y)));
}

TEST(Depth, ErrorDiffusionSpreadsSevenTwoFourOneSixteenths) {
  // Grey 100 on black and white, worked by hand:
  // row 0: x0 100 -> black (error 100): x1 gets 43 -> 143; row 1 gets +25 at x0 and +6 at x1.
  //        x1 143 -> white (error -112): x2 gets -49 -> 51; row 1 gets -14, -28, -7 at x0..x2.
  //        x2 51 -> black (error 51): row 1 gets +6 at x1 and +12 at x2.
  // row 1: 111, 84, 105 -> black (error 111: x1 + 48 -> 132) -> white (error -123: x2 - 53 -> 52) -> black.
  CxImage src;
  src.Create(3, 2, 24, 0);
  std::memset(src.GetBits(0), 100, 9);
  std::memset(src.GetBits(1), 100, 9);
  CxRgbQuad bw[2] = {{0, 0, 0, 0}, {255, 255, 255, 0}};
  ASSERT_TRUE(src.DecreaseBpp(1, true, bw));
  const int want[2][3] = {{0, 1, 0}, {0, 1, 0}};
  for (long y = 0; y < 2; y++)
    for (long x = 0; x < 3; x++) EXPECT_EQ(src.GetPixelIndex(x, y), want[y][x]) << x << "," << y;

  // Only the carried error makes the second pixel white: 90 + 120 * 7 / 16 = 142.
  CxImage two;
  two.Create(2, 1, 24, 0);
  std::memset(two.GetBits(0), 0, 6);
  two.GetBits(0)[0] = two.GetBits(0)[1] = two.GetBits(0)[2] = 120;  // x0 grey 120 -> black
  two.GetBits(0)[3] = two.GetBits(0)[4] = two.GetBits(0)[5] = 90;   // x1 90 + 52 = 142 -> white
  ASSERT_TRUE(two.DecreaseBpp(1, true, bw));
  EXPECT_EQ(two.GetPixelIndex(0, 0), 0);
  EXPECT_EQ(two.GetPixelIndex(1, 0), 1);
  CxImage plain;
  plain.Create(2, 1, 24, 0);
  std::memcpy(plain.GetBits(0), std::vector<uint8_t>{120, 120, 120, 90, 90, 90}.data(), 6);
  ASSERT_TRUE(plain.DecreaseBpp(1, false, bw));
  EXPECT_EQ(plain.GetPixelIndex(1, 0), 0);
}

TEST(Depth, ErrorDiffusionWithAnExactPaletteChangesNothing) {
  CxImage src;
  src.Create(16, 16, 24, 0);
  CxImage ref;
  ref.Create(1, 1, 4, 0);
  ref.SetStdPalette();
  for (long y = 0; y < 16; y++)
    for (long x = 0; x < 16; x++) src.SetPixelColor(x, y, ref.GetPaletteColor(uint8_t((x * y) & 15)));
  ASSERT_TRUE(src.DecreaseBpp(4, true, ref.GetPalette()));
  for (long y = 0; y < 16; y++)
    for (long x = 0; x < 16; x++) ASSERT_EQ(src.GetPixelIndex(x, y), (x * y) & 15);
}

}  // namespace

// A raised escape flag stops every long path and leaves the picture as it was.
TEST(Escape, RaisedFlagCancelsResampleAndDecreaseBppWithoutTouchingThePicture) {
  struct Case {
    long w, h;
    int mode;
    int depth;  // 0: Resample, else DecreaseBpp to it
  };
  const Case cases[] = {{20, 15, 0, 0}, {200, 150, 0, 0}, {20, 15, 1, 0}, {0, 0, 0, 8}, {0, 0, 0, 4}};
  for (const Case& c : cases) {
    CxImage src = qvtest::Random24(64, 48, 5);
    const std::vector<uint8_t> before(static_cast<uint8_t*>(src.GetDIB()),
                                      static_cast<uint8_t*>(src.GetDIB()) + src.GetSize());
    src.SetEscape(1);
    const bool ok = c.depth ? src.DecreaseBpp(uint32_t(c.depth), true, nullptr) : src.Resample(c.w, c.h, c.mode);
    EXPECT_FALSE(ok) << c.w << " " << c.depth;
    EXPECT_STREQ(src.GetLastError(), "Cancelled");
    ASSERT_EQ(src.GetSize(), before.size());
    EXPECT_EQ(std::memcmp(before.data(), src.GetDIB(), before.size()), 0);
    src.SetEscape(0);
    EXPECT_TRUE(c.depth ? src.DecreaseBpp(uint32_t(c.depth), true, nullptr) : src.Resample(c.w, c.h, c.mode));
  }
}

// The fast area averaging, palette search and error diffusion against their slow models, over
// random pictures, sizes and palettes: every byte must agree.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "image/AreaAverage.h"
#include "image/CxImage.h"
#include "image/PixelKernels.h"
#include "image/SeparableResample.h"
#include "tests/image/AreaModel.h"

namespace {

// Every case runs with the vector forms (where the processor has them) and with the plain ones.
class FastPaths : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override { qv::image::AllowVectorCode(GetParam()); }
  void TearDown() override { qv::image::AllowVectorCode(true); }
};

CxImage RandomPicture(std::mt19937& rng, uint32_t w, uint32_t h, int smooth) {
  CxImage image(w, h, 24, CXIMAGE_FORMAT_BMP);
  std::uniform_int_distribution<int> byte(0, 255), step(-smooth, smooth);
  for (uint32_t y = 0; y < h; y++) {
    uint8_t* row = image.GetBits(y);
    for (uint32_t x = 0; x < w * 3; x++)
      // Smooth pictures have long runs of close values, as photos do; noise has none.
      row[x] = uint8_t(smooth && x >= 3 ? std::clamp(row[x - 3] + step(rng), 0, 255) : byte(rng));
  }
  return image;
}

std::vector<uint8_t> Rows(const CxImage& image) {
  std::vector<uint8_t> out;
  for (uint32_t y = 0; y < image.GetHeight(); y++) {
    const uint8_t* row = image.GetBits(y);
    out.insert(out.end(), row, row + image.GetWidth() * 3);
  }
  return out;
}

// A source size and the size it shrinks to.
struct Shape {
  uint32_t w, h;
  long newW, newH;
};

void ExpectShrinkMatchesModel(const CxImage& src, long w, long h) {
  SCOPED_TRACE(std::to_string(src.GetWidth()) + "x" + std::to_string(src.GetHeight()) + " -> " +
               std::to_string(w) + "x" + std::to_string(h));
  std::vector<uint8_t> want = qvtest::AreaAverageModel(src, w, h);
  CxImage made(src);
  ASSERT_TRUE(made.Resample(w, h, 0));
  ASSERT_EQ(made.GetWidth(), uint32_t(w));
  ASSERT_EQ(made.GetHeight(), uint32_t(h));
  std::vector<uint8_t> got = Rows(made);
  ASSERT_EQ(got.size(), want.size());
  size_t first = 0;
  while (first < got.size() && got[first] == want[first]) first++;
  EXPECT_EQ(first, got.size()) << "first difference at byte " << first;
}

TEST_P(FastPaths, AreaAveragingMatchesTheModelForAwkwardSizes) {
  std::mt19937 rng(20);
  const Shape shapes[] = {
      {1000, 7, 999, 6},     // factors just above 1: neighbouring boundary pixels
      {640, 480, 320, 240},  // exact factor 2
      {6028, 9, 1024, 3},    // the photo's width into the wallpaper's
      {3000, 3, 1, 1},       // everything into one cell
      {7, 3000, 1, 2},       // a tall strip
      {101, 103, 100, 2},    // factors of 1.01 and 51.5
      {257, 255, 3, 254},
      {33, 17, 32, 16},
      {1024, 768, 800, 600},
      {1201, 901, 1200, 900},
  };
  for (const Shape& s : shapes) {
    ExpectShrinkMatchesModel(RandomPicture(rng, s.w, s.h, 0), s.newW, s.newH);
    ExpectShrinkMatchesModel(RandomPicture(rng, s.w, s.h, 6), s.newW, s.newH);
  }
}

TEST_P(FastPaths, AreaAveragingMatchesTheModelForRandomSizes) {
  std::mt19937 rng(2020);
  std::uniform_int_distribution<uint32_t> side(2, 260);
  for (int i = 0; i < 150; i++) {
    uint32_t w = side(rng), h = side(rng);
    long newW = long(std::uniform_int_distribution<uint32_t>(1, w - 1)(rng));
    long newH = long(std::uniform_int_distribution<uint32_t>(1, h - 1)(rng));
    ExpectShrinkMatchesModel(RandomPicture(rng, w, h, i % 3 == 0 ? 0 : 4), newW, newH);
    if (HasFailure()) return;
  }
}

// The averaging fed row by row from the top, as the JPEG coder feeds it, against Resample on the
// whole picture: every byte, padding included.
void ExpectFeedMatchesResample(const CxImage& src, long w, long h) {
  SCOPED_TRACE(std::to_string(src.GetWidth()) + "x" + std::to_string(src.GetHeight()) + " -> " +
               std::to_string(w) + "x" + std::to_string(h) + " fed");
  CxImage whole(src);
  ASSERT_TRUE(whole.Resample(w, h, 0));
  CxImage fed(uint32_t(w), uint32_t(h), 24, CXIMAGE_FORMAT_BMP);
  std::unique_ptr<qv::image::AreaAverageFeed> feed =
      qv::image::MakeAreaAverageFeed(src.GetWidth(), src.GetHeight(), fed);
  ASSERT_TRUE(feed);
  for (uint32_t y = src.GetHeight(); y-- > 0;) feed->Add(src.GetBits(y));
  feed->Finish();
  ASSERT_EQ(whole.GetSize(), fed.GetSize());
  const uint8_t* a = whole.GetBits(0);
  const uint8_t* b = fed.GetBits(0);
  const size_t n = size_t(whole.GetEffWidth()) * whole.GetHeight();
  size_t first = 0;
  while (first < n && a[first] == b[first]) first++;
  EXPECT_EQ(first, n) << "first difference at byte " << first;
}

TEST_P(FastPaths, AveragingFedFromTheTopIsResampleByteForByte) {
  std::mt19937 rng(44);
  const Shape shapes[] = {
      {1000, 7, 999, 6},  {640, 480, 320, 240}, {6028, 9, 1024, 3}, {3000, 3, 1, 1},  {7, 3000, 1, 2},
      {101, 103, 100, 2}, {257, 255, 3, 254},   {33, 17, 32, 16},   {2, 2, 1, 1},     {5, 3, 4, 1},
      {1201, 901, 1200, 900},
      {4000, 8, 1, 1}, {300, 300, 2, 2},  // sums past 32 bits
  };
  for (const Shape& s : shapes) {
    ExpectFeedMatchesResample(RandomPicture(rng, s.w, s.h, 0), s.newW, s.newH);
    ExpectFeedMatchesResample(RandomPicture(rng, s.w, s.h, 6), s.newW, s.newH);
  }
  // White at the largest sums the vector form of the row closing takes, and just past them.
  for (const Shape& s : {Shape{178, 178, 2, 2}, Shape{256, 256, 2, 2}, Shape{379, 61, 3, 20}, Shape{521, 41, 4, 20}}) {
    CxImage white(s.w, s.h, 24, CXIMAGE_FORMAT_BMP);
    for (uint32_t y = 0; y < s.h; y++) std::memset(white.GetBits(y), 255, size_t(s.w) * 3);
    ExpectFeedMatchesResample(white, s.newW, s.newH);
  }
  std::uniform_int_distribution<uint32_t> side(2, 300);
  for (int i = 0; i < 200 && !HasFailure(); i++) {
    uint32_t w = side(rng), h = side(rng);
    long newW = long(std::uniform_int_distribution<uint32_t>(1, w - 1)(rng));
    long newH = long(std::uniform_int_distribution<uint32_t>(1, h - 1)(rng));
    ExpectFeedMatchesResample(RandomPicture(rng, w, h, i % 3 == 0 ? 0 : 4), newW, newH);
  }
}

std::vector<uint8_t> SeparableResampled(const CxImage& src, uint32_t w, uint32_t h, bool vector) {
  qv::image::AllowVectorCode(vector);
  CxImage made(w, h, 24, CXIMAGE_FORMAT_BMP);
  const bool done = qv::image::SeparableResample(src, made);
  qv::image::AllowVectorCode(true);
  EXPECT_TRUE(done);
  return Rows(made);
}

// One side shrinks, the other grows (or stays): the vector form must give the plain form's bytes,
// and a flat picture must stay flat in both.
TEST(SeparableResample, VectorFormIsThePlainFormByteForByte) {
  std::mt19937 rng(754);
  std::vector<Shape> shapes = {{754, 424, 640, 480}, {424, 754, 480, 640}, {705, 397, 640, 480},
                               {9, 2, 2, 9},         {1000, 1, 3, 5},      {5, 5, 5, 5}};
  std::uniform_int_distribution<uint32_t> side(1, 200);
  for (int i = 0; i < 150; i++) shapes.push_back({side(rng), side(rng), long(side(rng)), long(side(rng))});
  for (const Shape& s : shapes) {
    SCOPED_TRACE(std::to_string(s.w) + "x" + std::to_string(s.h) + " -> " + std::to_string(s.newW) + "x" +
                 std::to_string(s.newH));
    const CxImage src = RandomPicture(rng, s.w, s.h, s.w % 2 ? 0 : 5);
    const std::vector<uint8_t> plain = SeparableResampled(src, uint32_t(s.newW), uint32_t(s.newH), false);
    ASSERT_EQ(SeparableResampled(src, uint32_t(s.newW), uint32_t(s.newH), true), plain);
  }
  CxImage flat(300, 7, 24, CXIMAGE_FORMAT_BMP);
  for (uint32_t y = 0; y < 7; y++)
    for (uint32_t x = 0; x < 300; x++) std::memcpy(flat.GetBits(y) + 3 * x, "\x20\xC8\xFF", 3);
  for (bool vector : {false, true}) {
    const std::vector<uint8_t> out = SeparableResampled(flat, 129, 31, vector);
    for (size_t i = 0; i < out.size(); i += 3)
      ASSERT_TRUE(out[i] == 0x20 && out[i + 1] == 0xC8 && out[i + 2] == 0xFF) << "vector " << vector << ", byte " << i;
  }
}

TEST(AreaAverageFeed, OnlyForPicturesThatShrinkBothWaysTo24Bits) {
  CxImage same(100, 50, 24, CXIMAGE_FORMAT_BMP), wider(100, 49, 24, CXIMAGE_FORMAT_BMP);
  CxImage grey(99, 49, 8, CXIMAGE_FORMAT_BMP), smaller(99, 49, 24, CXIMAGE_FORMAT_BMP);
  EXPECT_FALSE(qv::image::MakeAreaAverageFeed(100, 50, same));
  EXPECT_FALSE(qv::image::MakeAreaAverageFeed(100, 50, wider));
  EXPECT_FALSE(qv::image::MakeAreaAverageFeed(100, 50, grey));
  EXPECT_TRUE(qv::image::MakeAreaAverageFeed(100, 50, smaller));
}

// The vector form's products must stay below 2^15 and its sums below 2^31: white pictures give
// the largest sums, at the largest scales it still takes (and just past them, where the plain
// form takes over).
TEST_P(FastPaths, AreaAveragingMatchesTheModelAtTheLargestSums) {
  std::mt19937 rng(89);
  const Shape shapes[] = {{178, 178, 2, 2}, {250, 60, 2, 20},  {60, 250, 20, 2},
                          {256, 256, 2, 2}, {379, 61, 3, 20}, {521, 41, 4, 20}};
  for (const Shape& s : shapes) {
    CxImage white(s.w, s.h, 24, CXIMAGE_FORMAT_BMP);
    for (uint32_t y = 0; y < s.h; y++) std::memset(white.GetBits(y), 255, size_t(s.w) * 3);
    ExpectShrinkMatchesModel(white, s.newW, s.newH);
    ExpectShrinkMatchesModel(RandomPicture(rng, s.w, s.h, 0), s.newW, s.newH);
  }
}

// Shades all over the cube, and a few exact duplicates so that the first of equals must win.
std::vector<CxRgbQuad> RandomPalette(std::mt19937& rng, uint32_t n) {
  std::uniform_int_distribution<int> byte(0, 255);
  std::vector<CxRgbQuad> pal(256, CxRgbQuad{0, 0, 0, 0});
  for (uint32_t i = 0; i < n; i++) pal[i] = CxRgbQuad{uint8_t(byte(rng)), uint8_t(byte(rng)), uint8_t(byte(rng)), 0};
  for (uint32_t i = 3; i < n; i += 7) pal[i] = pal[i / 2];
  return pal;
}

TEST_P(FastPaths, PaletteSearchIsTheFirstNearestEntry) {
  std::mt19937 rng(7);
  for (uint32_t n : {0u, 1u, 2u, 5u, 16u, 255u, 256u}) {
    std::vector<CxRgbQuad> pal = RandomPalette(rng, n);
    const qv::image::PaletteSearch search(pal.data(), n);
    CxImage image(1, 1, 8, CXIMAGE_FORMAT_BMP);
    image.SetPalette(pal.data(), 256);
    std::uniform_int_distribution<int> byte(0, 255);
    for (int i = 0; i < 20000; i++) {
      CxRgbQuad c{uint8_t(byte(rng)), uint8_t(byte(rng)), uint8_t(byte(rng)), 0};
      // Some asked colours are palette entries exactly.
      if (i % 5 == 0 && n) c = pal[size_t(i / 5) % n];
      const uint8_t want = qvtest::NearestModel(pal.data(), n, c);
      ASSERT_EQ(search.Nearest(c.rgbBlue, c.rgbGreen, c.rgbRed), want) << n << " entries, i " << i;
      if (n == 256) ASSERT_EQ(image.GetNearestIndex(c), want) << "i " << i;
    }
  }
}

TEST_P(FastPaths, LoweringTheDepthMatchesTheModel) {
  std::mt19937 rng(16);
  for (uint32_t bits : {1u, 4u, 8u}) {
    for (bool diffuse : {true, false}) {
      for (uint32_t n : {bits == 1 ? 2u : 1u << bits, 1u << (bits - 1 ? bits - 1 : 1)}) {
        SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(n) + " colours" +
                     (diffuse ? ", diffused" : ""));
        CxImage src = RandomPicture(rng, 37 + bits, 29, bits == 4 ? 0 : 5);
        std::vector<CxRgbQuad> pal = RandomPalette(rng, n);
        // The table holds n colours and black after them, as the quantizer's does; the search
        // covers every entry of the depth.
        std::vector<uint8_t> want = qvtest::DiffusionModel(src, pal.data(), 1u << bits, diffuse);
        CxImage made(src);
        ASSERT_TRUE(made.DecreaseBpp(bits, diffuse, pal.data()));
        ASSERT_EQ(made.GetBpp(), bits);
        for (long y = 0; y < long(src.GetHeight()); y++)
          for (long x = 0; x < long(src.GetWidth()); x++)
            ASSERT_EQ(made.GetPixelIndex(x, y), want[size_t(y) * src.GetWidth() + size_t(x)])
                << "pixel " << x << "," << y;
      }
    }
  }
}

#if defined(__x86_64__)
TEST(FastPathsVector, RunOnEveryX8664Processor) { EXPECT_TRUE(qv::image::UseVectorCode()); }
#endif

INSTANTIATE_TEST_SUITE_P(VectorAndPlain, FastPaths, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "vector" : "plain"; });

}  // namespace

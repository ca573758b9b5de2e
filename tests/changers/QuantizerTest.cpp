// The octree quantizer and the reduction to the display depth.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "changers/ImagePreparation.h"
#include "changers/OctreeQuantizer.h"
#include "image/CxImage.h"
#include "tests/changers/PrepareTestSupport.h"

namespace {

using qvtest::Fake;
using qvtest::FakeEnvironment;
using qvtest::Picture24;
using qvtest::Rgb;

const Rgb kRed{255, 0, 0}, kGreen{0, 255, 0}, kBlue{0, 0, 255}, kBlack{0, 0, 0};

std::vector<Rgb> Palette(const qv::OctreeQuantizer& q) {
  CxRgbQuad table[256];
  std::memset(table, 0, sizeof table);
  q.SetColorTable(table);
  std::vector<Rgb> out;
  for (uint32_t i = 0; i < q.GetColorCount(); ++i) out.push_back(qvtest::PaletteRgb(table[i]));
  return out;
}

struct QuantizerCase {
  const char* name;
  uint32_t width, height;
  std::vector<Rgb> pixels;  // bottom row first
  uint32_t maxColours, bits;
  std::vector<Rgb> palette;
};

TEST(OctreeQuantizer, PaletteFromTheTreeWalkAfterPruning) {
  const QuantizerCase cases[] = {
      // Leaves come out in child order (red bit, green bit, blue bit), not in pixel order.
      {"walk order", 3, 1, {kRed, kGreen, kBlue}, 256, 8, {kBlue, kGreen, kRed}},
      {"repeats count once", 4, 2, {kRed, kRed, kGreen, kRed}, 256, 8, {kGreen, kRed}},
      // The newest node of the deepest level goes first, and the bottom row is read first:
      // C and D (top row) merge, A and B (bottom row) stay apart.
      {"newest deepest node first", 2, 2, {{0, 0, 0}, {1, 1, 1}, {254, 254, 254}, {255, 255, 255}},
       3, 8, {{0, 0, 0}, {1, 1, 1}, {254, 254, 254}}},
      // Level 7 is emptied before level 1 is touched: single-child nodes of C and D are merged
      // first (no gain), then A and B; C and D, sharing a level-1 node, stay apart.
      {"deepest level first", 2, 2, {{0, 0, 0}, {1, 1, 1}, {128, 128, 128}, {255, 255, 255}},
       3, 8, {{0, 0, 0}, {128, 128, 128}, {255, 255, 255}}},
      // With one level there is nothing deeper than the root: everything merges into one mean.
      {"one level", 3, 1, {kRed, kGreen, kBlue}, 2, 1, {{85, 85, 85}}},
      {"two colours, two bits", 2, 2, {{0, 0, 0}, {10, 10, 10}, {250, 250, 250}, {240, 240, 240}},
       2, 2, {{5, 5, 5}, {245, 245, 245}}},
  };
  for (const QuantizerCase& c : cases) {
    CxImage image = Picture24(c.width, c.height, c.pixels);
    qv::OctreeQuantizer q(c.maxColours, c.bits);
    ASSERT_TRUE(q.ProcessImage(image)) << c.name;
    EXPECT_EQ(Palette(q), c.palette) << c.name;
  }
}

TEST(OctreeQuantizer, RowFillerBytesAreNotPixels) {
  CxImage image = Picture24(3, 2, {kRed, kGreen, kBlue});
  for (uint32_t y = 0; y < 2; ++y) std::memset(image.GetBits(y) + 9, 0x80, 3);
  qv::OctreeQuantizer q(256, 8);
  ASSERT_TRUE(q.ProcessImage(image));
  EXPECT_EQ(q.GetColorCount(), 3u);
}

TEST(OctreeQuantizer, RefusesAnInvalidPictureAndReadsPalettePictures) {
  qv::OctreeQuantizer q(16, 4);
  EXPECT_FALSE(q.ProcessImage(CxImage()));
  EXPECT_EQ(q.GetColorCount(), 0u);

  CxImage indexed;
  indexed.Create(4, 1, 8, CXIMAGE_FORMAT_BMP);
  indexed.SetPaletteIndex(0, 10, 20, 30);
  indexed.SetPaletteIndex(1, 200, 100, 50);
  indexed.SetPixelIndex(1, 0, 1);
  ASSERT_TRUE(q.ProcessImage(indexed));
  EXPECT_EQ(Palette(q), (std::vector<Rgb>{{10, 20, 30}, {200, 100, 50}}));
}

TEST(OctreeQuantizer, ManyColoursNeverExceedTheMaximum) {
  std::vector<Rgb> noise;
  uint32_t state = 7;
  for (int i = 0; i < 64 * 64; ++i) {
    state = state * 1664525u + 1013904223u;
    noise.push_back({uint8_t(state >> 24), uint8_t(state >> 16), uint8_t(state >> 8)});
  }
  CxImage image = Picture24(64, 64, noise);
  for (uint32_t colours : {2u, 16u, 256u}) {
    qv::OctreeQuantizer q(colours, colours == 256 ? 8 : colours == 16 ? 4 : 1);
    ASSERT_TRUE(q.ProcessImage(image));
    EXPECT_LE(q.GetColorCount(), colours);
    EXPECT_GE(q.GetColorCount(), 1u);
  }
}

struct DepthCase {
  int displayBits;
  uint32_t wantBpp;
  uint32_t paletteEntries;
};

TEST(MatchDisplayDepth, OnlyPaletteDisplaysReduceThePicture) {
  const DepthCase cases[] = {
      {32, 24, 0}, {24, 24, 0}, {16, 24, 0}, {0, 24, 0},  // 0: the depth could not be read
      {8, 8, 256}, {4, 4, 16},
  };
  for (const DepthCase& c : cases) {
    FakeEnvironment env;
    Fake().bits = c.displayBits;
    CxImage image = Picture24(3, 2, {kRed, kGreen, kBlue, kBlue, kRed, kGreen});
    const CxImage before(image);
    qv::MatchDisplayDepth(image);
    ASSERT_EQ(image.GetBpp(), c.wantBpp) << c.displayBits;
    if (c.wantBpp == 24) {
      EXPECT_EQ(std::memcmp(image.GetDIB(), before.GetDIB(), image.GetSize()), 0) << c.displayBits;
      continue;
    }
    ASSERT_EQ(image.GetNumColors(), c.paletteEntries);
    // The three colours, then black in every entry the quantizer did not fill.
    std::vector<Rgb> want = {kBlue, kGreen, kRed};
    want.resize(c.paletteEntries, kBlack);
    std::vector<Rgb> got;
    for (uint32_t i = 0; i < c.paletteEntries; ++i)
      got.push_back(qvtest::PaletteRgb(image.GetPaletteColor(static_cast<uint8_t>(i))));
    EXPECT_EQ(got, want) << c.displayBits;
    // Every pixel kept its colour exactly.
    for (long y = 0; y < 2; ++y)
      for (long x = 0; x < 3; ++x) {
        CxRgbQuad p = image.GetPixelColor(x, y, false), q = before.GetPixelColor(x, y, false);
        EXPECT_TRUE(p.rgbRed == q.rgbRed && p.rgbGreen == q.rgbGreen && p.rgbBlue == q.rgbBlue)
            << c.displayBits << " at " << x << "," << y;
      }
  }
}

TEST(MatchDisplayDepth, APalettePictureIsRaisedFirst) {
  FakeEnvironment env;
  Fake().bits = 8;
  CxImage image;
  image.Create(2, 1, 1, CXIMAGE_FORMAT_BMP);
  image.SetPaletteIndex(0, 0, 0, 0);
  image.SetPaletteIndex(1, 255, 255, 255);
  image.SetPixelIndex(1, 0, 1);
  qv::MatchDisplayDepth(image);
  EXPECT_EQ(image.GetBpp(), 8u);
  EXPECT_EQ(qvtest::PaletteRgb(image.GetPixelColor(1, 0, false)), (Rgb{255, 255, 255}));
}

}  // namespace

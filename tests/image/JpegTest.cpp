// The JPEG coder over libjpeg: round trips, grey pictures, scaled decoding and failures.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "image/Coders.h"
#include "image/CxImage.h"
#include "image/DecodeScale.h"
#include "tests/image/ImageTestUtil.h"

namespace {

std::vector<uint8_t> EncodeToBytes(CxImage& image, uint32_t type) {
  uint8_t* data = nullptr;
  long size = 0;
  if (!image.Encode(data, size, type)) return {};
  std::vector<uint8_t> bytes(data, data + size);
  std::free(data);
  return bytes;
}

double MeanAbsDiff(const CxImage& a, const CxImage& b) {
  double sum = 0;
  for (long y = 0; y < long(a.GetHeight()); y++)
    for (long x = 0; x < long(a.GetWidth()); x++) {
      CxRgbQuad p = a.GetPixelColor(x, y), q = b.GetPixelColor(x, y);
      sum += std::abs(p.rgbRed - q.rgbRed) + std::abs(p.rgbGreen - q.rgbGreen) + std::abs(p.rgbBlue - q.rgbBlue);
    }
  return sum / (3.0 * a.GetWidth() * a.GetHeight());
}

TEST(Jpeg, ColourAndGreyRoundTripCloselyWithOrientationKept) {
  CxImage colour = qvtest::Smooth24(120, 80);
  colour.SetJpegQuality(95);
  std::vector<uint8_t> bytes = EncodeToBytes(colour, CXIMAGE_FORMAT_JPG);
  ASSERT_GT(bytes.size(), 100u);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  CxImage back;
  ASSERT_TRUE(back.Decode(bytes.data(), uint32_t(bytes.size()), CXIMAGE_FORMAT_JPG)) << back.GetLastError();
  ASSERT_EQ(back.GetWidth(), 120u);
  ASSERT_EQ(back.GetHeight(), 80u);
  EXPECT_EQ(back.GetBpp(), 24u);
  EXPECT_LT(MeanAbsDiff(colour, back), 2.0);
  // Bottom-left stays bottom-left: green grows with y.
  EXPECT_LT(back.GetPixelColor(60, 2).rgbGreen, 20);
  EXPECT_GT(back.GetPixelColor(60, 77).rgbGreen, 235);

  CxImage grey(colour);
  ASSERT_TRUE(grey.GrayScale());
  std::vector<uint8_t> greyBytes = EncodeToBytes(grey, CXIMAGE_FORMAT_JPG);
  ASSERT_FALSE(greyBytes.empty()) << grey.GetLastError();
  CxImage greyBack;
  ASSERT_TRUE(greyBack.Decode(greyBytes.data(), uint32_t(greyBytes.size()), CXIMAGE_FORMAT_JPG));
  EXPECT_EQ(greyBack.GetBpp(), 8u);
  EXPECT_TRUE(greyBack.IsGrayScale());
  EXPECT_LT(MeanAbsDiff(grey, greyBack), 2.0);
}

TEST(Jpeg, OnlyColourOrGreyPicturesAreSaved) {
  CxImage image = qvtest::Random24(8, 8, 1);
  ASSERT_TRUE(image.DecreaseBpp(8, false, nullptr));
  EXPECT_TRUE(EncodeToBytes(image, CXIMAGE_FORMAT_JPG).empty());
  EXPECT_STREQ(image.GetLastError(), "JPEG can save only RGB or GreyScale images");
}

TEST(Jpeg, LibraryMessagesBecomeTheLastErrorAndThePictureStays) {
  CxImage source = qvtest::Random24(300, 300, 4);
  std::vector<uint8_t> good = EncodeToBytes(source, CXIMAGE_FORMAT_JPG);
  std::vector<uint8_t> cut(good.begin(), good.begin() + good.size() * 2 / 3);
  std::vector<uint8_t> bmp = {'B', 'M', 0, 0, 0, 0, 0, 0};
  struct Case {
    const char* name;
    std::vector<uint8_t> bytes;
    const char* error;
  } cases[] = {
      {"not a JPEG", bmp, "Not a JPEG file: starts with 0x42 0x4d"},
      {"cut in half", cut, "Premature end of JPEG file"},
      {"empty", {}, "Empty input file"},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    CxImage image = qvtest::Random24(5, 5, 2);
    CxImage before(image);
    uint8_t dummy = 0;
    EXPECT_FALSE(image.Decode(c.bytes.empty() ? &dummy : c.bytes.data(), uint32_t(c.bytes.size()), CXIMAGE_FORMAT_JPG));
    EXPECT_STREQ(image.GetLastError(), c.error);
    EXPECT_EQ(qvtest::DifferentPixels(image, before), 0);
  }
}

// The picture fitted into the box (aspect kept, never enlarged) must lose nothing.
TEST(Jpeg, ScaledDecodeTakesTheSmallestScaleNotBelowTheFittedSize) {
  CxImage source = qvtest::Smooth24(800, 600);
  std::vector<uint8_t> bytes = EncodeToBytes(source, CXIMAGE_FORMAT_JPG);
  struct Case {
    uint32_t boxW, boxH, w, h;
  } cases[] = {{96, 96, 100, 75},    {100, 75, 100, 75},   {101, 75, 100, 75}, {101, 76, 200, 150}, {200, 34, 100, 75},
               {400, 300, 400, 300}, {401, 301, 800, 600}, {401, 10, 100, 75},  {2000, 2000, 800, 600}};
  for (const Case& c : cases) {
    CxMemFile file(bytes.data(), uint32_t(bytes.size()));
    CxImage image, caller;
    qv::image::CoderJob job{file, image, caller, {}};
    uint32_t fw = 0, fh = 0;
    ASSERT_TRUE(qv::image::DecodeJpegScaled(job, c.boxW, c.boxH, &fw, &fh)) << job.error;
    EXPECT_EQ(image.GetWidth(), c.w) << c.boxW << "x" << c.boxH;
    EXPECT_EQ(image.GetHeight(), c.h);
    EXPECT_EQ(fw, 800u);
    EXPECT_EQ(fh, 600u);
  }
}

// The whole block (header, palette, pixels) and the settings a load gives.
void ExpectSamePicture(const CxImage& a, const CxImage& b) {
  ASSERT_EQ(a.GetSize(), b.GetSize());
  ASSERT_TRUE(a.IsValid() && b.IsValid());
  const uint8_t* pa = reinterpret_cast<const uint8_t*>(a.GetBits(0)) - (a.GetSize() - size_t(a.GetEffWidth()) * a.GetHeight());
  const uint8_t* pb = reinterpret_cast<const uint8_t*>(b.GetBits(0)) - (b.GetSize() - size_t(b.GetEffWidth()) * b.GetHeight());
  EXPECT_EQ(std::vector<uint8_t>(pa, pa + a.GetSize()), std::vector<uint8_t>(pb, pb + b.GetSize()));
  EXPECT_EQ(a.GetType(), b.GetType());
  EXPECT_EQ(a.GetXDPI(), b.GetXDPI());
  EXPECT_EQ(a.GetYDPI(), b.GetYDPI());
}

// A load that the decoder reduces is held to the whole decode by DecodeScaleTest and the quality
// gate over real photos; every other is exactly the load followed by Resample.
TEST(Jpeg, AResampledLoadIsTheLoadFollowedByResampleOrCloseWhereItIsReduced) {
  CxImage colour = qvtest::Random24(301, 203, 5), grey = qvtest::Smooth24(120, 90);
  ASSERT_TRUE(grey.GrayScale());
  colour.SetXDPI(300);
  const std::string colourPath = qvtest::TempPath("fit-colour.jpg"), greyPath = qvtest::TempPath("fit-grey.jpg");
  const std::string pngPath = qvtest::TempPath("fit-colour.png");
  ASSERT_TRUE(colour.Save(colourPath.c_str(), CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(grey.Save(greyPath.c_str(), CXIMAGE_FORMAT_JPG));
  ASSERT_TRUE(colour.Save(pngPath.c_str(), CXIMAGE_FORMAT_PNG));
  // Shrunk both ways (averaged while decoding), one way only, not at all, enlarged, and no size.
  const CxImage::FittedSize sizes[] = {{100, 67}, {1, 1}, {300, 202}, {150, 203}, {301, 203}, {400, 300}, {0, 50}};
  for (const std::string& path : {colourPath, greyPath, pngPath}) {
    const uint32_t type = path == pngPath ? CXIMAGE_FORMAT_PNG : CXIMAGE_FORMAT_JPG;
    for (const CxImage::FittedSize& size : sizes) {
      SCOPED_TRACE(path + " to " + std::to_string(size.width) + "x" + std::to_string(size.height));
      CxImage want(path.c_str(), type);
      const bool wantResampled = size.width > 0 && size.height > 0 && want.Resample(size.width, size.height, 0);
      CxImage got;
      bool resampled = !wantResampled;
      uint32_t askedW = 0, askedH = 0;
      const auto fit = [&](uint32_t w, uint32_t h) {
        askedW = w, askedH = h;
        return size;
      };
      ASSERT_TRUE(got.LoadResampled(path.c_str(), type, fit, &resampled)) << got.GetLastError();
      EXPECT_EQ(askedW, path == greyPath ? 120u : 301u);
      EXPECT_EQ(resampled, wantResampled);
      const bool reduced = type == CXIMAGE_FORMAT_JPG && size.width > 0 && size.height > 0 &&
                           qv::image::DecodeScaleEighths(askedW, askedH, uint32_t(size.width), uint32_t(size.height)) < 8;
      if (!reduced) {
        ExpectSamePicture(got, want);
        continue;
      }
      ASSERT_EQ(got.GetWidth(), want.GetWidth());
      ASSERT_EQ(got.GetHeight(), want.GetHeight());
      EXPECT_EQ(got.GetBpp(), want.GetBpp());
      EXPECT_EQ(got.GetXDPI(), want.GetXDPI());
      // Noise: the reduced inverse DCT of noise is only near its average (the close bounds are
      // DecodeScaleTest's, on a picture with structure); a picture upside down or of other
      // colours would be far off.
      EXPECT_LT(MeanAbsDiff(got, want), 12.0);
    }
  }
  for (const std::string& path : {colourPath, greyPath, pngPath}) std::remove(path.c_str());
}

TEST(Jpeg, AResampledLoadOfABrokenFileFailsAndKeepsThePicture) {
  CxImage source = qvtest::Random24(200, 100, 9);
  std::vector<uint8_t> bytes = EncodeToBytes(source, CXIMAGE_FORMAT_JPG);
  ASSERT_GT(bytes.size(), 600u);
  const std::string path = qvtest::TempPath("fit-cut.jpg");
  FILE* f = std::fopen(path.c_str(), "wb");
  ASSERT_TRUE(f);
  std::fwrite(bytes.data(), 1, bytes.size() / 2, f);  // cut in the middle of the scan
  std::fclose(f);
  CxImage image = qvtest::Random24(4, 4, 2);
  const CxImage before(image);
  bool resampled = true;
  const auto fit = [](uint32_t, uint32_t) { return CxImage::FittedSize{50, 25}; };
  EXPECT_FALSE(image.LoadResampled(path.c_str(), CXIMAGE_FORMAT_JPG, fit, &resampled));
  EXPECT_FALSE(resampled);
  EXPECT_STRNE(image.GetLastError(), "");
  EXPECT_EQ(image.GetWidth(), 4u);
  EXPECT_EQ(qvtest::DifferentPixels(image, before), 0);
  EXPECT_FALSE(image.LoadResampled((path + ".missing").c_str(), CXIMAGE_FORMAT_JPG, fit, &resampled));
  std::remove(path.c_str());
}

TEST(Jpeg, LoadingAJpegAsBmpFailsWithoutTryingOtherCoders) {
  CxImage source = qvtest::Smooth24(16, 16);
  std::string path = qvtest::TempPath("photo.jpg");
  ASSERT_TRUE(source.Save(path.c_str(), CXIMAGE_FORMAT_JPG));
  CxImage asBmp(path.c_str(), CXIMAGE_FORMAT_BMP);
  EXPECT_FALSE(asBmp.IsValid());
  EXPECT_STRNE(asBmp.GetLastError(), "");
  CxImage asJpeg(path.c_str(), CXIMAGE_FORMAT_JPG);
  EXPECT_TRUE(asJpeg.IsValid());
  EXPECT_EQ(asJpeg.GetType(), 2u);
  std::remove(path.c_str());
}

}  // namespace

// The DCT scale a JPEG is decoded at when it is reduced, and the reduced decode itself over
// the chroma layouts and the progressive form.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

#include "image/Coders.h"
#include "image/CxImage.h"
#include "image/DecodeScale.h"
#include "tests/image/ImageTestUtil.h"

namespace {

TEST(DecodeScale, TheSmallestScaleThatCoversTheTarget) {
  struct Case {
    const char* what;
    uint32_t w, h, targetW, targetH;
    unsigned eighths;
  } cases[] = {
      {"20 MP wallpaper fitted to 1024 wide", 6028, 3391, 1024, 576, 2},
      {"the same, cover before the crop", 6028, 3391, 1365, 768, 2},
      {"boot screen: stretched side 424 of 480 rows", 6028, 3391, 640, 480, 1},
      {"boot screen: stretched side 397 of 480 rows is too short", 5640, 3172, 640, 480, 2},
      {"portrait on the boot screen: 375 of 640 columns", 3000, 4000, 640, 480, 2},
      {"boot logo", 5640, 3172, 320, 400, 1},
      {"odd sides meet the target exactly at 1/8", 799, 599, 100, 75, 1},
      {"one column short at 1/8", 799, 599, 101, 75, 2},
      {"odd sides round up", 801, 601, 101, 76, 1},
      {"half way", 800, 600, 400, 300, 4},
      {"a pixel more than half", 800, 600, 401, 300, 8},
      {"the picture's own size", 800, 600, 800, 600, 8},
      {"a target larger than the picture", 800, 600, 1024, 768, 8},
      {"larger one way, stretched beyond an eighth the other", 800, 600, 1000, 300, 8},
      {"tiny", 7, 7, 1, 1, 1},
      {"empty target", 800, 600, 0, 300, 8},
      {"empty picture", 0, 600, 100, 75, 8},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(qv::image::DecodeScaleEighths(c.w, c.h, c.targetW, c.targetH), c.eighths) << c.what;
    const unsigned e = c.eighths;
    if (e == 8 || c.targetW == 0 || c.w == 0) continue;
    // Whatever the rule allows short, never below the picture fitted into the target.
    EXPECT_GE(uint64_t(qv::image::ScaledSide(c.w, e)) * 8, uint64_t(std::min(c.w, c.targetW)) * 7) << c.what;
    EXPECT_GE(uint64_t(qv::image::ScaledSide(c.h, e)) * 8, uint64_t(std::min(c.h, c.targetH)) * 7) << c.what;
  }
}

struct Layout {
  const char* name;
  int h0, v0;  // the luminance sampling factors (chroma at 1 x 1)
  bool progressive;
};

// A JPEG of the picture in the given layout, written with libjpeg directly (the coder writes
// only its default layout).
std::vector<uint8_t> EncodeLayout(const CxImage& image, const Layout& layout) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr err;
  cinfo.err = jpeg_std_error(&err);
  jpeg_create_compress(&cinfo);
  unsigned char* out = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &out, &size);
  cinfo.image_width = image.GetWidth();
  cinfo.image_height = image.GetHeight();
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_EXT_BGR;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, 92, TRUE);
  cinfo.comp_info[0].h_samp_factor = layout.h0;
  cinfo.comp_info[0].v_samp_factor = layout.v0;
  if (layout.progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  const uint32_t h = image.GetHeight();
  while (cinfo.next_scanline < h) {
    JSAMPROW row = const_cast<JSAMPROW>(image.GetBits(h - 1 - cinfo.next_scanline));
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  std::vector<uint8_t> bytes(out, out + size);
  free(out);
  return bytes;
}

// Gradients with a fine pattern over them: something for the averaging to average.
CxImage Textured(uint32_t w, uint32_t h) {
  CxImage image = qvtest::Smooth24(w, h);
  for (uint32_t y = 0; y < h; y++) {
    uint8_t* p = image.GetBits(y);
    for (uint32_t x = 0; x < w * 3; x++) p[x] = uint8_t(p[x] / 2 + ((x / 3 + y) % 5) * 12);
  }
  return image;
}

double Psnr(const CxImage& a, const CxImage& b) {
  double squares = 0;
  for (uint32_t y = 0; y < a.GetHeight(); y++)
    for (uint32_t i = 0; i < a.GetWidth() * 3; i++) {
      const double d = double(a.GetBits(y)[i]) - b.GetBits(y)[i];
      squares += d * d;
    }
  return squares == 0 ? 99 : 10 * std::log10(255.0 * 255 * a.GetWidth() * a.GetHeight() * 3 / squares);
}

const Layout kLayouts[] = {
    {"4:2:0", 2, 2, false}, {"4:2:2", 2, 1, false}, {"4:4:4", 1, 1, false}, {"4:2:2 progressive", 2, 1, true}};

// The decoder's reduced size is the one the rule counted on, in every layout, at odd sizes;
// and the reduced load, brought to the target, stays close to the whole decode brought there.
TEST(DecodeScale, ReducedDecodesHaveThePredictedSizeAndStayCloseToTheWholeDecode) {
  const CxImage source = Textured(1001, 667);
  struct Target {
    long w, h;
  } targets[] = {{250, 166}, {125, 83}, {160, 120}, {100, 150}, {500, 333}};
  for (const Layout& layout : kLayouts) {
    const std::vector<uint8_t> bytes = EncodeLayout(source, layout);
    ASSERT_FALSE(bytes.empty());
    const std::string path = qvtest::TempPath("scale-" + std::to_string(layout.h0) + "x" + std::to_string(layout.v0) + (layout.progressive ? "p" : "") + ".jpg");
    FILE* f = std::fopen(path.c_str(), "wb");
    ASSERT_TRUE(f);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    const CxImage whole(path.c_str(), CXIMAGE_FORMAT_JPG);
    ASSERT_TRUE(whole.IsValid()) << whole.GetLastError();
    for (const Target& t : targets) {
      SCOPED_TRACE(std::string(layout.name) + " to " + std::to_string(t.w) + "x" + std::to_string(t.h));
      const unsigned eighths = qv::image::DecodeScaleEighths(1001, 667, uint32_t(t.w), uint32_t(t.h));
      const CxImage::SizeFit fit = [&](uint32_t, uint32_t) { return CxImage::FittedSize{t.w, t.h}; };
      // The coder alone: at the reduced size unless it averaged on the way.
      CxMemFile file(const_cast<uint8_t*>(bytes.data()), uint32_t(bytes.size()));
      CxImage decoded, caller;
      qv::image::CoderJob job{file, decoded, caller, {}};
      qv::image::ResampledDecode result;
      ASSERT_TRUE(qv::image::DecodeJpegResampled(job, fit, &result)) << job.error;
      EXPECT_EQ(result.reduced, eighths < 8);
      EXPECT_EQ(result.target.width, t.w);
      if (!result.resampled) {
        EXPECT_EQ(decoded.GetWidth(), qv::image::ScaledSide(1001, eighths));
        EXPECT_EQ(decoded.GetHeight(), qv::image::ScaledSide(667, eighths));
      }
      CxImage loaded, reference(whole);
      bool resampled = false;
      ASSERT_TRUE(loaded.LoadResampled(path.c_str(), CXIMAGE_FORMAT_JPG, fit, &resampled));
      EXPECT_TRUE(resampled);
      ASSERT_TRUE(reference.Resample(t.w, t.h, 0));
      ASSERT_EQ(loaded.GetWidth(), uint32_t(t.w));
      ASSERT_EQ(loaded.GetHeight(), uint32_t(t.h));
      EXPECT_GT(Psnr(loaded, reference), 30.0);
    }
    std::remove(path.c_str());
  }
}

}  // namespace

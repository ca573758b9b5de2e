// The own coders (GIF, ICO, TGA, PCX, WBMP) and the PNG and TIFF coders: round trips at every
// depth they write, and the failure texts of broken input.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "image/CxImage.h"
#include "image/GifLzw.h"
#include "image/ImageLimits.h"
#include "tests/image/ImageTestUtil.h"

namespace {

std::vector<uint8_t> Encoded(CxImage& image, uint32_t type) {
  uint8_t* data = nullptr;
  long size = 0;
  if (!image.Encode(data, size, type)) return {};
  std::vector<uint8_t> v(data, data + size);
  std::free(data);
  return v;
}

struct RoundTrip {
  uint32_t type;
  uint32_t bpp;
  uint32_t expectBpp;
};

TEST(Coders, LosslessFormatsRoundTripEveryDepthTheyWrite) {
  const RoundTrip cases[] = {
      {CXIMAGE_FORMAT_GIF, 1, 1},   {CXIMAGE_FORMAT_GIF, 4, 4},  {CXIMAGE_FORMAT_GIF, 8, 8},
      {CXIMAGE_FORMAT_PNG, 1, 1},   {CXIMAGE_FORMAT_PNG, 4, 4},  {CXIMAGE_FORMAT_PNG, 8, 8},
      {CXIMAGE_FORMAT_PNG, 24, 24}, {CXIMAGE_FORMAT_TIF, 1, 1},  {CXIMAGE_FORMAT_TIF, 4, 4},
      {CXIMAGE_FORMAT_TIF, 8, 8},   {CXIMAGE_FORMAT_TIF, 24, 24}, {CXIMAGE_FORMAT_TGA, 8, 8},
      {CXIMAGE_FORMAT_TGA, 24, 24}, {CXIMAGE_FORMAT_PCX, 1, 1},  {CXIMAGE_FORMAT_PCX, 4, 4},
      {CXIMAGE_FORMAT_PCX, 8, 8},   {CXIMAGE_FORMAT_PCX, 24, 24}, {CXIMAGE_FORMAT_WBMP, 1, 1},
      {CXIMAGE_FORMAT_ICO, 1, 1},   {CXIMAGE_FORMAT_ICO, 4, 4},  {CXIMAGE_FORMAT_ICO, 8, 8},
      {CXIMAGE_FORMAT_ICO, 24, 24},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.type << " bpp " << c.bpp);
    // Odd sizes catch row padding mistakes; 300 wide makes the LZW table fill and clear.
    CxImage image = qvtest::Random24(c.type == CXIMAGE_FORMAT_ICO ? 37 : 301, 23, c.bpp);
    if (c.bpp < 24) ASSERT_TRUE(image.DecreaseBpp(c.bpp, true, nullptr));
    std::vector<uint8_t> bytes = Encoded(image, c.type);
    ASSERT_FALSE(bytes.empty()) << image.GetLastError();
    CxImage back;
    ASSERT_TRUE(back.Decode(bytes.data(), uint32_t(bytes.size()), c.type)) << back.GetLastError();
    EXPECT_EQ(back.GetBpp(), c.expectBpp);
    EXPECT_EQ(back.GetType(), c.type);
    EXPECT_EQ(qvtest::DifferentPixels(image, back), 0);
  }
}

TEST(Coders, AlphaSurvivesPngTiffAndIco) {
  for (uint32_t type : {CXIMAGE_FORMAT_PNG, CXIMAGE_FORMAT_TIF, CXIMAGE_FORMAT_ICO}) {
    CxImage image = qvtest::Random24(16, 8, 5);
    image.AlphaCreate();
    for (long y = 0; y < 8; y++)
      for (long x = 0; x < 16; x++) image.AlphaSet(x, y, uint8_t(x * 17));
    std::vector<uint8_t> bytes = Encoded(image, type);
    CxImage back;
    ASSERT_TRUE(back.Decode(bytes.data(), uint32_t(bytes.size()), type)) << type << back.GetLastError();
    ASSERT_TRUE(back.HasAlpha()) << type;
    EXPECT_EQ(back.AlphaGet(15, 7), 255) << type;
    EXPECT_EQ(back.AlphaGet(3, 0), 51) << type;
    // Unpremultiplied colours come back where alpha is not zero (TIFF within rounding).
    CxRgbQuad a = image.GetPixelColor(15, 7), b = back.GetPixelColor(15, 7);
    EXPECT_EQ(a.rgbRed, b.rgbRed) << type;
  }
}

TEST(Coders, GifFramesAreCountedAndSelected) {
  CxImage a = qvtest::Random24(20, 10, 1), b = qvtest::Random24(7, 5, 2);
  ASSERT_TRUE(a.DecreaseBpp(8, false, nullptr));
  ASSERT_TRUE(b.DecreaseBpp(4, false, nullptr));
  b.SetOffset(3, 4);
  b.SetTransIndex(2);
  CxImage* frames[] = {&a, &b};
  CxMemFile file;
  ASSERT_TRUE(file.Open());
  CxImage writer;
  ASSERT_TRUE(writer.Encode(&file, frames, 2, CXIMAGE_FORMAT_GIF)) << writer.GetLastError();
  std::vector<uint8_t> bytes(file.GetBuffer(false), file.GetBuffer(false) + file.Size());
  CxImage back;
  back.SetFrame(1);
  ASSERT_TRUE(back.Decode(bytes.data(), uint32_t(bytes.size()), CXIMAGE_FORMAT_GIF)) << back.GetLastError();
  EXPECT_EQ(back.GetNumFrames(), 2);
  EXPECT_EQ(qvtest::DifferentPixels(back, b), 0);
  long x, y;
  back.GetOffset(&x, &y);
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
  EXPECT_EQ(back.GetTransIndex(), 2);
  back.SetFrame(2);
  EXPECT_FALSE(back.Decode(bytes.data(), uint32_t(bytes.size()), CXIMAGE_FORMAT_GIF));
  EXPECT_EQ(back.GetWidth(), 7u);  // the frame 1 picture stays
  CxImage none;
  EXPECT_FALSE(none.Encode(&file, frames, 0, CXIMAGE_FORMAT_GIF));
  EXPECT_STREQ(none.GetLastError(), "multipage GIF, no images!");
  CxImage empty;
  CxImage* bad[] = {&a, &empty};
  EXPECT_FALSE(none.Encode(&file, bad, 2, CXIMAGE_FORMAT_GIF));
  EXPECT_STREQ(none.GetLastError(), "Bad image pointer");
  EXPECT_FALSE(none.Encode(&file, frames, 0, CXIMAGE_FORMAT_TIF));
  EXPECT_STREQ(none.GetLastError(), "multipage TIFF, no images!");
}

TEST(Coders, LzwRoundTripsLongRunsAndNoise) {
  std::vector<uint8_t> pixels(100000);
  for (size_t i = 0; i < pixels.size(); i++) pixels[i] = i < 50000 ? 3 : uint8_t((i * 7919) % 251);
  for (int bits : {2, 8}) {
    std::vector<uint8_t> in(pixels);
    for (uint8_t& p : in) p = uint8_t(p & ((1 << bits) - 1));
    std::vector<uint8_t> codes = qv::image::LzwEncode(in.data(), in.size(), bits);
    std::vector<uint8_t> out(in.size());
    ASSERT_EQ(qv::image::LzwDecode(codes.data(), codes.size(), bits, out), in.size());
    EXPECT_EQ(out, in) << bits;
  }
}

struct Broken {
  const char* name;
  uint32_t type;
  std::vector<uint8_t> bytes;
  const char* error;
};

std::vector<uint8_t> Cut(std::vector<uint8_t> v, size_t keep) {
  v.resize(keep);
  return v;
}

TEST(Coders, BrokenInputFailsWithItsTextAndKeepsThePicture) {
  CxImage src = qvtest::Random24(64, 64, 3);
  CxImage pal(src);
  ASSERT_TRUE(pal.DecreaseBpp(8, false, nullptr));
  CxImage mono(src);
  ASSERT_TRUE(mono.DecreaseBpp(1, false, nullptr));
  std::vector<uint8_t> gif = Encoded(pal, CXIMAGE_FORMAT_GIF), tga = Encoded(src, CXIMAGE_FORMAT_TGA),
                       pcx = Encoded(src, CXIMAGE_FORMAT_PCX), wbmp = Encoded(mono, CXIMAGE_FORMAT_WBMP),
                       png = Encoded(src, CXIMAGE_FORMAT_PNG), tif = Encoded(src, CXIMAGE_FORMAT_TIF);
  std::vector<uint8_t> pcxBadPlanes(pcx), pcxBadEncoding(pcx), pcxNotPcx(pcx), tgaBadType(tga);
  pcxBadPlanes[65] = 5;
  pcxBadEncoding[2] = 0;
  pcxNotPcx[0] = 9;
  tgaBadType[2] = 5;
  std::vector<uint8_t> wbmpType = {1, 0, 8, 8};
  std::vector<uint8_t> pcxRun(128, 0);
  pcxRun[0] = 10, pcxRun[2] = 1, pcxRun[3] = 8, pcxRun[65] = 1, pcxRun[66] = 2;  // 1 x 1, 2 bytes a line
  pcxRun.insert(pcxRun.end(), {0xC5, 7});
  // 1 x 65535 with 65534 bytes a line: 4 GB of planes claimed by a few bytes of data.
  std::vector<uint8_t> pcxHuge(pcxRun);
  pcxHuge[10] = 0xFE, pcxHuge[11] = 0xFF, pcxHuge[66] = 0xFE, pcxHuge[67] = 0xFF;
  const Broken cases[] = {
      {"gif cut in its codes", CXIMAGE_FORMAT_GIF, Cut(gif, gif.size() / 2), "Corrupted GIF file"},
      {"gif signature", CXIMAGE_FORMAT_GIF, {'G', 'I', 'X', '8', '9', 'a', 0, 0}, "Not a GIF file"},
      {"tga header", CXIMAGE_FORMAT_TGA, Cut(tga, 10), "Not a TGA"},
      {"tga type 5", CXIMAGE_FORMAT_TGA, tgaBadType, "Unknown TGA image type"},
      {"tga pixels cut", CXIMAGE_FORMAT_TGA, Cut(tga, tga.size() - 5), "corrupted TGA"},
      {"pcx header", CXIMAGE_FORMAT_PCX, Cut(pcx, 100), "Can't read PCX image"},
      {"pcx manufacturer", CXIMAGE_FORMAT_PCX, pcxNotPcx, "Error: Not a PCX file"},
      {"pcx encoding", CXIMAGE_FORMAT_PCX, pcxBadEncoding, "PCX file has unknown encoding scheme"},
      {"pcx planes", CXIMAGE_FORMAT_PCX, pcxBadPlanes, "Can't handle image with more than 4 planes"},
      {"pcx run past the end", CXIMAGE_FORMAT_PCX, pcxRun, "repeat count spans end of image"},
 {"pcx planes beyond its data", CXIMAGE_FORMAT_PCX, pcxHuge, "corrupted PCX"},
      {"pcx data cut", CXIMAGE_FORMAT_PCX, Cut(pcx, pcx.size() / 2), "corrupted PCX"},
      {"wbmp type", CXIMAGE_FORMAT_WBMP, wbmpType, "Unsupported WBMP type"},
      {"wbmp header", CXIMAGE_FORMAT_WBMP, {0, 0, 0x81}, "Not a WBMP"},
      {"wbmp rows cut", CXIMAGE_FORMAT_WBMP, Cut(wbmp, wbmp.size() - 3), "Corrupted WBMP"},
      {"wbmp 100000 x 100000", CXIMAGE_FORMAT_WBMP, {0, 0, 0x86, 0x8D, 0x20, 0x86, 0x8D, 0x20}, qv::image::kTooLargeText},
      {"png cut", CXIMAGE_FORMAT_PNG, Cut(png, png.size() / 2), "Read Error"},
      {"tiff cut to its header", CXIMAGE_FORMAT_TIF, Cut(tif, 6), "Error encountered while opening TIFF file"},
      {"ico header", CXIMAGE_FORMAT_ICO, {0, 0, 3, 0, 1, 0}, "Not an ICO file"},
  };
  for (const Broken& c : cases) {
    SCOPED_TRACE(c.name);
    CxImage image = qvtest::Random24(4, 4, 8);
    CxImage before(image);
    uint8_t dummy = 0;
    EXPECT_FALSE(image.Decode(c.bytes.empty() ? &dummy : const_cast<uint8_t*>(c.bytes.data()),
                              uint32_t(c.bytes.size()), c.type));
    EXPECT_STREQ(image.GetLastError(), c.error);
    EXPECT_EQ(qvtest::DifferentPixels(image, before), 0);
  }
}

TEST(Coders, EncodersRefuseWhatTheirFormatCannotHold) {
  CxImage rgb = qvtest::Random24(300, 20, 1);
  CxImage four(rgb);
  ASSERT_TRUE(four.DecreaseBpp(4, false, nullptr));
  struct Case {
    CxImage* image;
    uint32_t type;
    const char* error;
  } cases[] = {
      {&four, CXIMAGE_FORMAT_TGA, "Bit depth must be 8 or 24"},
      {&rgb, CXIMAGE_FORMAT_WBMP, "Can't save this image as WBMP"},
      {&rgb, CXIMAGE_FORMAT_ICO, "Can't save this image as icon"},
  };
  for (Case& c : cases) {
    EXPECT_TRUE(Encoded(*c.image, c.type).empty());
    EXPECT_STREQ(c.image->GetLastError(), c.error);
  }
}

}  // namespace

#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "imageinfo/BmpInfoPicker.h"
#include "imageinfo/ByteSource.h"
#include "imageinfo/GifSummaryInfoPicker.h"
#include "imageinfo/InfoPickers.h"
#include "imageinfo/JpgSummaryInfoPicker.h"
#include "imageinfo/PCXSummaryInfoPicker.h"
#include "imageinfo/TGASummaryInfoPicker.h"
#include "tests/imageinfo/ImageInfoTestSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::Bytes;
using qvtest::PutLE16;
using qvtest::PutLE32;

Bytes Bmp(std::int32_t width, std::int32_t height, unsigned bpp) {
  Bytes b(54, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLE32(b, 14, 40);
  PutLE32(b, 18, static_cast<std::uint32_t>(width));
  PutLE32(b, 22, static_cast<std::uint32_t>(height));
  PutLE16(b, 26, 1);
  PutLE16(b, 28, bpp);
  return b;
}

Bytes OsTwoBmp(unsigned width, unsigned height, unsigned bpp) {
  Bytes b(26, 0);
  b[0] = 'B';
  b[1] = 'M';
  PutLE32(b, 14, 12);
  PutLE16(b, 18, width);
  PutLE16(b, 20, height);
  PutLE16(b, 22, 1);
  PutLE16(b, 24, bpp);
  return b;
}

Bytes Gif(unsigned width, unsigned height, int packed) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
  PutLE16(b, 6, width);
  PutLE16(b, 8, height);
  b.push_back(static_cast<std::uint8_t>(packed));
  b.push_back(0);
  b.push_back(0);
  return b;
}

Bytes Pcx(unsigned xmin, unsigned ymin, unsigned xmax, unsigned ymax, int bits, int planes) {
  Bytes b(128, 0);
  b[0] = 0x0A;
  b[1] = 5;
  b[2] = 1;
  b[3] = static_cast<std::uint8_t>(bits);
  PutLE16(b, 4, xmin);
  PutLE16(b, 6, ymin);
  PutLE16(b, 8, xmax);
  PutLE16(b, 10, ymax);
  b[65] = static_cast<std::uint8_t>(planes);
  return b;
}

Bytes Tga(unsigned width, unsigned height, int depth) {
  Bytes b(18, 0);
  b[2] = 2;
  PutLE16(b, 12, width);
  PutLE16(b, 14, height);
  b[16] = static_cast<std::uint8_t>(depth);
  return b;
}

Bytes Cut(Bytes b, std::size_t size) {
  b.resize(size);
  return b;
}

Bytes Padded(Bytes b, std::size_t size, std::uint8_t fill) {
  b.resize(size, fill);
  return b;
}

struct Expect {
  bool ok;
  std::int32_t width, height, depth;
};

void CheckRead(qv::SummaryInfoPicker& picker, const Bytes& bytes, const Expect& e,
               const std::string& what) {
  SCOPED_TRACE(what);
  qv::MemoryByteSource source(bytes.data(), bytes.size());
  ASSERT_EQ(picker.ReadHeaderFrom(source), e.ok);
  EXPECT_EQ(picker.state(), e.ok ? qv::SummaryInfoPicker::kReadDone
                                 : qv::SummaryInfoPicker::kReadStarted);
  if (!e.ok) return;
  std::int32_t w = -7, h = -7, d = -7;
  EXPECT_TRUE(picker.GetProperty(qv::kInfoWidth, w));
  EXPECT_TRUE(picker.GetProperty(qv::kInfoHeight, h));
  EXPECT_TRUE(picker.GetProperty(qv::kInfoDepth, d));
  EXPECT_EQ(w, e.width);
  EXPECT_EQ(h, e.height);
  EXPECT_EQ(d, e.depth);
}

TEST(BmpInfoPicker, FieldsAndFailures) {
  Bytes ba = Bmp(640, 480, 24);
  ba[1] = 'A';
  struct Row {
    const char* what;
    Bytes bytes;
    Expect expect;
  } rows[] = {
      {"plain", Bmp(640, 480, 24), {true, 640, 480, 24}},
      {"top-down keeps its negative height", Bmp(1024, -768, 32), {true, 1024, -768, 32}},
      {"1 bpp", Bmp(1, 1, 1), {true, 1, 1, 1}},
      {"largest width as stored", Bmp(INT_MAX, 1, 8), {true, INT_MAX, 1, 8}},
      {"BA signature", ba, {false, 0, 0, 0}},
      {"13 bytes", Cut(Bmp(1, 1, 8), 13), {false, 0, 0, 0}},
      {"information header cut at 53", Cut(Bmp(1, 1, 8), 53), {false, 0, 0, 0}},
      {"core header, file ends after it", OsTwoBmp(640, 480, 24), {true, 640, 480, 24}},
      {"core header followed by pixels", Padded(OsTwoBmp(3, 2, 8), 80, 0xEE), {true, 3, 2, 8}},
      {"core header cut", Cut(OsTwoBmp(3, 2, 8), 25), {false, 0, 0, 0}},
      {"info header size 40 cut at 26", Cut(Bmp(3, 2, 8), 26), {false, 0, 0, 0}},
  };
  qv::BmpInfoPicker picker;
  for (const Row& r : rows) CheckRead(picker, r.bytes, r.expect, r.what);
}

TEST(GifSummaryInfoPicker, DepthIsTheGlobalTableSizeFieldPlusOne) {
  Bytes notGif = Gif(1, 1, 0);
  notGif[2] = 'X';
  Bytes oldVersion = Gif(320, 200, 0x83);
  oldVersion[4] = '7';
  struct Row {
    const char* what;
    Bytes bytes;
    Expect expect;
  } rows[] = {
      {"packed 0x00", Gif(100, 50, 0x00), {true, 100, 50, 1}},
      {"packed 0xF7", Gif(100, 50, 0xF7), {true, 100, 50, 8}},
      {"table flag clear, size field 3", Gif(65535, 2, 0x03), {true, 65535, 2, 4}},
      {"87a is not checked", oldVersion, {true, 320, 200, 4}},
      {"GIX", notGif, {false, 0, 0, 0}},
      {"12 bytes", Cut(Gif(1, 1, 0), 12), {false, 0, 0, 0}},
  };
  qv::GifSummaryInfoPicker picker;
  for (const Row& r : rows) CheckRead(picker, r.bytes, r.expect, r.what);
}

TEST(PCXSummaryInfoPicker, WindowAndDepth) {
  Bytes badMagic = Pcx(0, 0, 9, 9, 8, 1);
  badMagic[0] = 0x0B;
  struct Row {
    const char* what;
    Bytes bytes;
    Expect expect;
  } rows[] = {
      {"640 x 480", Pcx(0, 0, 639, 479, 8, 1), {true, 640, 480, 8}},
      {"offset window", Pcx(10, 20, 10, 29, 1, 1), {true, 1, 10, 1}},
      {"inverted window", Pcx(100, 100, 10, 100, 8, 1), {true, -89, 1, 8}},
      {"three planes of 8 bits", Pcx(0, 0, 15, 15, 8, 3), {true, 16, 16, 24}},
      {"four planes of 1 bit", Pcx(0, 0, 15, 15, 1, 4), {true, 16, 16, 4}},
      {"plane count 0 counts as one", Pcx(0, 0, 15, 15, 8, 0), {true, 16, 16, 8}},
      {"first byte 0x0B", badMagic, {false, 0, 0, 0}},
      {"127 bytes", Cut(Pcx(0, 0, 1, 1, 8, 1), 127), {false, 0, 0, 0}},
  };
  qv::PCXSummaryInfoPicker picker;
  for (const Row& r : rows) CheckRead(picker, r.bytes, r.expect, r.what);
}

TEST(TGASummaryInfoPicker, AnyEighteenBytes) {
  struct Row {
    const char* what;
    Bytes bytes;
    Expect expect;
  } rows[] = {
      {"32-bit", Tga(800, 600, 32), {true, 800, 600, 32}},
      {"zeros", Bytes(18, 0), {true, 0, 0, 0}},
      {"depth byte 200 is signed", Tga(1, 1, 200), {true, 1, 1, -56}},
      {"17 bytes", Cut(Tga(1, 1, 24), 17), {false, 0, 0, 0}},
  };
  qv::TGASummaryInfoPicker picker;
  for (const Row& r : rows) CheckRead(picker, r.bytes, r.expect, r.what);
}

TEST(SummaryInfoPicker, ExtensionsAreMatchedLowerCasedAfterTheLastDot) {
  qv::JpgSummaryInfoPicker jpg;
  qv::BmpInfoPicker bmp;
  jpg.InitExtensions();
  bmp.InitExtensions();
  struct Row {
    const char* path;
    bool jpgMatches, bmpMatches;
  } rows[] = {
      {"C:\\pics\\Photo.JPG", true, false},
      {"C:\\pics\\photo.jpeg", true, false},
      {"C:\\my.pics\\photo", false, false},
      {"/home/u/my.pics/photo", false, false},
      {"C:\\pics\\archive.jpg.bmp", false, true},
      {"C:\\pics\\x.DiB", false, true},
      {"C:\\pics\\x.jpg ", false, false},
      {"C:\\pics\\x.", false, false},
      {"photo", false, false},
      {"", false, false},
      {nullptr, false, false},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(jpg.MatchExtension(r.path), r.jpgMatches) << (r.path ? r.path : "(null)");
    EXPECT_EQ(bmp.MatchExtension(r.path), r.bmpMatches) << (r.path ? r.path : "(null)");
  }
}

TEST(SummaryInfoPicker, PropertiesOnlyAfterASuccessfulReadAndOneLogLinePerRefusal) {
  qv::BmpInfoPicker picker;
  std::int32_t v = 5;
  {
    qvtest::LogCapture log;
    EXPECT_FALSE(picker.GetProperty(qv::kInfoHeight, v));
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_EQ(log.lines()[0].rfind("error filename: BmpInfoPicker.cpp  line: ", 0), 0u);
  }
  Bytes good = Bmp(2, 3, 4);
  qv::MemoryByteSource goodSource(good.data(), good.size());
  ASSERT_TRUE(picker.ReadHeaderFrom(goodSource));
  {
    qvtest::LogCapture log;
    EXPECT_FALSE(picker.GetProperty(304, v));
    EXPECT_FALSE(picker.GetProperty(300, v));
    EXPECT_EQ(v, 5);
    EXPECT_TRUE(log.lines().empty());
  }
  // A failed read forgets the earlier success.
  Bytes bad = Cut(good, 20);
  qv::MemoryByteSource badSource(bad.data(), bad.size());
  EXPECT_FALSE(picker.ReadHeaderFrom(badSource));
  qvtest::LogCapture log;
  EXPECT_FALSE(picker.GetProperty(qv::kInfoWidth, v));
  EXPECT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(v, 5);
  EXPECT_FALSE(picker.ReadHeader("/nonexistent/folder/x.bmp"));
  EXPECT_EQ(picker.state(), qv::SummaryInfoPicker::kReadStarted);
}

TEST(GetImageInfo, FirstMatchingReaderDecidesAndFailuresLeaveHeightAndDepth) {
  qv::InitInfoPickers();
  const auto& list = qv::InfoPickers();
  ASSERT_EQ(list.size(), 5u);
  std::vector<std::string> firstExtensions;
  for (const auto& p : list) firstExtensions.push_back(p->extensions().front());
  EXPECT_EQ(firstExtensions, (std::vector<std::string>{"bmp", "jpg", "gif", "tga", "pcx"}));
  qv::InitInfoPickers();
  EXPECT_EQ(qv::InfoPickers().size(), 5u);

  qvtest::TempDir dir;
  Bytes ba = Bmp(640, 480, 24);
  ba[1] = 'A';
  struct Row {
    std::string name;
    Bytes bytes;
    std::int32_t width, height, depth;
  } rows[] = {
      {"a.BMP", Bmp(640, -480, 8), 640, -480, 8},
      {"b.dib", Bmp(3, 4, 1), 3, 4, 1},
      {"c.gif", Gif(10, 20, 0xF7), 10, 20, 8},
      {"d.tga", Tga(7, 9, 32), 7, 9, 32},
      {"e.pcx", Pcx(0, 0, 639, 479, 8, 1), 640, 480, 8},
      {"f.bmp", ba, 0, -1, -2},
      // A GIF named .bmp: only the BMP reader is asked.
      {"g.bmp", Gif(10, 20, 0), 0, -1, -2},
      {"h.png", Bmp(1, 1, 1), 0, -1, -2},
      {"i.tif", Bmp(1, 1, 1), 0, -1, -2},
      {"j.emf", Bmp(1, 1, 1), 0, -1, -2},
      {"my.pics/photo", Bmp(1, 1, 1), 0, -1, -2},
  };
  for (const Row& r : rows) {
    std::string path = dir.Write(r.name, r.bytes);
    std::int32_t w = 99, h = -1, d = -2;
    qv::GetImageInfo(path.c_str(), w, h, d);
    EXPECT_EQ(w, r.width) << r.name;
    EXPECT_EQ(h, r.height) << r.name;
    EXPECT_EQ(d, r.depth) << r.name;
  }
  std::int32_t w = 99, h = -1, d = -2;
  qv::GetImageInfo(dir.Path("missing.jpg").c_str(), w, h, d);
  EXPECT_EQ(w, 0);
  EXPECT_EQ(h, -1);
  qv::FreeInfoPickers();
  EXPECT_TRUE(qv::InfoPickers().empty());
}

}  // namespace

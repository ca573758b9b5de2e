#include <gtest/gtest.h>

#include <string>

#include "imageinfo/ByteSource.h"
#include "imageinfo/JpgSummaryInfoPicker.h"
#include "tests/imageinfo/ImageInfoTestSupport.h"

namespace {

using qvtest::Append;
using qvtest::AppendBE16;
using qvtest::AppendText;
using qvtest::Bytes;

// Segment builders; each appends one marker with its bytes.
void Soi(Bytes& b) { Append(b, {0xFF, 0xD8}); }

void Jfif(Bytes& b, int thumbW = 0, int thumbH = 0) {
  Append(b, {0xFF, 0xE0});
  AppendBE16(b, 16 + 3 * thumbW * thumbH);
  AppendText(b, "JFIF");
  Append(b, {0, 1, 2, 1, 0, 72, 0, 96, thumbW, thumbH});
  // The thumbnail bytes hold a fake frame header that must not be found.
  for (int i = 0; i < 3 * thumbW * thumbH; ++i) b.push_back(i % 3 == 0 ? 0xFF : 0xC0);
}

// A JFIF extension segment laid out like a JFIF header (RGB thumbnail of 0 x 0), so that only
// its identifier tells it apart.
void Jfxx(Bytes& b) {
  Append(b, {0xFF, 0xE0});
  AppendBE16(b, 16);
  AppendText(b, "JFXX");
  Append(b, {0, 0x13, 0, 0, 0, 72, 0, 72, 0, 0});
}

void Segment(Bytes& b, int code, const Bytes& payload) {
  Append(b, {0xFF, code});
  AppendBE16(b, static_cast<unsigned>(payload.size() + 2));
  b.insert(b.end(), payload.begin(), payload.end());
}

void Dqt(Bytes& b, bool sixteenBit) {
  Bytes p;
  Append(p, {sixteenBit ? 0x10 : 0x00});
  // Table entries full of 0xFF: read as table bytes, never as markers.
  p.resize(sixteenBit ? 129 : 65, 0xFF);
  Segment(b, 0xDB, p);
}

void Dht(Bytes& b) {
  Bytes p = {0x00, 0, 1, 2};  // one table: one code of 2 bits, two of 3 bits
  p.resize(17, 0);
  Append(p, {0xFF, 0xD9, 0xFF});
  Segment(b, 0xC4, p);
}

void Sof(Bytes& b, int code, unsigned width, unsigned height, int components) {
  Bytes p;
  Append(p, {8, int(height >> 8), int(height & 0xFF), int(width >> 8), int(width & 0xFF),
             components});
  for (int c = 1; c <= components; ++c) Append(p, {c, c == 1 ? 0x22 : 0x11, c == 1 ? 0 : 1});
  Segment(b, code, p);
}

void Sos(Bytes& b, int components) {
  Bytes p;
  Append(p, {components});
  for (int c = 1; c <= components; ++c) Append(p, {c, 0x00});
  Append(p, {0, 63, 0});
  Segment(b, 0xDA, p);
  Append(b, {0x12, 0x34, 0xFF, 0x00, 0xFF, 0xD9});
}

Bytes Baseline(unsigned width, unsigned height, int sofCode = 0xC0, int components = 3) {
  Bytes b;
  Soi(b);
  Jfif(b);
  Dqt(b, false);
  Sof(b, sofCode, width, height, components);
  Dht(b);
  Sos(b, components);
  return b;
}

struct Result {
  bool ok;
  std::int32_t width, height;
};

Result Walk(const Bytes& bytes, qv::JpgSummaryInfoPicker& picker) {
  qv::MemoryByteSource source(bytes.data(), bytes.size());
  Result r{picker.ReadHeaderFrom(source), 0, 0};
  if (r.ok) {
    picker.GetProperty(qv::kInfoWidth, r.width);
    picker.GetProperty(qv::kInfoHeight, r.height);
    std::int32_t depth = 0;
    EXPECT_TRUE(picker.GetProperty(qv::kInfoDepth, depth));
    EXPECT_EQ(depth, 24);
  }
  return r;
}

Bytes Build(std::initializer_list<void (*)(Bytes&)> steps) {
  Bytes b;
  for (auto step : steps) step(b);
  return b;
}

TEST(JpgSummaryInfoPicker, MarkerWalk) {
  Bytes exif;  // APP1 whose payload holds a thumbnail JPEG of 160 x 120
  Soi(exif);
  {
    Bytes payload;
    AppendText(payload, "Exif");
    Append(payload, {0, 0});
    Bytes thumb;
    Soi(thumb);
    Sof(thumb, 0xC0, 160, 120, 3);
    Sos(thumb, 3);
    payload.insert(payload.end(), thumb.begin(), thumb.end());
    Segment(exif, 0xE1, payload);
    Bytes rest = Baseline(4000, 3000);
    exif.insert(exif.end(), rest.begin() + 2, rest.end());
  }
  Bytes jfxxFirst;
  Soi(jfxxFirst);
  Jfxx(jfxxFirst);
  Jfif(jfxxFirst);
  Sof(jfxxFirst, 0xC0, 10, 10, 3);
  Sos(jfxxFirst, 3);

  Bytes sixteenBitTables;
  Soi(sixteenBitTables);
  Dqt(sixteenBitTables, true);
  Dqt(sixteenBitTables, false);
  Sof(sixteenBitTables, 0xC1, 1234, 567, 3);
  Sos(sixteenBitTables, 3);

  Bytes thumbnail;
  Soi(thumbnail);
  Jfif(thumbnail, 2, 3);
  Sof(thumbnail, 0xC0, 33, 44, 1);
  Sos(thumbnail, 1);

  Bytes noScan = Baseline(800, 600);
  noScan.resize(noScan.size() - 20);  // inside the scan header
  Bytes noFrame = Build({Soi, [](Bytes& b) { Jfif(b); }, [](Bytes& b) { Sos(b, 3); }});

  Bytes twoFrames;
  Soi(twoFrames);
  Sof(twoFrames, 0xC2, 100, 200, 3);
  Sof(twoFrames, 0xC0, 300, 400, 3);
  Sos(twoFrames, 3);

  // Fill bytes before a code, garbage between segments, stand-alone markers (RSTn, TEM, DAC
  // whose payload is searched for 0xFF) on the way.
  Bytes noisy = {0x00, 0x17, 0xFF, 0xD8, 0xFF, 0xFF, 0xFF, 0xD0, 0x55, 0xFF, 0x01,
                 0xFF, 0xCC, 0x00, 0x04, 0x11, 0x22};
  Sof(noisy, 0xCF, 64, 48, 3);
  Append(noisy, {0xFF, 0xDD, 0x00, 0x04, 0x00, 0x10});
  Append(noisy, {0xFF, 0xDF, 0x00, 0x03, 0x11});
  Append(noisy, {0xFF, 0xDC, 0x00, 0x04, 0x01, 0xE0});
  Segment(noisy, 0xFE, Bytes{'h', 'i', 0xFF, 0xC0});
  Sos(noisy, 3);

  Bytes zeroComponents = Baseline(8, 8);
  Bytes restartCut = {0xFF, 0xD8, 0xFF, 0xDD, 0x00, 0x04, 0x00};
  Bytes appLengthOne = {0xFF, 0xD8, 0xFF, 0xE1, 0x00, 0x01};
  Sof(appLengthOne, 0xC0, 5, 6, 3);
  Sos(appLengthOne, 3);
  Bytes appPastEnd = {0xFF, 0xD8, 0xFF, 0xE1, 0x01, 0x00, 0xFF, 0xC0};
  Bytes dhtCut = Build({Soi, Dht});
  dhtCut.resize(dhtCut.size() - 1);
  Bytes app0Identifier = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'X'};
  Bytes app0Short = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x02, 'J', 'F', 'I', 'F'};
  Bytes app0Cut = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F', 0, 1, 2, 1, 0, 72};
  Bytes thumbBeyondEnd = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',
                          'I',  'F',  0,    1,    2,    1,    0,    72,
                          0,    72,   9,    9,    0xFF, 0xC0};

  struct Row {
    const char* what;
    Bytes bytes;
    Result expect;
  } rows[] = {
      {"baseline JFIF 800 x 600", Baseline(800, 600), {true, 800, 600}},
      {"progressive", Baseline(800, 600, 0xC2), {true, 800, 600}},
      {"greyscale", Baseline(800, 600, 0xC0, 1), {true, 800, 600}},
      {"lossless, largest size", Baseline(65535, 65535, 0xC3), {true, 65535, 65535}},
      {"EXIF thumbnail is skipped", exif, {true, 4000, 3000}},
      {"JFXX as first APP0 fails", jfxxFirst, {false, 0, 0}},
      {"16-bit quantisation table", sixteenBitTables, {true, 1234, 567}},
      {"JFIF thumbnail is read over", thumbnail, {true, 33, 44}},
      {"first frame counts", twoFrames, {true, 100, 200}},
      {"fill bytes and stand-alone markers", noisy, {true, 64, 48}},
      {"end of file inside the scan header", noScan, {false, 0, 0}},
      {"scan without frame", noFrame, {false, 0, 0}},
      {"no marker at all", Bytes(100, 0x00), {false, 0, 0}},
      {"empty", Bytes{}, {false, 0, 0}},
      {"only 0xFF", Bytes(10, 0xFF), {false, 0, 0}},
      {"end of file before SOS", Build({Soi, [](Bytes& b) { Sof(b, 0xC0, 9, 9, 3); }}),
       {false, 0, 0}},
      {"zero components", zeroComponents, {false, 0, 0}},
      {"restart interval cut", restartCut, {false, 0, 0}},
      {"APP1 length shorter than its own field", appLengthOne, {true, 5, 6}},
      {"APP1 longer than the file", appPastEnd, {false, 0, 0}},
      {"Huffman symbols cut", dhtCut, {false, 0, 0}},
      {"APP0 other identifier", app0Identifier, {false, 0, 0}},
      {"APP0 length 2", app0Short, {false, 0, 0}},
      {"APP0 densities cut", app0Cut, {false, 0, 0}},
      {"thumbnail past the end", thumbBeyondEnd, {false, 0, 0}},
  };
  // Component count 0 in the frame header of the baseline file.
  for (std::size_t i = 0; i + 9 < rows[16].bytes.size(); ++i)
    if (rows[16].bytes[i] == 0xFF && rows[16].bytes[i + 1] == 0xC0) rows[16].bytes[i + 9] = 0;

  qv::JpgSummaryInfoPicker picker;
  for (const Row& r : rows) {
    SCOPED_TRACE(r.what);
    Result got = Walk(r.bytes, picker);
    ASSERT_EQ(got.ok, r.expect.ok);
    EXPECT_EQ(got.width, r.expect.width);
    EXPECT_EQ(got.height, r.expect.height);
  }
}

}  // namespace

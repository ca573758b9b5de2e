// The resource reader and the read-back check on the fake system files of the test build, and
// on damaged copies of them.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "boot/BootPalette.h"
#include "changers/PEChecksum.h"
#include "changers/PEResources.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Fixture(const std::string& name) {
  std::ifstream in(std::string(QV_FIXTURE_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::uint32_t U32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

TEST(FixtureKernels, CarryTheBootBitmapsThePaletteAndAValidChecksum) {
  struct Row {
    const char* file;
    std::size_t palette;
    std::uint32_t width1, height1;
  } rows[] = {
      {"ntoskrnl.exe", qv::kBootPaletteOffset1, 640, 480},
      {"ntoskrnl-second.exe", qv::kBootPaletteOffset2, 640, 480},
      {"ntoskrnl-elsewhere.exe", 0x1234F, 640, 480},
      {"ntoskrnl-nopalette.exe", qv::kBootPaletteNotFound, 640, 480},
      {"otherkernel.exe", qv::kBootPaletteOffset1, 320, 200},
  };
  for (const Row& r : rows) {
    Bytes image = Fixture(r.file);
    ASSERT_GT(image.size(), 0x6A000u) << r.file;
    EXPECT_EQ(qv::FindBootPalette(image.data(), image.size()), r.palette) << r.file;
    std::uint32_t stored = 0, computed = 0;
    ASSERT_TRUE(qv::ReadPEChecksums(image.data(), image.size(), &stored, &computed)) << r.file;
    EXPECT_EQ(stored, computed) << r.file;
    for (std::uint16_t id : {1, 10, 11, 12}) {
      std::vector<qv::PEResourceData> found;
      ASSERT_TRUE(qv::FindPEResource(image.data(), image.size(), qv::kResourceTypeBitmap, id,
                                     &found)) << r.file;
      ASSERT_EQ(found.size(), 1u) << r.file << " bitmap " << id;
      EXPECT_EQ(found[0].language, 0x0407) << r.file;
      ASSERT_GE(found[0].size, 40u + 64u);
      EXPECT_EQ(U32(found[0].data), 40u);
      if (id == 1) {
        EXPECT_EQ(U32(found[0].data + 4), r.width1) << r.file;
        EXPECT_EQ(U32(found[0].data + 8), r.height1) << r.file;
        EXPECT_EQ(found[0].size, 40 + 64 + r.width1 / 2 * r.height1) << r.file;
      }
    }
  }
}

TEST(FixtureLogonPrograms, NamedTypesAndNumbersAreFound) {
  struct Row {
    const char* file;
    qv::PEResourceId type, name;
    bool present;
  } rows[] = {
      {"logonui.exe", "UIFILE", 1000, true},
      {"logonui.exe", "uifile", 1000, true},  // type names compare without regard to case
      {"logonui.exe", "UIFIL", 1000, false},
      {"logonui.exe", "UIFILE", 1001, false},
      {"logonui.exe", qv::kResourceTypeBitmap, 100, true},
      {"logonui.exe", qv::kResourceTypeBitmap, 119, true},
      {"logonui.exe", qv::kResourceTypeBitmap, 114, false},
      {"logonui.exe", 6, 7, true},  // the string block of ids 96..111
      {"nouifile.exe", "UIFILE", 1000, false},
      {"nouifile.exe", qv::kResourceTypeBitmap, 100, true},
      {"ntoskrnl.exe", "UIFILE", 1000, false},
      {"ntoskrnl.exe", 2, "1", false},  // a text never matches a number
  };
  for (const Row& r : rows) {
    Bytes image = Fixture(r.file);
    std::vector<qv::PEResourceData> found;
    ASSERT_TRUE(qv::FindPEResource(image.data(), image.size(), r.type, r.name, &found));
    EXPECT_EQ(!found.empty(), r.present) << r.file << " " << r.type.name << r.type.id << "/"
                                        << r.name.id;
  }
}

TEST(CheckPatchedImage, RefusesWhatALoaderWouldRefuse) {
  const Bytes good = Fixture("ntoskrnl.exe");
  std::vector<qv::PEResourceData> bitmap1;
  ASSERT_TRUE(qv::FindPEResource(good.data(), good.size(), 2, 1, &bitmap1));
  ASSERT_EQ(bitmap1.size(), 1u);
  const Bytes bitmap1Bytes(bitmap1[0].data, bitmap1[0].data + bitmap1[0].size);
  std::size_t nt = 0;
  ASSERT_TRUE(qv::FindNtHeaders(good.data(), good.size(), &nt));
  const std::size_t bitmapOffset = static_cast<std::size_t>(bitmap1[0].data - good.data());

  struct Row {
    const char* what;
    void (*damage)(Bytes&, std::size_t nt, std::size_t bitmap);
    std::vector<qv::ExpectedResource> expected;
    bool passes;
  } rows[] = {
      {"untouched", [](Bytes&, std::size_t, std::size_t) {}, {{2, 1, 0x0407, bitmap1Bytes}}, true},
      {"any content will do", [](Bytes&, std::size_t, std::size_t) {},
       {{2, 10, 0x0407, {}, 40}}, true},
      {"stale checksum", [](Bytes& b, std::size_t nt, std::size_t) { b[nt + 88] ^= 1; },
       {}, false},
      {"pixel changed without a new checksum",
       [](Bytes& b, std::size_t, std::size_t at) { b[at + 200] ^= 0xFF; }, {}, false},
      {"cut short", [](Bytes& b, std::size_t, std::size_t) { b.resize(b.size() / 2); }, {}, false},
      {"no PE signature", [](Bytes& b, std::size_t nt, std::size_t) { b[nt] = 'X'; }, {}, false},
      {"wrong language", [](Bytes&, std::size_t, std::size_t) {}, {{2, 1, 0x0409, {}}}, false},
      {"missing resource", [](Bytes&, std::size_t, std::size_t) {}, {{2, 13, 0x0407, {}}}, false},
      {"other bytes", [](Bytes&, std::size_t, std::size_t) {}, {{2, 1, 0x0407, Bytes(104, 0)}},
       false},
  };
  for (const Row& r : rows) {
    Bytes image = good;
    r.damage(image, nt, bitmapOffset);
    std::string why;
    EXPECT_EQ(qv::CheckPatchedImage(image.data(), image.size(), r.expected, &why), r.passes)
        << r.what << ": " << why;
    if (!r.passes) EXPECT_FALSE(why.empty()) << r.what;
  }
}

// Every prefix of a real image is read without going past its end (ASan watches the reads).
TEST(FindPEResource, TruncatedImagesNeverReadPastTheEnd) {
  const Bytes good = Fixture("logonui.exe");
  for (std::size_t size = 0; size < good.size(); size += 997) {
    Bytes cut(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(size));
    cut.shrink_to_fit();
    std::vector<qv::PEResourceData> found;
    if (qv::FindPEResource(cut.data(), cut.size(), "UIFILE", 1000, &found))
      for (const auto& d : found) EXPECT_LE(d.data + d.size, cut.data() + cut.size());
  }
}

}  // namespace

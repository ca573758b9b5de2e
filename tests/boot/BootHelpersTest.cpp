#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "boot/BootPalette.h"
#include "changers/PEChecksum.h"
#include "tests/support/TempDir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void Put(Bytes& image, std::size_t at, const std::array<std::uint8_t, 64>& palette) {
  std::copy(palette.begin(), palette.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
}

TEST(BootPalette, FixedOffsetsFirstThenTheWholeFile) {
  const auto& def = qv::DefaultBootPalette();
  auto nearly = def;
  nearly[63] = 1;  // a reserved byte that is not 0
  const std::size_t big = 500000;
  struct Row {
    const char* what;
    std::size_t size;
    std::vector<std::size_t> at;  // where the default palette is put, in this order
    std::size_t nearlyAt;         // where an almost-default palette is put (0: none)
    std::size_t expect;
  } rows[] = {
      {"first fixed offset", big, {qv::kBootPaletteOffset1}, 0, qv::kBootPaletteOffset1},
      {"second fixed offset", big, {qv::kBootPaletteOffset2}, 0, qv::kBootPaletteOffset2},
      {"first wins over an earlier copy", big, {1000, qv::kBootPaletteOffset1}, 0,
       qv::kBootPaletteOffset1},
      {"second wins over an earlier copy", big, {7, qv::kBootPaletteOffset2}, 0,
       qv::kBootPaletteOffset2},
      {"searched: first match", big, {300001, 123457}, 0, 123457},
      {"searched: near the end", big, {big - 64}, 0, big - 64},
      {"searched: at 0 in a small file", 64, {0}, 0, 0},
      {"fixed offset holding almost the palette", big, {200}, qv::kBootPaletteOffset1, 200},
      {"nothing", big, {}, 4096, qv::kBootPaletteNotFound},
      {"fixed offset cut by the end of file", qv::kBootPaletteOffset1 + 63, {}, 0,
       qv::kBootPaletteNotFound},
      {"empty", 0, {}, 0, qv::kBootPaletteNotFound},
  };
  for (const Row& r : rows) {
    Bytes image(r.size, 0);
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<std::uint8_t>(i * 7);
    if (r.nearlyAt) Put(image, r.nearlyAt, nearly);
    for (std::size_t at : r.at) Put(image, at, def);
    EXPECT_EQ(qv::FindBootPalette(image.data(), image.size()), r.expect) << r.what;

    std::array<std::uint8_t, 64> fresh{};
    for (std::size_t i = 0; i < fresh.size(); ++i) fresh[i] = static_cast<std::uint8_t>(200 + i);
    Bytes patched = image;
    EXPECT_EQ(qv::PatchBootPalette(patched, fresh), r.expect != qv::kBootPaletteNotFound);
    if (r.expect == qv::kBootPaletteNotFound) {
      EXPECT_EQ(patched, image) << r.what;
      continue;
    }
    // Exactly those 64 bytes changed.
    for (std::size_t i = 0; i < 64; ++i) image[r.expect + i] = fresh[i];
    EXPECT_EQ(patched, image) << r.what;
  }
}

// A minimal PE image: "MZ", the NT header offset at 60, "PE\0\0", a 248-byte header, a body.
Bytes FakeImage(std::size_t ntOffset, std::size_t size, std::uint32_t storedSum) {
  Bytes b(size, 0);
  for (std::size_t i = 0; i < size; ++i) b[i] = static_cast<std::uint8_t>((i * 131) ^ (i >> 8));
  b[0] = 'M';
  b[1] = 'Z';
  for (int k = 0; k < 4; ++k) b[60 + k] = static_cast<std::uint8_t>(ntOffset >> (8 * k));
  b[ntOffset] = 'P';
  b[ntOffset + 1] = 'E';
  b[ntOffset + 2] = 0;
  b[ntOffset + 3] = 0;
  for (int k = 0; k < 4; ++k)
    b[ntOffset + 88 + k] = static_cast<std::uint8_t>(storedSum >> (8 * k));
  return b;
}

TEST(PEChecksum, NotAnImage) {
  Bytes good = FakeImage(128, 1024, 0);
  Bytes badSignature = good;
  badSignature[130] = 'X';
  Bytes offsetPastEnd = FakeImage(128, 1024, 0);
  offsetPastEnd[61] = 0x7F;
  struct Row {
    const char* what;
    Bytes bytes;
  } rows[] = {
      {"shorter than the offset field", Bytes(63, 0)},
      {"signature", badSignature},
      {"offset past the end", offsetPastEnd},
      {"headers cut", Bytes(good.begin(), good.begin() + 128 + 247)},
  };
  for (const Row& r : rows) {
    std::uint32_t header = 1, computed = 1;
    EXPECT_FALSE(qv::ReadPEChecksums(r.bytes.data(), r.bytes.size(), &header, &computed)) << r.what;
    Bytes copy = r.bytes;
    EXPECT_FALSE(qv::RepairPEChecksum(copy)) << r.what;
    EXPECT_EQ(copy, r.bytes) << r.what;
  }
  Bytes exact(good.begin(), good.begin() + 128 + 248);
  std::uint32_t header = 0, computed = 0;
  EXPECT_TRUE(qv::ReadPEChecksums(exact.data(), exact.size(), &header, &computed));
}

TEST(PEChecksum, RepairMakesTheSumsAgreeWhateverWasStored) {
  struct Row {
    std::size_t ntOffset, size;
    std::uint32_t stored;
  } rows[] = {{128, 4096, 0}, {128, 4097, 0xFFFFFFFF}, {0x80, 70001, 0x12345678},
              {232, 600, 0xDEADBEEF}};
  for (const Row& r : rows) {
    Bytes image = FakeImage(r.ntOffset, r.size, r.stored);
    std::uint32_t header = 0, computed = 0;
    ASSERT_TRUE(qv::ReadPEChecksums(image.data(), image.size(), &header, &computed));
    EXPECT_EQ(header, r.stored);
    // The stored value never changes what the bytes call for.
    Bytes other = FakeImage(r.ntOffset, r.size, r.stored ^ 0x0F0F0F0F);
    std::uint32_t h2 = 0, c2 = 0;
    ASSERT_TRUE(qv::ReadPEChecksums(other.data(), other.size(), &h2, &c2));
    EXPECT_EQ(c2, computed) << r.size;
    ASSERT_TRUE(qv::RepairPEChecksum(image));
    ASSERT_TRUE(qv::ReadPEChecksums(image.data(), image.size(), &header, &computed));
    EXPECT_EQ(header, computed) << r.size;
    // Only the field changed.
    Bytes expect = FakeImage(r.ntOffset, r.size, computed);
    EXPECT_EQ(image, expect);
  }
}

TEST(PEChecksum, AFieldAcrossTwoWordsCannotBeRepaired) {
  Bytes image = FakeImage(129, 5001, 0xFFFF0001);
  Bytes before = image;
  EXPECT_FALSE(qv::RepairPEChecksum(image));
  EXPECT_EQ(image, before);
}

// pefile (Debian's python3-pefile) is the independent reference on real PE files.
std::string PefileChecksum(const std::string& path) {
  std::string command = std::string(QV_PYTHON) +
                        " -c \"import pefile,sys; pe=pefile.PE(sys.argv[1], fast_load=True); "
                        "print(pe.generate_checksum())\" '" + path + "' 2>&1";
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) out.append(buffer, n);
    pclose(pipe);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

TEST(PEChecksum, AgreesWithPefileOnRealImages) {
  std::vector<std::string> files;
  for (const char* dir : {"/usr/lib/i386-linux-gnu/wine/i386-windows",
                          "/usr/lib/x86_64-linux-gnu/wine/x86_64-windows"}) {
    for (const char* name : {"imagehlp.dll", "ntoskrnl.exe", "notepad.exe", "version.dll"}) {
      std::string path = std::string(dir) + "/" + name;
      if (std::filesystem::exists(path)) files.push_back(path);
    }
  }
  // The 64-bit set always comes with wine64; the 32-bit set only where wine32 could be installed.
  const bool wine32 = std::filesystem::exists("/usr/lib/i386-linux-gnu/wine/i386-windows");
  ASSERT_GE(files.size(), wine32 ? 8u : 4u) << "Wine's PE files missing";
  qvtest::TempDir dir;
  for (const std::string& path : files) {
    std::string bytes = qvtest::TempDir::Slurp(path);
    Bytes image(bytes.begin(), bytes.end());
    std::uint32_t header = 0, computed = 0;
    ASSERT_TRUE(qv::ReadPEChecksums(image.data(), image.size(), &header, &computed)) << path;
    EXPECT_EQ(std::to_string(computed), PefileChecksum(path)) << path;
    // Repaired and written out, pefile finds the same sum stored as computed.
    ASSERT_TRUE(qv::RepairPEChecksum(image));
    std::string copy = dir.Write("copy.bin", image);
    EXPECT_EQ(std::to_string(computed), PefileChecksum(copy)) << path;
  }
}

}  // namespace

// The archive's byte forms: integers, the three string length forms, and the 16-bit string form.
#include <gtest/gtest.h>

#include <string>

#include "core/Archive.h"

namespace {

std::string Hex(const std::string& bytes, std::size_t limit = 16) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
    unsigned char c = static_cast<unsigned char>(bytes[i]);
    if (i) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

TEST(ArchiveWriter, StringLengthPrefixesInAllThreeForms) {
  struct Row {
    std::size_t length;
    const char* prefix;
  } rows[] = {
      {0, "00"},          {3, "03"},          {254, "FE"},
      {255, "FF FF 00"},  {300, "FF 2C 01"},  {65533, "FF FD FF"},
      {65534, "FF FF FF FE FF 00 00"},        {70000, "FF FF FF 70 11 01 00"},
  };
  for (const Row& r : rows) {
    qv::ArchiveWriter w;
    std::string text(r.length, 'q');
    w.WriteString(text);
    const std::size_t prefixSize = (std::string(r.prefix).size() + 1) / 3;
    ASSERT_EQ(w.Bytes().size(), prefixSize + r.length) << r.length;
    EXPECT_EQ(Hex(w.Bytes(), prefixSize), r.prefix) << r.length;
    EXPECT_EQ(w.Bytes().substr(prefixSize), text) << r.length;

    qv::ArchiveReader reader(w.Bytes().data(), w.Bytes().size());
    std::string back;
    ASSERT_TRUE(reader.ReadString(back)) << r.length;
    EXPECT_EQ(back, text);
    EXPECT_EQ(reader.Remaining(), 0u);
  }
}

TEST(ArchiveWriter, IntegersAreLittleEndianWithoutPadding) {
  qv::ArchiveWriter w;
  w.WriteUInt8(0xAB);
  w.WriteUInt16(0x1234);
  w.WriteInt32(-2);
  w.WriteUInt32(0x00010400);
  EXPECT_EQ(Hex(w.Bytes(), 99), "AB 34 12 FE FF FF FF 00 04 01 00");
}

std::string SixteenBit(const std::string& prefix, const std::string& text) {
  std::string bytes = prefix;
  for (char c : text) bytes += std::string{c, '\0'};
  return bytes;
}

TEST(ArchiveReader, ReadsTheSixteenBitCharacterForm) {
  struct Row {
    const char* name;
    std::string bytes;
    std::string text;
  } rows[] = {
      {"short", SixteenBit(std::string("\xFF\xFE\xFF\x03", 4), "abc"), "abc"},
      {"empty", std::string("\xFF\xFE\xFF\x00", 4), ""},
      {"16-bit length", SixteenBit(std::string("\xFF\xFE\xFF\xFF\x2C\x01", 6), std::string(300, 'x')),
       std::string(300, 'x')},
      {"32-bit length",
       SixteenBit(std::string("\xFF\xFE\xFF\xFF\xFF\xFF\x03\x00\x00\x00", 10), "xyz"), "xyz"},
      {"latin", std::string("\xFF\xFE\xFF\x02\xE9\x00z\x00", 8), "\xE9z"},
      {"unmapped", std::string("\xFF\xFE\xFF\x01\x2D\x4E", 6), "?"},
  };
  for (const Row& r : rows) {
    qv::ArchiveReader reader(r.bytes.data(), r.bytes.size());
    std::string text = "unchanged";
    ASSERT_TRUE(reader.ReadString(text)) << r.name;
    EXPECT_EQ(text, r.text) << r.name;
    EXPECT_EQ(reader.Remaining(), 0u) << r.name;
  }
}

TEST(ArchiveReader, ShortOrImpossibleInputFailsAndLeavesTheValueAlone) {
  const std::string cases[] = {
      std::string("", 0),
      std::string("\x05" "abc", 4),                        // 5 bytes announced, 3 there
      std::string("\xFF\x2C", 2),                          // length cut
      std::string("\xFF\xFF\xFF\xFF\xFF\xFF\xFF" "abc", 10),  // 4 GiB announced
      std::string("\xFF\xFE\xFF\x02" "a\0b", 7),           // 16-bit characters cut
      std::string("\xFF\xFE\xFF\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 10),  // 2 x 2 GiB characters
  };
  for (const std::string& bytes : cases) {
    qv::ArchiveReader reader(bytes.data(), bytes.size());
    std::string text = "unchanged";
    EXPECT_FALSE(reader.ReadString(text)) << bytes.size();
    EXPECT_EQ(text, "unchanged");
    EXPECT_TRUE(reader.Failed());
    int32_t v = 7;
    EXPECT_FALSE(reader.ReadInt32(v));  // a failed reader stays failed
    EXPECT_EQ(v, 7);
  }
}

TEST(ArchiveReader, SkipAndIntegersStopAtTheEnd) {
  const char data[] = {1, 0, 2, 0, 0, 0, 9};
  qv::ArchiveReader reader(data, sizeof data);
  uint16_t a = 0;
  int32_t b = 0;
  uint8_t c = 0;
  EXPECT_TRUE(reader.ReadUInt16(a));
  EXPECT_TRUE(reader.ReadInt32(b));
  EXPECT_EQ(a, 1);
  EXPECT_EQ(b, 2);
  EXPECT_FALSE(reader.Skip(2));
  EXPECT_FALSE(reader.ReadUInt8(c));
  EXPECT_EQ(c, 0);
}

}  // namespace

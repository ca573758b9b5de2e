#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/ByteReader.h"

namespace {

using platform::ByteReader;

const uint8_t kBytes[] = {0x01, 0x02, 0x03, 0x04, 0xFE, 0xFF, 0x80, 0x00, 0x00, 0x80};

TEST(ByteReader, SequentialFieldsInBothByteOrders) {
  ByteReader r(kBytes, sizeof kBytes);
  EXPECT_EQ(r.U16LE(), 0x0201);
  EXPECT_EQ(r.U16BE(), 0x0304);
  EXPECT_EQ(r.I16LE(), -2);
  EXPECT_EQ(r.position(), 6u);
  ASSERT_TRUE(r.Seek(0));
  EXPECT_EQ(r.U32LE(), 0x04030201u);
  ASSERT_TRUE(r.Seek(0));
  EXPECT_EQ(r.U32BE(), 0x01020304u);
  ASSERT_TRUE(r.Seek(6));
  EXPECT_EQ(r.I32LE(), std::numeric_limits<int32_t>::min() + 0x80);
  EXPECT_EQ(r.remaining(), 0u);
  EXPECT_FALSE(r.failed());
}

TEST(ByteReader, AFieldCutByTheEndReadsZeroMovesToTheEndAndFailsForGood) {
  for (size_t left = 1; left < 4; ++left) {
    ByteReader r(kBytes, sizeof kBytes);
    ASSERT_TRUE(r.Skip(sizeof kBytes - left));
    EXPECT_EQ(r.U32LE(), 0u) << left;
    EXPECT_TRUE(r.failed());
    EXPECT_EQ(r.position(), sizeof kBytes);
    // Going back reads again, but the failure of the group stays visible.
    ASSERT_TRUE(r.Seek(0));
    EXPECT_EQ(r.U8(), 0x01);
    EXPECT_TRUE(r.failed());
  }
  ByteReader empty(nullptr, 0);
  EXPECT_EQ(empty.U8(), 0);
  EXPECT_EQ(empty.U16BE(), 0);
  EXPECT_TRUE(empty.failed());
}

TEST(ByteReader, SkipSeekAndBytesRefuseToPassTheEnd) {
  ByteReader r(kBytes, sizeof kBytes);
  EXPECT_TRUE(r.Seek(sizeof kBytes));
  EXPECT_FALSE(r.failed());
  EXPECT_FALSE(r.Seek(sizeof kBytes + 1));
  EXPECT_TRUE(r.failed());

  ByteReader s(kBytes, sizeof kBytes);
  EXPECT_FALSE(s.Skip(std::numeric_limits<size_t>::max()));
  EXPECT_EQ(s.position(), sizeof kBytes);
  EXPECT_EQ(s.current(), kBytes + sizeof kBytes);

  ByteReader b(kBytes, 3);
  uint8_t out[4] = {9, 9, 9, 9};
  EXPECT_FALSE(b.Bytes(out, 4));
  EXPECT_EQ(out[0] | out[1] | out[2] | out[3], 0);
  EXPECT_TRUE(b.failed());
}

TEST(ByteReader, FieldsAtAnOffsetReadZeroUnlessWhollyInside) {
  const ByteReader r(kBytes, sizeof kBytes);
  EXPECT_EQ(r.U8At(9), 0x80);
  EXPECT_EQ(r.U16LEAt(8), 0x8000);
  EXPECT_EQ(r.I16LEAt(4), -2);
  EXPECT_EQ(r.U32LEAt(6), 0x80000080u);
  EXPECT_EQ(r.I32LEAt(0), 0x04030201);
  EXPECT_EQ(r.U16LEAt(9), 0);
  EXPECT_EQ(r.U32LEAt(7), 0u);
  EXPECT_EQ(r.U8At(sizeof kBytes), 0);
  // Offsets near the top of size_t must not wrap round into the buffer.
  const size_t huge = std::numeric_limits<size_t>::max() - 1;
  EXPECT_FALSE(r.Has(huge, 4));
  EXPECT_FALSE(r.Has(4, huge));
  EXPECT_EQ(r.U32LEAt(huge), 0u);
  EXPECT_TRUE(r.Has(sizeof kBytes, 0));
  EXPECT_EQ(r.At(huge), kBytes + sizeof kBytes);
  EXPECT_FALSE(r.failed());
}

TEST(ByteReader, LoadHelpersAgreeWithTheReader) {
  EXPECT_EQ(platform::LoadLE16(kBytes + 4), 0xFFFE);
  EXPECT_EQ(platform::LoadBE16(kBytes + 4), 0xFEFF);
  EXPECT_EQ(platform::LoadLE32(kBytes + 2), 0xFFFE0403u);
  EXPECT_EQ(platform::LoadBE32(kBytes + 2), 0x0304FEFFu);
}

}  // namespace

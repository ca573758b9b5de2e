#include <gtest/gtest.h>

#include "core/ProgramVersion.h"

TEST(ProgramVersion, TextFormsByRevision) {
  EXPECT_EQ(qv::VersionText(qv::kProgramVersion), "1.04");
  EXPECT_EQ(qv::VersionText(0x00010401), "1.4.1");
  EXPECT_EQ(qv::VersionText(0x00020105), "2.1.5");
  EXPECT_EQ(qv::VersionText(0x00020500), "2.05");
  EXPECT_EQ(qv::VersionText(0x000A1400), "10.20");
  EXPECT_EQ(qv::VersionText(0xFFFFFFFF), "65535.255.255");
}

#include <gtest/gtest.h>

#include <climits>

#include "core/CommandLine.h"
#include "core/RotationRandom.h"
#include "core/WindowsGeneration.h"
#include "tests/support/LogCapture.h"

namespace {

using qv::StartMode;

TEST(WindowsGeneration, EveryRowOfTheTable) {
  struct Row {
    unsigned long platform, major, minor;
    int generation;
  } rows[] = {
      {1, 4, 0, qv::kWin95},  {1, 4, 10, qv::kWin98},  {1, 4, 90, qv::kWinMe},
      {2, 4, 0, qv::kWinNT4}, {2, 4, 51, qv::kWinNT4}, {2, 5, 0, qv::kWin2000},
      {2, 5, 1, qv::kWinXP},  {2, 5, 2, qv::kWinXP},
  };
  for (const Row& r : rows) {
    qvtest::LogCapture log;
    EXPECT_EQ(qv::WindowsGenerationFromVersion(r.platform, r.major, r.minor), r.generation)
        << r.platform << " " << r.major << "." << r.minor;
    EXPECT_TRUE(log.lines().empty());
  }
}

TEST(WindowsGeneration, AnythingElseIsUnrecognisedAndLogged) {
  struct Row {
    unsigned long platform, major, minor;
  } rows[] = {{1, 4, 3}, {1, 5, 0}, {2, 6, 1}, {2, 3, 51}, {0, 3, 10}, {3, 5, 1}};
  for (const Row& r : rows) {
    qvtest::LogCapture log;
    EXPECT_EQ(qv::WindowsGenerationFromVersion(r.platform, r.major, r.minor), qv::kWinUnknown);
    ASSERT_EQ(log.lines().size(), 1u);
    EXPECT_NE(log.lines()[0].find("WindowsGeneration.cpp"), std::string::npos);
  }
}

TEST(CommandLine, SwitchesAreFoundAnywhereInAnyCase) {
  struct Row {
    const char* line;
    StartMode mode;
  } rows[] = {
      {"", StartMode::Normal},
      {"/s something", StartMode::Normal},
      {"-r", StartMode::StartupRun},
      {"startup -R now", StartMode::StartupRun},
      {"x-ry", StartMode::StartupRun},
      {"-U", StartMode::Undo},
      {"-r -u", StartMode::Undo},
      {"-R-U", StartMode::Undo},
      {"- r", StartMode::Normal},
  };
  for (const Row& r : rows) EXPECT_EQ(qv::ParseStartMode(r.line), r.mode) << r.line;
}

TEST(RotationRandom, SeedAddsTicksDatePartsAndYear) {
  platform::LocalTime t{2004, 3, 14, 15, 9, 26, 0};
  EXPECT_EQ(qv::RotationSeed(1000, t), 1000u + 100u * (3 + 14 + 15 + 9 + 26) + 2004u);
}

TEST(RotationRandom, IndexAlwaysLiesInRange) {
  EXPECT_EQ(qv::RandomIndexFrom(12345, 99, 0), 0);
  EXPECT_EQ(qv::RandomIndexFrom(12345, 99, -3), 0);
  EXPECT_EQ(qv::RandomIndexFrom(10, 5, 7), 15 % 7);
  // A sum with the top bit set counts by its magnitude: -(0x80000010) wraps to 0x7FFFFFF0.
  EXPECT_EQ(qv::RandomIndexFrom(0x10, 0x80000000u, 1000), static_cast<int>(0x7FFFFFF0u % 1000));
  // INT_MIN has no positive counterpart in 32 bits; the result must still be in range.
  int r = qv::RandomIndexFrom(INT_MIN, 0, 7);
  EXPECT_GE(r, 0);
  EXPECT_LT(r, 7);
  for (int n = 1; n < 50; ++n) {
    int v = qv::RandomIndex(n);
    EXPECT_GE(v, 0);
    EXPECT_LT(v, n);
  }
}

}  // namespace

// The benchmarks' stage trace: nothing without QV_STAGE_TRACE, else one line per stage with the
// time on the system clock, moved back by the milliseconds the caller gives.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/StageTrace.h"

namespace {

long long UnixNanoseconds() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

struct Line {
  std::string name;
  long long at;
};

std::vector<Line> ReadTrace(const std::string& path) {
  std::vector<Line> lines;
  std::ifstream in(path);
  Line line;
  while (in >> line.name >> line.at) lines.push_back(line);
  return lines;
}

TEST(StageTrace, AppendsEachStageWithItsTimeAndMovesBackByTheGivenMilliseconds) {
  const std::string path = ::testing::TempDir() + "qv-stage-trace.txt";
  std::remove(path.c_str());
  // The file is read once, at the first stage of the run; this is the program's first.
  ASSERT_EQ(setenv("QV_STAGE_TRACE", path.c_str(), 1), 0);
  const long long before = UnixNanoseconds();
  platform::TraceStage("key", 250);
  platform::TraceStage("hotkey");
  platform::TraceStage("decoded");
  const long long after = UnixNanoseconds();
  // A later change of the variable does not move the trace elsewhere.
  ASSERT_EQ(setenv("QV_STAGE_TRACE", (path + ".other").c_str(), 1), 0);
  platform::TraceStage(nullptr);
  platform::TraceStage("named");

  const std::vector<Line> lines = ReadTrace(path);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].name, "key");
  EXPECT_EQ(lines[1].name, "hotkey");
  EXPECT_EQ(lines[2].name, "decoded");
  EXPECT_EQ(lines[3].name, "named");
  EXPECT_GE(lines[0].at, before - 250000000LL);
  EXPECT_LE(lines[0].at, after - 250000000LL);
  for (std::size_t i = 1; i < lines.size(); ++i) {
    EXPECT_GE(lines[i].at, before);
    EXPECT_GE(lines[i].at, lines[i - 1].at);
  }
  EXPECT_LE(lines[2].at, after);
  std::ifstream other(path + ".other");
  EXPECT_FALSE(other.good());
  std::remove(path.c_str());
}

}  // namespace

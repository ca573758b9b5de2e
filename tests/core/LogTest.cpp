#include <gtest/gtest.h>

#include <string>

#include "platform/Log.h"
#include "tests/support/LogCapture.h"

namespace {

TEST(Log, WritesBothErrorFormsWithTwoBlanksBeforeLine) {
  qvtest::LogCapture log;
  qv::LogError("BaseSetupData.cpp", 42);
  qv::LogError("CxImage.cpp", 7, "Not a JPEG file");
  qv::LogText("Different Version");
  ASSERT_EQ(log.lines().size(), 3u);
  EXPECT_EQ(log.lines()[0], "error filename: BaseSetupData.cpp  line: 42\r\n");
  EXPECT_EQ(log.lines()[1], "error filename: CxImage.cpp  line: 7 ; error msg: Not a JPEG file\r\n");
  EXPECT_EQ(log.lines()[2], "Different Version\r\n");
}

TEST(Log, MacroNamesTheSourceFileWithoutItsFolder) {
  qvtest::LogCapture log;
  int line = __LINE__ + 1;
  QV_LOG_MSG("why");
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_EQ(log.lines()[0],
            "error filename: LogTest.cpp  line: " + std::to_string(line) + " ; error msg: why\r\n");
  EXPECT_STREQ(qv::SourceName("a\\b/c\\Pivora.cpp"), "Pivora.cpp");
}

TEST(Log, TextLongerThanTheBufferIsCutAtItsEnd) {
  qvtest::LogCapture log;
  std::string longMessage(5000, 'x');
  qv::LogError("Watch.cpp", 1, longMessage.c_str());
  qv::LogText(longMessage.c_str());
  ASSERT_EQ(log.lines().size(), 2u);
  for (const std::string& line : log.lines()) {
    // 511 characters of text fit the 512-byte buffer, then the line end.
    EXPECT_EQ(line.size(), qv::kLogBufferSize - 1 + 2);
    EXPECT_EQ(line.substr(line.size() - 2), "\r\n");
  }
  EXPECT_EQ(log.lines()[0].rfind("error filename: Watch.cpp  line: 1 ; error msg: xxx", 0), 0u);
}

TEST(Log, NullTextsAreWrittenAsEmpty) {
  qvtest::LogCapture log;
  qv::LogError(nullptr, 3, nullptr);
  qv::LogText(nullptr);
  ASSERT_EQ(log.lines().size(), 2u);
  EXPECT_EQ(log.lines()[0], "error filename:   line: 3 ; error msg: \r\n");
  EXPECT_EQ(log.lines()[1], "\r\n");
}

}  // namespace

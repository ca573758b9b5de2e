#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "help/HelpFile.h"
#include "platform/SystemFunctions.h"
#include "tests/support/LogCapture.h"
#include "tests/support/WinTestSupport.h"

namespace {

// The topics the pages and dialogs ask for, and the contents.
const char* const kTopics[] = {
    "boot_screen_changer.htm", "wallpaper_changer.htm", "ie_skin_changer.htm",
    "logon_screen_changer.htm", "screen_saver_changer.htm", "preferences.htm",
    "boot_ini_setup.htm", nullptr,
};

std::string WindowText(HWND window) {
  char text[256] = "";
  GetWindowTextA(window, text, sizeof text);
  return text;
}

TEST(WinHelp, TargetsNameTheFileAndTopic) {
  EXPECT_EQ(qv::HelpTarget("C:\\Q\\Quorvex.chm", "preferences.htm"),
            "C:\\Q\\Quorvex.chm::/preferences.htm");
  EXPECT_EQ(qv::HelpTarget("C:\\Q\\Quorvex.chm", nullptr), "C:\\Q\\Quorvex.chm");
  EXPECT_EQ(qv::HelpTarget("C:\\Q\\Quorvex.chm", ""), "C:\\Q\\Quorvex.chm");
  std::string path = qv::HelpFilePath();
  EXPECT_EQ(path, qvtest::TestFolder() + "Quorvex.chm");
}

TEST(WinHelp, TheBuiltFileOpensInTheViewerOnEveryTopic) {
  std::string file = qvtest::DistFolder() + "Quorvex.chm";
  ASSERT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
  for (const char* topic : kTopics) {
    HWND viewer = qv::OpenHelpFile(nullptr, file, topic);
    ASSERT_NE(viewer, nullptr) << (topic ? topic : "contents");
    EXPECT_TRUE(IsWindow(viewer));
    EXPECT_EQ(WindowText(viewer), "Quorvex Help") << (topic ? topic : "contents");
  }
  qv::CloseHelp();
}

// 95 and NT 4.0 without the HTML Help add-on.
TEST(WinHelp, WithoutTheViewerNothingOpensAndItIsLogged) {
  platform::SetSystemFunctionMissing(platform::SystemFunction::kHtmlHelpA, true);
  const std::string file = qvtest::DistFolder() + "Quorvex.chm";  // one that opens with a viewer
  ASSERT_NE(GetFileAttributesA(file.c_str()), INVALID_FILE_ATTRIBUTES) << file;
  qvtest::LogCapture log;
  EXPECT_EQ(qv::OpenHelpFile(nullptr, file, nullptr), nullptr);
  EXPECT_FALSE(log.lines().empty());
  platform::SetSystemFunctionMissing(platform::SystemFunction::kHtmlHelpA, false);
  qv::CloseHelp();
}

TEST(WinHelp, AMissingFileOpensNothingAndIsLogged) {
  qvtest::LogCapture log;
  EXPECT_EQ(qv::OpenHelpFile(nullptr, qvtest::TestFolder() + "NoSuchHelp.chm", nullptr), nullptr);
  EXPECT_FALSE(log.lines().empty());
  qv::CloseHelp();
}

}  // namespace

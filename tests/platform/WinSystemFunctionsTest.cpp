// The table of system functions taken at run time, and the fallbacks of the callers for the
// Windows versions that lack a function.
#include "platform/SystemFunctions.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include <string>

#include "platform/Platform.h"
#include "platform/ShellFolders.h"

namespace {

TEST(SystemFunctions, EveryRowOfTheTableIsFoundInTheTestSystem) {
  for (int i = 0; i < static_cast<int>(platform::SystemFunction::kCount); ++i) {
    auto which = static_cast<platform::SystemFunction>(i);
    EXPECT_NE(platform::SystemFunctionAddress(which), nullptr)
        << platform::SystemFunctionLibrary(which) << " " << platform::SystemFunctionName(which);
  }
  // The address is the library's own export.
  HMODULE shell = GetModuleHandleA("shell32.dll");
  ASSERT_NE(shell, nullptr);
  EXPECT_EQ(platform::SystemFunctionAddress(platform::SystemFunction::kSHGetSpecialFolderPathA),
            reinterpret_cast<void*>(GetProcAddress(shell, "SHGetSpecialFolderPathA")));
  EXPECT_EQ(platform::SystemFunctionAddress(platform::SystemFunction::kCount), nullptr);
}

// Windows NT 4.0 and 95 without the desktop update have no SHGetSpecialFolderPathA: the folders
// come from their item lists instead, the same paths.
TEST(SystemFunctions, ShellFoldersWithoutSHGetSpecialFolderPath) {
  const std::string appData = platform::AppDataFolder();
  const std::string windows = platform::ShellFolderPath(CSIDL_WINDOWS);
  ASSERT_FALSE(appData.empty());
  platform::SetSystemFunctionMissing(platform::SystemFunction::kSHGetSpecialFolderPathA, true);
  EXPECT_EQ(platform::SystemFunctionAddress(platform::SystemFunction::kSHGetSpecialFolderPathA),
            nullptr);
  EXPECT_EQ(platform::AppDataFolder(), appData);
  EXPECT_EQ(platform::ShellFolderPath(CSIDL_WINDOWS), windows);
  EXPECT_EQ(platform::ShellFolderPath(0x7F), "");  // no such folder
  platform::SetSystemFunctionMissing(platform::SystemFunction::kSHGetSpecialFolderPathA, false);
  EXPECT_EQ(platform::AppDataFolder(), appData);
}

}  // namespace

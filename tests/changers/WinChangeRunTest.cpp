// The program's start-up run puts a wallpaper, a toolbar skin and a screen saver in effect: the
// lists of a prepared settings file go through the real changers, as at system start.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "changers/ImagePreparation.h"
#include "core/PVoptionData.h"
#include "platform/Platform.h"
#include "platform/SafeFile.h"
#include "tests/changers/WinChangerSupport.h"
#include "tests/support/WinTestSupport.h"

namespace {

std::string SettingsPath() {
  return qv::SettingsFilePath(platform::AppDataFolder(), "Quorvex", qvtest::DistFolder() + "Quorvex.exe");
}

TEST(ChangeRun, StartupRunPutsEachListsFirstItemInEffect) {
  const std::string jpeg = qvtest::MachinePicture(QV_JPEG_PICTURE);
  const std::string gif = qvtest::MachinePicture(QV_GIF_PICTURE);
  ASSERT_FALSE(jpeg.empty()) << "no JPEG picture at " << QV_JPEG_PICTURE;
  ASSERT_FALSE(gif.empty()) << "no GIF picture at " << QV_GIF_PICTURE;
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + "qv run saver folder";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string saver = folder + "\\Run Saver.scr";
  ASSERT_TRUE(CopyFileA((qvtest::TestFolder() + "qv_fake_saver_named.exe").c_str(), saver.c_str(), FALSE));
  char shortSaver[MAX_PATH] = {};
  ASSERT_GT(GetShortPathNameA(saver.c_str(), shortSaver, MAX_PATH), 0u);

  const std::string wallpaper = qv::ChangerOutputPath("qvwallpa.bmp");
  const std::string skin = qv::ChangerOutputPath("qvieskin.bmp");
  DeleteFileA(wallpaper.c_str());
  DeleteFileA(skin.c_str());
  ASSERT_TRUE(qvtest::CreateUserKey("Software\\Microsoft\\Internet Explorer\\Toolbar"));
  qvtest::DeleteUserValue("Software\\Microsoft\\Internet Explorer\\Toolbar", "BackBitmap");
  SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, 0, nullptr, 0);

  qv::PVoptionData s;
  s.agentEnabled = 0;
  s.bootScreen.enabled = 0;
  s.logonScreen.enabled = 0;
  qv::SetupItem picture;
  picture.path = jpeg;
  s.wallpaper.items = {picture};
  s.wallpaper.positionMode = 3;
  qv::SetupItem toolbar;
  toolbar.path = gif;
  s.ieSkin.items = {toolbar};
  s.screenSaver.items = {{"Run Saver", saver}};
  s.screenSaver.timeoutMinutes = 7;
  const std::string path = SettingsPath();
  ASSERT_TRUE(platform::ReplaceFileContent(path, s.SaveToBytes(), std::string()));

  qvtest::ChildProcess run;
  ASSERT_TRUE(run.Start(qvtest::DistFolder() + "Quorvex.exe", "-r"));
  ASSERT_TRUE(run.WaitForExit(60000));

  char current[MAX_PATH] = {};
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0);
  EXPECT_EQ(qvtest::LowerCase(wallpaper), qvtest::LowerCase(current));
  int width = 0, height = 0, bpp = 0;
  ASSERT_TRUE(qvtest::BmpFileSize(wallpaper, &width, &height, &bpp));
  ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN)) << "the test display is 1024 x 768";
  EXPECT_EQ(1024, width) << "the list's position mode fits the 158 x 107 picture to the screen";
  EXPECT_EQ(693, height);
  EXPECT_EQ("0", qvtest::ReadUserValue("Control Panel\\Desktop", "WallpaperStyle").Text());

  EXPECT_EQ(skin, qvtest::ReadUserValue("Software\\Microsoft\\Internet Explorer\\Toolbar",
                                        "BackBitmap").Text());
  EXPECT_TRUE(qvtest::FileExists(skin));

  EXPECT_EQ(shortSaver, qvtest::ReadUserValue("Control Panel\\desktop", "SCRNSAVE.EXE").Text());
  UINT seconds = 0;
  SystemParametersInfoA(SPI_GETSCREENSAVETIMEOUT, 0, &seconds, 0);
  EXPECT_EQ(420u, seconds);

  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(path, bytes));
  qv::PVoptionData after;
  ASSERT_TRUE(after.LoadFromBytes(bytes.data(), bytes.size()));
  EXPECT_EQ(0, after.wallpaper.currentIndex);
  EXPECT_EQ(0, after.ieSkin.currentIndex);
  EXPECT_EQ(0, after.screenSaver.currentIndex);
  DeleteFileA(path.c_str());
}

}  // namespace

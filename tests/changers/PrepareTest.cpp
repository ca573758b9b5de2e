// Picture preparation: format from the file name, the fitting rules and the wallpaper placement, the output and
// temporary names, the whole-file read and the replacing save.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "changers/ImagePreparation.h"
#include "changers/WallpaperPlacement.h"
#include "image/CxImage.h"
#include "tests/changers/PrepareTestSupport.h"
#include "tests/support/LogCapture.h"
#include "tests/support/TempDir.h"

namespace {

using qv::Size;
using qvtest::Fake;
using qvtest::FakeEnvironment;

struct FormatCase {
  const char* path;
  bool allowSys;
  bool ok;
  uint32_t type;
};

TEST(FormatTypeFromPath, ExtensionAfterTheLastDotAnywhere) {
  const FormatCase cases[] = {
      {"C:\\Pics\\Photo.JPEG", false, true, CXIMAGE_FORMAT_JPG},
      {"C:\\Pics\\a.jpg", false, true, CXIMAGE_FORMAT_JPG},
      {"a.BMP", false, true, CXIMAGE_FORMAT_BMP},
      {"a.dib", false, true, CXIMAGE_FORMAT_BMP},
      {"a.Rle", false, true, CXIMAGE_FORMAT_BMP},
      {"a.gif", false, true, CXIMAGE_FORMAT_GIF},
      {"a.png", false, true, CXIMAGE_FORMAT_PNG},
      {"a.tiff", false, true, CXIMAGE_FORMAT_TIF},
      {"a.TIF", false, true, CXIMAGE_FORMAT_TIF},
      {"a.tga", false, true, CXIMAGE_FORMAT_TGA},
      {"a.pcx", false, true, CXIMAGE_FORMAT_PCX},
      {"a.wbmp", false, true, CXIMAGE_FORMAT_WBMP},
      {"a.wmf", false, true, CXIMAGE_FORMAT_WMF},
      {"a.EMF", false, true, CXIMAGE_FORMAT_WMF},
      {"C:\\Pics\\logo.sys", true, true, CXIMAGE_FORMAT_BMP},
      {"C:\\Pics\\logo.SYS", false, false, 0},
      {"C:\\Pics\\icon.ico", true, false, 0},          // icons are never a changer's picture
      {"C:\\My.Pictures\\photo", false, false, 0},     // extension "pictures\photo"
      {"C:\\My.Pictures\\photo.png.txt", false, false, 0},
      {"C:\\Pics\\photo", false, false, 0},
      {"C:\\Pics\\photo.", false, false, 0},
      {"", false, false, 0},
  };
  for (const FormatCase& c : cases) {
    uint32_t type = 12345;
    EXPECT_EQ(qv::FormatTypeFromPath(c.path, c.allowSys, &type), c.ok) << c.path;
    if (c.ok) EXPECT_EQ(type, c.type) << c.path;
  }
}

struct FitCase {
  int screenW, screenH, w, h;
  Size want;
};

TEST(FitToScreen, OneSideMeetsTheScreenAndTheRestIsTruncated) {
  const FitCase cases[] = {
      {1024, 768, 800, 800, {768, 768}},
      {1024, 768, 1600, 900, {1024, 576}},
      {1024, 768, 100, 50, {1024, 512}},     // enlarged
      {1280, 1024, 640, 480, {1280, 960}},
      {1024, 768, 1024, 768, {1024, 768}},
      {1024, 768, 1000, 333, {1024, 340}},    // 340.992 truncated, not rounded
      {1024, 768, 333, 1000, {255, 768}},     // 255.744
      {1920, 1080, 6000, 4000, {1620, 1080}},
      {0, 0, 640, 480, {640, 480}},           // no screen known: nothing to fit to
      {1024, 768, 0, 480, {0, 480}},
  };
  for (const FitCase& c : cases)
    EXPECT_EQ(qv::FitToScreenSize(c.screenW, c.screenH, c.w, c.h), c.want)
        << c.w << "x" << c.h << " on " << c.screenW << "x" << c.screenH;
}

TEST(FitToScreen, UsesTheScreenOfTheEnvironment) {
  FakeEnvironment env;
  Fake().screenWidth = 1280;
  Fake().screenHeight = 1024;
  EXPECT_EQ(qv::FitToScreen(640, 480), (Size{1280, 960}));
}

struct BoxCase {
  int a, b, w, h;
  Size want;
};

TEST(FitIntoBox, ShrinksIntoTheBoxNeverEnlarges) {
  FakeEnvironment env;  // the screen for -1 is 1024 x 768
  const BoxCase cases[] = {
      {200, 150, 1600, 1200, {200, 150}},
      {200, 150, 100, 50, {100, 50}},
      {200, 150, 150, 1200, {18, 150}},     // 18.75
      {200, 150, 2000, 100, {200, 10}},
      {200, 150, 201, 10, {200, 9}},        // 9.95
      {200, 150, 200, 150, {200, 150}},
      {0, 150, 1600, 1200, {1600, 1200}},
      {200, 0, 1600, 1200, {1600, 1200}},
      {-1, -1, 100, 50, {1024, 512}},       // the screen: enlarged like FitToScreen
      {-1, 150, 800, 800, {768, 768}},
  };
  for (const BoxCase& c : cases)
    EXPECT_EQ(qv::FitIntoBox(c.a, c.b, c.w, c.h), c.want)
        << c.w << "x" << c.h << " into " << c.a << "x" << c.b;
}

struct OutputCase {
  const char* appData;
  const char* windows;
  const char* want;
};

TEST(ChangerOutputPath, ApplicationDataOrTheWindowsDirectory) {
  const OutputCase cases[] = {
      {"C:\\Users\\a\\Application Data", "C:\\WINDOWS",
       "C:\\Users\\a\\Application Data\\Quorvex\\qvwallpa.bmp"},
      {"C:\\Data\\", "C:\\WINDOWS", "C:\\Data\\Quorvex\\qvwallpa.bmp"},
      {"", "C:\\WINDOWS", "C:\\WINDOWS\\qvwallpa.bmp"},
      {"", "C:\\", "C:\\qvwallpa.bmp"},
      {"", "", "qvwallpa.bmp"},
  };
  for (const OutputCase& c : cases)
    EXPECT_EQ(qv::ChangerOutputPathIn(c.appData, c.windows, "qvwallpa.bmp"), c.want) << c.appData;
}

TEST(ChangerOutputPath, MakesTheProductFolderOrFallsBackToWindows) {
  qvtest::TempDir dir;
  FakeEnvironment env;
  Fake().appData = dir.Path("appdata");
  Fake().windows = dir.Path("windows");
  // The application-data folder itself is missing: its product folder cannot be made.
  EXPECT_EQ(qv::ChangerOutputPath("qvieskin.bmp"), dir.Path("windows") + "\\qvieskin.bmp");

  dir.Write("appdata/keep", "");
  EXPECT_EQ(qv::ChangerOutputPath("qvieskin.bmp"), dir.Path("appdata") + "\\Quorvex\\qvieskin.bmp");
  EXPECT_TRUE(std::filesystem::is_directory(dir.Path("appdata/Quorvex")));

  Fake().appData.clear();  // the shell names no application-data folder
  EXPECT_EQ(qv::ChangerOutputPath("qvwallpa.bmp"), dir.Path("windows") + "\\qvwallpa.bmp");
}

TEST(MakeTempFileName, TicksModulo1377ThenTheFirstFreeNumber) {
  FakeEnvironment env;
  Fake().temp = "C:\\TEMP";
  Fake().ticks = 1377u * 3 + 42;
  EXPECT_EQ(qv::MakeTempFileName(), "C:\\TEMP\\420.bin");

  Fake().existing = {"C:\\TEMP\\420.bin", "C:\\TEMP\\421.bin"};
  EXPECT_EQ(qv::MakeTempFileName(), "C:\\TEMP\\422.bin");

  Fake().temp = "C:\\TEMP\\";
  Fake().ticks = 0xFFFFFFFFu;  // 4294967295 mod 1377 = 1020: unsigned, never negative
  Fake().existing.clear();
  EXPECT_EQ(qv::MakeTempFileName(), "C:\\TEMP\\10200.bin");

  Fake().temp.clear();
  Fake().ticks = 5;
  EXPECT_EQ(qv::MakeTempFileName(), "50.bin");
}

TEST(MakeTempFileName, AllTakenGivesEmptyAndLogs) {
  FakeEnvironment env;
  Fake().temp = "C:\\TEMP";
  Fake().allExist = true;
  qvtest::LogCapture log;
  EXPECT_EQ(qv::MakeTempFileName(), "");
  ASSERT_EQ(log.lines().size(), 1u);
  EXPECT_NE(log.lines()[0].find("ImagePreparation.cpp"), std::string::npos);
}

TEST(ReadWholeFile, EveryByteOrALoggedFailure) {
  qvtest::TempDir dir;
  const std::string bytes("MZ\0\0\x90\xff tail", 11);
  const std::string path = dir.Write("kernel.exe", bytes);
  std::vector<uint8_t> read;
  ASSERT_TRUE(qv::ReadWholeFile(path, &read));
  EXPECT_EQ(std::string(read.begin(), read.end()), bytes);

  ASSERT_TRUE(qv::ReadWholeFile(dir.Write("empty", ""), &read));
  EXPECT_TRUE(read.empty());

  qvtest::LogCapture log;
  read.assign(3, 1);
  EXPECT_FALSE(qv::ReadWholeFile(dir.Path("missing"), &read));
  EXPECT_TRUE(read.empty());
  EXPECT_EQ(log.lines().size(), 1u);
}

TEST(SaveBitmapReplacing, WritesTheWholeBitmap) {
  qvtest::TempDir dir;
  CxImage image = qvtest::Picture24(640, 480, {{1, 2, 3}, {200, 100, 50}});
  const std::string path = dir.Write("qvwallpa.bmp", "the previous wallpaper");
  ASSERT_TRUE(qv::SaveBitmapReplacing(image, path));
  const std::string written = qvtest::TempDir::Slurp(path);
  ASSERT_EQ(written.size(), 14u + 40u + 640u * 480u * 3u);
  EXPECT_EQ(written.substr(0, 2), "BM");
  EXPECT_EQ(static_cast<uint8_t>(written[10]), 54);
  CxImage back(path.c_str(), CXIMAGE_FORMAT_BMP);
  ASSERT_TRUE(back.IsValid());
  EXPECT_EQ(back.GetWidth(), 640u);
  EXPECT_FALSE(std::filesystem::exists(path + ".new"));
}

TEST(SaveBitmapReplacing, AFailureKeepsThePreviousFile) {
  qvtest::TempDir dir;
  const std::string path = dir.Write("qvwallpa.bmp", "the previous wallpaper");
  CxImage invalid;  // nothing to encode: a direct save would already have emptied the file
  EXPECT_FALSE(qv::SaveBitmapReplacing(invalid, path));
  EXPECT_EQ(qvtest::TempDir::Slurp(path), "the previous wallpaper");

  // The new file cannot be written beside the old one.
  std::filesystem::create_directories(path + ".new");
  CxImage image = qvtest::Picture24(8, 8, {{9, 9, 9}});
  EXPECT_FALSE(qv::SaveBitmapReplacing(image, path));
  EXPECT_EQ(qvtest::TempDir::Slurp(path), "the previous wallpaper");

  EXPECT_FALSE(qv::SaveBitmapReplacing(image, dir.Path("no-such-folder/qvwallpa.bmp")));
  EXPECT_FALSE(qv::SaveBitmapReplacing(image, ""));
}

}  // namespace

TEST(FillScreen, CoversTheScreenAndTheOverflowIsCutEvenly) {
  const struct {
    int screenW, screenH, w, h;
    Size covered;
    int cropLeft, cropTop;
  } cases[] = {
      {1024, 768, 1600, 900, {1365, 768}, 170, 0},   // 16:9 on 4:3: the sides go
      {1024, 768, 900, 1600, {1024, 1820}, 0, 526},  // portrait: top and bottom go
      {1024, 768, 100, 50, {1536, 768}, 256, 0},     // enlarged until it covers
      {1024, 768, 2048, 1536, {1024, 768}, 0, 0},    // the screen's shape: nothing is cut
      {1024, 768, 158, 107, {1134, 768}, 55, 0},     // 1134.05: truncated, still past the screen
      {1920, 1080, 3840, 2161, {1920, 1080}, 0, 0},  // half a row over: never short of the screen
      {0, 0, 640, 480, {640, 480}, 0, 0},            // no screen known: nothing to cover
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.w) + "x" + std::to_string(c.h) + " on " + std::to_string(c.screenW));
    const Size covered = qv::FillScreenSize(c.screenW, c.screenH, c.w, c.h);
    EXPECT_EQ(covered, c.covered);
    const qv::CropOrigin origin = qv::CentredCrop(covered, c.screenW, c.screenH);
    EXPECT_EQ(origin.left, c.cropLeft);
    EXPECT_EQ(origin.top, c.cropTop);
  }
}

TEST(WallpaperPlacement, EachModeScalesAsTheChangerWritesAndTellsTheSystemItsStyle) {
  const struct {
    int mode;
    Size picture;
    int style;
    bool cropped;
  } cases[] = {
      {0, {1600, 900}, qv::kSystemCentred, false},
      {1, {1600, 900}, qv::kSystemTiled, false},
      {2, {1600, 900}, qv::kSystemStretched, false},
      {3, {1024, 576}, qv::kSystemCentred, false},
      {4, {1365, 768}, qv::kSystemCentred, true},
      {5, {1600, 900}, qv::kSystemCentred, false},   // unknown: centred, as it loads
      {-1, {1600, 900}, qv::kSystemCentred, false},
  };
  for (const auto& c : cases) {
    const qv::WallpaperPlacement placed = qv::PlaceWallpaper(c.mode, 1024, 768, 1600, 900);
    EXPECT_EQ(placed.picture, c.picture) << c.mode;
    EXPECT_EQ(placed.systemStyle, c.style) << c.mode;
    EXPECT_EQ(placed.cropped, c.cropped) << c.mode;
  }
  EXPECT_FALSE(qv::PlaceWallpaper(4, 1024, 768, 2048, 1536).cropped) << "the screen's own shape";
}

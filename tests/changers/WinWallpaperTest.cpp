// The wallpaper changer in the test prefix: the values it leaves in the registry, the profile and
// the system, read back from there, with a recording desktop object in place of the system's.
#include <gtest/gtest.h>

#include <windows.h>
#include <wininet.h>  // the desktop object is declared only beside it
#include <shlobj.h>

#include <cstdio>
#include <string>

#include "changers/ChangerReport.h"
#include "changers/ImagePreparation.h"
#include "changers/ModifyWallpaper.h"
#include "image/CxImage.h"
#include "platform/Threads.h"
#include "tests/changers/WinChangerSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::ReadUserValue;

const std::string kDesktop = "Control Panel\\Desktop";
const std::string kLastTheme = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\LastTheme";
const std::string kGeneral = "Software\\Microsoft\\Internet Explorer\\Desktop\\General";

// What the changer told the desktop object.
struct DesktopCalls {
  int created = 0;
  std::wstring wallpaper;
  DWORD optionsSize = 0;
  DWORD style = 99;
  DWORD applyFlags = 0;
  LONG references = 0;
};
DesktopCalls g_calls;

class RecordingDesktop final : public IActiveDesktop {
 public:
  STDMETHODIMP QueryInterface(REFIID, void** out) override {
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++g_calls.references); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = --g_calls.references;
    if (left == 0) delete this;
    return static_cast<ULONG>(left);
  }
  STDMETHODIMP ApplyChanges(DWORD flags) override {
    g_calls.applyFlags = flags;
    return S_OK;
  }
  STDMETHODIMP GetWallpaper(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetWallpaper(PCWSTR path, DWORD) override {
    g_calls.wallpaper = path;
    return S_OK;
  }
  STDMETHODIMP GetWallpaperOptions(LPWALLPAPEROPT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetWallpaperOptions(LPCWALLPAPEROPT options, DWORD) override {
    g_calls.optionsSize = options->dwSize;
    g_calls.style = options->dwStyle;
    return S_OK;
  }
  STDMETHODIMP GetPattern(PWSTR, UINT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetPattern(PCWSTR, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItemOptions(LPCOMPONENTSOPT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP SetDesktopItemOptions(LPCCOMPONENTSOPT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP AddDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP AddDesktopItemWithUI(HWND, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP ModifyDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP RemoveDesktopItem(LPCCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItemCount(int*, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItem(int, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItemByID(ULONG_PTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GenerateDesktopItemHtml(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP AddUrl(HWND, PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
  STDMETHODIMP GetDesktopItemBySource(PCWSTR, LPCOMPONENT, DWORD) override { return E_NOTIMPL; }
};

void* CreateRecordingDesktop() {
  ++g_calls.created;
  g_calls.references = 1;
  return static_cast<IActiveDesktop*>(new RecordingDesktop);
}
void* CreateNoDesktop() {
  ++g_calls.created;
  return nullptr;
}

std::string SystemWallpaper() {
  char current[MAX_PATH] = {};
  SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0);
  return current;
}

std::string ProfileDesktop(const char* key) {
  char text[MAX_PATH] = {};
  GetProfileStringA("Desktop", key, "<none>", text, MAX_PATH);
  return text;
}

std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }

class Wallpaper : public ::testing::Test {
 protected:
  void SetUp() override {
    picture_ = qvtest::MachinePicture(QV_JPEG_PICTURE);
    ASSERT_FALSE(picture_.empty()) << "no JPEG picture at " << QV_JPEG_PICTURE;
    previous_ = qv::SetDesktopObjectCreator(&CreateRecordingDesktop);
    g_calls = DesktopCalls();
    file_ = qv::ChangerOutputPath("qvwallpa.bmp");
    DeleteFileA(file_.c_str());
    ASSERT_TRUE(qvtest::CreateUserKey(kLastTheme));
    for (const char* name : {"WallpaperStyle", "TileWallpaper", "OriginalWallpaper", "ConvertedWallpaper"})
      qvtest::DeleteUserValue(kDesktop, name);
    qvtest::DeleteUserValue(kLastTheme, "Wallpaper");
  }
  void TearDown() override { qv::SetDesktopObjectCreator(previous_); }

  // Every place names the output file with the style; the desktop object was told once.
  void ExpectNamedEverywhere(const char* style, const char* tile) {
    RegValue value = ReadUserValue(kDesktop, "WallpaperStyle");
    EXPECT_EQ(REG_SZ, value.type);
    EXPECT_EQ(std::string(style) + '\0', value.data) << "with its terminating zero";
    EXPECT_EQ(std::string(tile) + '\0', ReadUserValue(kDesktop, "TileWallpaper").data);
    EXPECT_EQ(file_, ProfileDesktop("Wallpaper"));
    EXPECT_EQ(tile, ProfileDesktop("TileWallpaper"));
    EXPECT_EQ(style, ProfileDesktop("WallpaperStyle"));
    EXPECT_EQ(qvtest::LowerCase(file_), qvtest::LowerCase(SystemWallpaper()));
    RegValue theme = ReadUserValue(kLastTheme, "Wallpaper");
    EXPECT_EQ(REG_EXPAND_SZ, theme.type);
    EXPECT_EQ(file_ + '\0', theme.data);
    for (const char* name : {"Wallpaper", "OriginalWallpaper", "ConvertedWallpaper"}) {
      RegValue v = ReadUserValue(kDesktop, name);
      EXPECT_EQ(REG_SZ, v.type) << name;
      EXPECT_EQ(file_ + '\0', v.data) << name;
    }
    EXPECT_EQ(1, g_calls.created);
    EXPECT_EQ(Wide(file_), g_calls.wallpaper);
    EXPECT_EQ(8u, g_calls.optionsSize);
    EXPECT_EQ(static_cast<DWORD>(std::stoi(style)), g_calls.style);
    EXPECT_EQ(7u, g_calls.applyFlags);
    EXPECT_EQ(0, g_calls.references) << "the desktop object is released";
  }

  using RegValue = qvtest::RegValue;
  std::string picture_;
  std::string file_;
  qv::DesktopObjectCreator previous_ = nullptr;
};

TEST_F(Wallpaper, EachModeNamesTheBitmapWithItsStyle) {
  const struct {
    int mode;
    const char* style;
    const char* tile;
  } cases[] = {{0, "0", "0"}, {1, "1", "1"}, {2, "2", "0"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mode);
    g_calls = DesktopCalls();
    DeleteFileA(file_.c_str());
    ASSERT_TRUE(qv::ModifyWallpaper(picture_, c.mode));
    int width = 0, height = 0, bpp = 0;
    ASSERT_TRUE(qvtest::BmpFileSize(file_, &width, &height, &bpp));
    CxImage original;
    ASSERT_TRUE(original.Load(picture_.c_str(), CXIMAGE_FORMAT_JPG));
    EXPECT_EQ(static_cast<int>(original.GetWidth()), width) << "only mode 3 scales";
    EXPECT_EQ(static_cast<int>(original.GetHeight()), height);
    ExpectNamedEverywhere(c.style, c.tile);
  }
}

TEST_F(Wallpaper, FitToScreenScalesTheFileAndIsCentredForTheSystem) {
  ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN)) << "the test display is 1024 x 768";
  ASSERT_EQ(768, GetSystemMetrics(SM_CYSCREEN));
  CxImage original;
  ASSERT_TRUE(original.Load(picture_.c_str(), CXIMAGE_FORMAT_JPG));
  ASSERT_EQ(158u, original.GetWidth()) << "bali.jpg is 158 x 107";
  ASSERT_EQ(107u, original.GetHeight());
  ASSERT_TRUE(qv::ModifyWallpaper(picture_, 3));
  int width = 0, height = 0, bpp = 0;
  ASSERT_TRUE(qvtest::BmpFileSize(file_, &width, &height, &bpp));
  // 107/768 < 158/1024: the width meets the screen, 1024 / 158 * 107 = 693.4...
  EXPECT_EQ(1024, width);
  EXPECT_EQ(693, height);
  ExpectNamedEverywhere("0", "0");
}

// Fill: the file is the screen's size, cut evenly from the picture averaged up until it covers
// the screen (the same bytes as the whole picture resampled and its middle taken), so there are no
// bars and the file's centre is the photo's centre; the system is told to centre it.
TEST_F(Wallpaper, FillScreenWritesTheScreensSizeCutFromTheCoveringPicture) {
  ASSERT_EQ(1024, GetSystemMetrics(SM_CXSCREEN)) << "the test display is 1024 x 768";
  ASSERT_EQ(768, GetSystemMetrics(SM_CYSCREEN));
  const struct {
    std::string path;
    uint32_t type;
    int coverWidth, coverHeight, left, top;
  } photos[] = {
      {picture_, CXIMAGE_FORMAT_JPG, 1134, 768, 55, 0},  // 158 x 107: the sides go
      {qvtest::MachinePicture(QV_PORTRAIT_PICTURE), CXIMAGE_FORMAT_PNG, 1024, 1512, 0, 372},  // 107 x 158
  };
  for (const auto& photo : photos) {
    SCOPED_TRACE(photo.path);
    g_calls = DesktopCalls();
    DeleteFileA(file_.c_str());
    ASSERT_TRUE(qv::ModifyWallpaper(photo.path, 4));
    CxImage written;
    ASSERT_TRUE(written.Load(file_.c_str(), CXIMAGE_FORMAT_BMP));
    ASSERT_EQ(1024u, written.GetWidth());
    ASSERT_EQ(768u, written.GetHeight());
    CxImage reference;
    ASSERT_TRUE(reference.Load(photo.path.c_str(), photo.type));
    ASSERT_TRUE(reference.Resample(photo.coverWidth, photo.coverHeight, 0));
    // Corners, edges and centre: the block's rows count from the bottom in both pictures.
    const int bottom = static_cast<int>(reference.GetHeight()) - 768 - photo.top;
    for (int y : {0, 1, 383, 384, 766, 767}) {
      for (int x : {0, 1, 511, 512, 1022, 1023}) {
        const CxRgbQuad got = written.GetPixelColor(x, y);
        const CxRgbQuad want = reference.GetPixelColor(x + photo.left, y + bottom);
        EXPECT_EQ(want.rgbRed, got.rgbRed) << x << "," << y;
        EXPECT_EQ(want.rgbGreen, got.rgbGreen) << x << "," << y;
        EXPECT_EQ(want.rgbBlue, got.rgbBlue) << x << "," << y;
      }
    }
    ExpectNamedEverywhere("0", "0");
  }
}

TEST_F(Wallpaper, WithoutLastThemeTheThemeValuesStayAloneAndTheChangeSucceeds) {
  qvtest::DeleteUserKey(kLastTheme);
  ASSERT_TRUE(qv::ModifyWallpaper(picture_, 1));
  EXPECT_FALSE(ReadUserValue(kLastTheme, "Wallpaper").exists);
  EXPECT_FALSE(ReadUserValue(kDesktop, "OriginalWallpaper").exists);
  EXPECT_FALSE(ReadUserValue(kDesktop, "ConvertedWallpaper").exists);
  EXPECT_EQ(std::string("1") + '\0', ReadUserValue(kDesktop, "WallpaperStyle").data);
  EXPECT_EQ(qvtest::LowerCase(file_), qvtest::LowerCase(SystemWallpaper()));
  EXPECT_EQ(1, g_calls.created);
}

TEST_F(Wallpaper, WithoutDesktopObjectTheRestStillHappens) {
  qv::SetDesktopObjectCreator(&CreateNoDesktop);
  qvtest::LogCapture log;
  ASSERT_TRUE(qv::ModifyWallpaper(picture_, 2));
  EXPECT_EQ(1, g_calls.created);
  EXPECT_FALSE(log.lines().empty()) << "the missing desktop object is logged";
  EXPECT_EQ(std::string("2") + '\0', ReadUserValue(kDesktop, "WallpaperStyle").data);
  EXPECT_EQ(file_ + '\0', ReadUserValue(kDesktop, "ConvertedWallpaper").data);
  EXPECT_EQ(qvtest::LowerCase(file_), qvtest::LowerCase(SystemWallpaper()));
}

TEST_F(Wallpaper, TheSystemsOwnDesktopObjectNeverStopsTheChange) {
  qv::SetDesktopObjectCreator(nullptr);
  qvtest::LogCapture log;
  ASSERT_TRUE(qv::ModifyWallpaper(picture_, 0));
  bool missing = false;
  for (const std::string& line : log.lines()) missing = missing || line.find("no desktop object") != std::string::npos;
  RecordProperty("system_desktop_object", missing ? "missing" : "present");
  std::printf("the system's desktop object is %s\n", missing ? "missing" : "present");
  EXPECT_EQ(qvtest::LowerCase(file_), qvtest::LowerCase(SystemWallpaper()));
  EXPECT_EQ(file_ + '\0', ReadUserValue(kLastTheme, "Wallpaper").data);
}

TEST_F(Wallpaper, RefusedPicturesChangeNothing) {
  ASSERT_TRUE(qvtest::WriteUserText(kDesktop, "WallpaperStyle", "untouched"));
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string icon = std::string(temp) + "picture.ico";
  CxImage small(8, 8, 24);
  ASSERT_TRUE(small.Save(icon.c_str(), CXIMAGE_FORMAT_BMP));
  const std::string unreadable = std::string(temp) + "broken.png";
  HANDLE h = CreateFileA(unreadable.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, "not a picture", 13, &written, nullptr);
  CloseHandle(h);
  for (const std::string& path : {icon, unreadable, std::string(temp) + "noextension"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(qv::ModifyWallpaper(path, 0));
    EXPECT_FALSE(qvtest::FileExists(file_));
    EXPECT_EQ("untouched", ReadUserValue(kDesktop, "WallpaperStyle").Text());
    EXPECT_EQ(0, g_calls.created);
  }
  DeleteFileA(icon.c_str());
  DeleteFileA(unreadable.c_str());
}

bool Logged(const qvtest::LogCapture& log, const std::string& text) {
  for (const std::string& line : log.lines())
    if (line.find(text) != std::string::npos) return true;
  return false;
}

// What the changers handed the report, in place of the program's message boxes.
struct Reported {
  std::string key, path;
  unsigned style = 0;
};
Reported g_reported;
int RecordReport(const char* key, const std::string& path, unsigned style) {
  g_reported = {key, path, style};
  return IDOK;
}

TEST_F(Wallpaper, AFailedSaveIsToldThroughTheInstalledReport) {
  ASSERT_TRUE(CreateDirectoryA(file_.c_str(), nullptr));
  g_reported = {};
  qv::ChangerReportFn previous = qv::SetChangerReport(&RecordReport);
  EXPECT_FALSE(qv::ModifyWallpaper(picture_, 1));
  qv::SetChangerReport(previous);
  EXPECT_EQ(g_reported.key, "0015");
  EXPECT_EQ(g_reported.path, picture_);
  EXPECT_EQ(g_reported.style, static_cast<unsigned>(MB_OK | MB_ICONERROR));
  RemoveDirectoryA(file_.c_str());
}

TEST_F(Wallpaper, AFailedSaveIsReportedAndNamesNothing) {
  // A folder in the bitmap's place: the file can't be written.
  ASSERT_TRUE(CreateDirectoryA(file_.c_str(), nullptr));
  ASSERT_TRUE(qvtest::WriteUserText(kDesktop, "WallpaperStyle", "untouched"));
  qvtest::LogCapture log;
  EXPECT_FALSE(qv::ModifyWallpaper(picture_, 1));
  EXPECT_TRUE(Logged(log, "0015")) << "the user is told (no language is loaded in the test)";
  EXPECT_EQ("untouched", ReadUserValue(kDesktop, "WallpaperStyle").Text());
  EXPECT_EQ(0, g_calls.created);
  RemoveDirectoryA(file_.c_str());
}

// Another program has the old bitmap open (without sharing its deletion, as most readers do).
HANDLE HoldFile(const std::string& path) {
  return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST_F(Wallpaper, AReaderHoldingTheOldBitmapForAMomentDoesNotStopTheChange) {
  ASSERT_TRUE(qv::ModifyWallpaper(picture_, 1));  // 158 x 107, as the picture is
  HANDLE held = HoldFile(file_);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  platform::Thread reader;
  reader.Start([held] {
    Sleep(100);
    CloseHandle(held);
  });
  const bool changed = qv::ModifyWallpaper(picture_, 3);
  reader.Join();
  EXPECT_TRUE(changed);
  int width = 0, height = 0, bpp = 0;
  ASSERT_TRUE(qvtest::BmpFileSize(file_, &width, &height, &bpp));
  EXPECT_EQ(1024, width);
  EXPECT_EQ(693, height);
  EXPECT_EQ(GetFileAttributesA((file_ + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Wallpaper, AReaderThatKeepsTheOldBitmapOpenFailsTheChangeAndKeepsIt) {
  ASSERT_TRUE(qv::ModifyWallpaper(picture_, 1));
  HANDLE held = HoldFile(file_);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  g_reported = {};
  qv::ChangerReportFn previous = qv::SetChangerReport(&RecordReport);
  const DWORD start = GetTickCount();
  EXPECT_FALSE(qv::ModifyWallpaper(picture_, 3));
  const DWORD waited = GetTickCount() - start;
  qv::SetChangerReport(previous);
  CloseHandle(held);
  EXPECT_EQ(g_reported.key, "0015");
  EXPECT_LT(waited, 5000u) << "the retries end";
  int width = 0, height = 0, bpp = 0;
  ASSERT_TRUE(qvtest::BmpFileSize(file_, &width, &height, &bpp));
  EXPECT_EQ(158, width) << "the old bitmap stays";
  EXPECT_EQ(GetFileAttributesA((file_ + ".new").c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Wallpaper, ReassertOnlyWhenSomethingElseNamesAnotherWallpaper) {
  ASSERT_TRUE(qv::ModifyWallpaper(picture_, 1));
  // The desktop object's record agrees, in other letter case: nothing to do, nothing written.
  std::string upper = file_;
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  ASSERT_TRUE(qvtest::WriteUserText(kGeneral, "Wallpaper", upper));
  ASSERT_TRUE(qvtest::WriteUserText(kDesktop, "WallpaperStyle", "untouched"));
  g_calls = DesktopCalls();
  EXPECT_FALSE(qv::ReassertWallpaper(3));
  EXPECT_EQ("untouched", ReadUserValue(kDesktop, "WallpaperStyle").Text());
  EXPECT_EQ(0, g_calls.created);

  // Another program sets its own wallpaper: the file is named again, mode 3 as centred.
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string other = std::string(temp) + "other wallpaper.bmp";
  CxImage image(16, 16, 24);
  ASSERT_TRUE(image.Save(other.c_str(), CXIMAGE_FORMAT_BMP));
  ASSERT_TRUE(SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(other.c_str()),
                                    SPIF_UPDATEINIFILE));
  ASSERT_EQ(qvtest::LowerCase(other), qvtest::LowerCase(SystemWallpaper()));
  EXPECT_TRUE(qv::ReassertWallpaper(3));
  EXPECT_EQ(qvtest::LowerCase(file_), qvtest::LowerCase(SystemWallpaper()));
  ExpectNamedEverywhere("0", "0");
  DeleteFileA(other.c_str());

  // The desktop object lost it while the system still shows it: that too is put back.
  ASSERT_TRUE(qvtest::WriteUserText(kGeneral, "Wallpaper", "C:\\elsewhere.bmp"));
  g_calls = DesktopCalls();
  EXPECT_TRUE(qv::ReassertWallpaper(2));
  EXPECT_EQ(Wide(file_), g_calls.wallpaper);
  EXPECT_EQ(2u, g_calls.style);
  qvtest::DeleteUserValue(kGeneral, "Wallpaper");
}

}  // namespace

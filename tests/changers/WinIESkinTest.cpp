// The toolbar skin changer in the test prefix: the bitmap it writes and the "BackBitmap" value,
// read back from the file and the registry.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "changers/ImagePreparation.h"
#include "changers/ModifyIESkin.h"
#include "image/CxImage.h"
#include "tests/changers/WinChangerSupport.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::ReadUserValue;

const std::string kToolbar = "Software\\Microsoft\\Internet Explorer\\Toolbar";

int DisplayBits() {
  HDC dc = GetDC(GetDesktopWindow());
  int bits = GetDeviceCaps(dc, BITSPIXEL) * GetDeviceCaps(dc, PLANES);
  ReleaseDC(GetDesktopWindow(), dc);
  return bits;
}

// The names in the output folder that are not the output file: a half-written bitmap would be
// left there.
int OtherFilesBeside(const std::string& file) {
  const std::string folder = file.substr(0, file.rfind('\\') + 1);
  WIN32_FIND_DATAA found;
  HANDLE h = FindFirstFileA((folder + "*").c_str(), &found);
  int others = 0;
  if (h == INVALID_HANDLE_VALUE) return 0;
  do {
    const std::string name = qvtest::LowerCase(found.cFileName);
    if (name != "." && name != ".." && name.find("qvieskin") != std::string::npos &&
        name != "qvieskin.bmp")
      ++others;
  } while (FindNextFileA(h, &found));
  FindClose(h);
  return others;
}

class IESkin : public ::testing::Test {
 protected:
  void SetUp() override {
    picture_ = qvtest::MachinePicture(QV_GIF_PICTURE);
    ASSERT_FALSE(picture_.empty()) << "no GIF picture at " << QV_GIF_PICTURE;
    file_ = qv::ChangerOutputPath("qvieskin.bmp");
    DeleteFileA(file_.c_str());
    ASSERT_TRUE(qvtest::CreateUserKey(kToolbar));
    qvtest::DeleteUserValue(kToolbar, "BackBitmap");
  }
  std::string picture_;
  std::string file_;
};

TEST_F(IESkin, ThePictureKeepsItsSizeAndIsNamedThenRemoved) {
  CxImage original;
  ASSERT_TRUE(original.Load(picture_.c_str(), CXIMAGE_FORMAT_GIF));
  ASSERT_TRUE(qv::ModifyIESkin(picture_));
  int width = 0, height = 0, bpp = 0;
  ASSERT_TRUE(qvtest::BmpFileSize(file_, &width, &height, &bpp));
  EXPECT_EQ(static_cast<int>(original.GetWidth()), width) << "neither scaled nor cropped";
  EXPECT_EQ(static_cast<int>(original.GetHeight()), height);
  if (DisplayBits() > 8) {
    EXPECT_EQ(8, bpp) << "the GIF's own palette";
    CxImage written;
    ASSERT_TRUE(written.Load(file_.c_str(), CXIMAGE_FORMAT_BMP));
    for (uint32_t i = 0; i < original.GetNumColors(); ++i) {
      CxRgbQuad a = original.GetPaletteColor(static_cast<uint8_t>(i));
      CxRgbQuad b = written.GetPaletteColor(static_cast<uint8_t>(i));
      EXPECT_TRUE(a.rgbRed == b.rgbRed && a.rgbGreen == b.rgbGreen && a.rgbBlue == b.rgbBlue) << i;
    }
  }
  EXPECT_EQ(0, OtherFilesBeside(file_));
  qvtest::RegValue value = ReadUserValue(kToolbar, "BackBitmap");
  EXPECT_EQ(REG_SZ, value.type);
  EXPECT_EQ(file_, value.Text());
  EXPECT_TRUE(value.TerminatedText()) << value.storedBytes;

  EXPECT_TRUE(qv::RemoveIESkin());
  EXPECT_FALSE(ReadUserValue(kToolbar, "BackBitmap").exists);
  EXPECT_TRUE(qvtest::FileExists(file_)) << "the bitmap stays";
  EXPECT_FALSE(qv::RemoveIESkin()) << "nothing left to remove";
}

TEST_F(IESkin, ASecondPictureReplacesTheFirst) {
  ASSERT_TRUE(qv::ModifyIESkin(picture_));
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string second = std::string(temp) + "second skin.bmp";
  CxImage image(37, 11, 24);
  ASSERT_TRUE(image.Save(second.c_str(), CXIMAGE_FORMAT_BMP));
  ASSERT_TRUE(qv::ModifyIESkin(second));
  int width = 0, height = 0, bpp = 0;
  ASSERT_TRUE(qvtest::BmpFileSize(file_, &width, &height, &bpp));
  EXPECT_EQ(37, width);
  EXPECT_EQ(11, height);
  EXPECT_EQ(0, OtherFilesBeside(file_));
  DeleteFileA(second.c_str());
}

TEST_F(IESkin, RefusedExtensionsWriteNothing) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string sys = std::string(temp) + "logo.sys";
  CxImage image(8, 8, 24);
  ASSERT_TRUE(image.Save(sys.c_str(), CXIMAGE_FORMAT_BMP));
  for (const std::string& path : {sys, std::string(temp) + "icon.ico", std::string(temp) + "none"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(qv::ModifyIESkin(path));
    EXPECT_FALSE(qvtest::FileExists(file_));
    EXPECT_FALSE(ReadUserValue(kToolbar, "BackBitmap").exists);
  }
  DeleteFileA(sys.c_str());
}

bool Logged(const qvtest::LogCapture& log, const std::string& text) {
  for (const std::string& line : log.lines())
    if (line.find(text) != std::string::npos) return true;
  return false;
}

TEST_F(IESkin, UnreadablePicturesAndFailedSavesAreReported) {
  char temp[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, temp);
  const std::string broken = std::string(temp) + "broken skin.gif";
  HANDLE h = CreateFileA(broken.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  DWORD written = 0;
  WriteFile(h, "GIF89a?", 7, &written, nullptr);
  CloseHandle(h);
  {
    qvtest::LogCapture log;
    EXPECT_FALSE(qv::ModifyIESkin(broken));
    EXPECT_TRUE(Logged(log, "0011")) << "the user is told (no language is loaded in the test)";
  }
  EXPECT_FALSE(qvtest::FileExists(file_));
  DeleteFileA(broken.c_str());

  ASSERT_TRUE(CreateDirectoryA(file_.c_str(), nullptr));
  {
    qvtest::LogCapture log;
    EXPECT_FALSE(qv::ModifyIESkin(picture_));
    EXPECT_TRUE(Logged(log, "0015"));
  }
  EXPECT_FALSE(ReadUserValue(kToolbar, "BackBitmap").exists);
  RemoveDirectoryA(file_.c_str());
}

TEST_F(IESkin, WithoutTheToolbarKeyBothFail) {
  qvtest::DeleteUserKey(kToolbar);
  EXPECT_FALSE(qv::ModifyIESkin(picture_));
  EXPECT_FALSE(qv::RemoveIESkin());
  EXPECT_FALSE(ReadUserValue(kToolbar, "BackBitmap").exists);
  ASSERT_TRUE(qvtest::CreateUserKey(kToolbar));
}

}  // namespace

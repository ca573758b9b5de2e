// The logon screen changer on the fake logon programs of the test build, in the prefix's system
// folder, with Winlogon's "UIHost" value of the prefix.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <regex>
#include <set>

#include "boot/BootINI.h"
#include "boot/ModifyBootScreen.h"
#include "changers/LoadModuleBitmap.h"
#include "changers/ModifyLogonScreen.h"
#include "changers/ProgramPatch.h"
#include "core/WindowsGeneration.h"
#include "core/app/MainWindowSeam.h"
#include "image/CxImage.h"
#include "tests/boot/WinSystemFiles.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::Bytes;
using qvtest::ResourceOf;
using qvtest::U16;
using qvtest::U32;

constexpr std::uint32_t kBackground = 0x00DC7E5A;  // red 90, green 126, blue 220
const std::string kSentinel = "C:\\sentinel\\host.exe";

std::string TempFolder() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

std::string SolidPicture(const std::string& name, int width, int height, std::uint32_t colour,
                         std::uint32_t type = CXIMAGE_FORMAT_BMP) {
  CxImage image(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) image.SetPixelColor(x, y, colour);
  std::string path = TempFolder() + name;
  EXPECT_TRUE(image.Save(path.c_str(), type)) << image.GetLastError();
  return path;
}

// The pixel (x, y) of a packed 24- or 32-bit bitmap, y counted from the bottom, as 0x00BBGGRR.
std::uint32_t PixelOf(const Bytes& packed, int x, int y) {
  const int width = static_cast<int>(U32(packed, 4));
  const int bpp = U16(packed, 14);
  const std::size_t stride = ((static_cast<std::size_t>(width) * bpp + 31) / 32) * 4;
  const std::size_t at = 40 + static_cast<std::size_t>(y) * stride + static_cast<std::size_t>(x) * (bpp / 8);
  return CxRgb(packed[at + 2], packed[at + 1], packed[at]);
}

class LogonScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(logon_.Install("logonui.exe"));
    qvtest::Remove(qv::LogonCopyPath());
    ASSERT_TRUE(qv::LoadChecksumService());
    qvtest::SetLogonHostValue(kSentinel);
    width_ = GetSystemMetrics(SM_CXSCREEN);
    height_ = GetSystemMetrics(SM_CYSCREEN);
  }
  void TearDown() override {
    qvtest::Remove(qv::LogonCopyPath());
    qv::LoadChecksumService();
  }

  // The target size of a w x h picture on this screen, as the fit to the screen computes it.
  void Fitted(int w, int h, int* fw, int* fh) const {
    if (static_cast<double>(h) / height_ >= static_cast<double>(w) / width_) {
      *fw = static_cast<int>(static_cast<double>(height_) / h * w);
      *fh = height_;
    } else {
      *fw = width_;
      *fh = static_cast<int>(static_cast<double>(width_) / w * h);
    }
  }

  qvtest::SystemFileSwap logon_{"logonui.exe"};
  int width_ = 0, height_ = 0;
};

TEST_F(LogonScreen, PictureIsComposedOnTheScreenWithBands) {
  struct Row {
    const char* what;
    int width, height;
  } rows[] = {
      {"wide picture: bands above and below", 800, 400},
      {"tall picture: bands left and right", 300, 600},
      {"screen-shaped picture fills it", 800, 600},
  };
  const std::uint32_t green = CxRgb(20, 200, 40);
  const Bytes logonBefore = qvtest::ReadAll(logon_.path());
  for (const Row& r : rows) {
    std::string picture = SolidPicture("qvlogon.bmp", r.width, r.height, green);
    ASSERT_TRUE(qv::PatchLogonProgram(picture, kBackground)) << r.what;
    const Bytes copy = qvtest::ReadAll(qv::LogonCopyPath());
    std::uint16_t language = 0;
    const Bytes packed = ResourceOf(copy, 2, 100, &language);
    ASSERT_GT(packed.size(), 82u) << r.what;
    EXPECT_EQ(language, 0x0407);  // the logon program's own
    ASSERT_EQ(static_cast<int>(U32(packed, 4)), width_);
    ASSERT_EQ(static_cast<int>(U32(packed, 8)), height_);
    ASSERT_GE(U16(packed, 14), 24);

    int fw = 0, fh = 0;
    Fitted(r.width, r.height, &fw, &fh);
    const int left = (width_ - fw) / 2, top = (height_ - fh) / 2;
    const int bottom = height_ - fh - top;  // rows of the lower band, counted from the bottom
    const int midX = width_ / 2, midY = height_ / 2;
    EXPECT_EQ(PixelOf(packed, midX, midY), green) << r.what;
    // The edges of the placed picture, one pixel inside and one outside.
    EXPECT_EQ(PixelOf(packed, midX, bottom), green) << r.what;
    EXPECT_EQ(PixelOf(packed, midX, bottom + fh - 1), green) << r.what;
    EXPECT_EQ(PixelOf(packed, left, midY), green) << r.what;
    EXPECT_EQ(PixelOf(packed, left + fw - 1, midY), green) << r.what;
    if (bottom > 0) EXPECT_EQ(PixelOf(packed, midX, bottom - 1), kBackground) << r.what;
    if (top > 0) EXPECT_EQ(PixelOf(packed, midX, bottom + fh), kBackground) << r.what;
    if (left > 0) EXPECT_EQ(PixelOf(packed, left - 1, midY), kBackground) << r.what;
    if (left + fw < width_) EXPECT_EQ(PixelOf(packed, left + fw, midY), kBackground) << r.what;

    // 123 and 127: the first 82 bytes as a 1 x 1 picture of the bottom-left pixel.
    Bytes record(packed.begin(), packed.begin() + 82);
    for (std::size_t at : {4u, 8u}) record[at] = 1, record[at + 1] = record[at + 2] = record[at + 3] = 0;
    record[20] = 4, record[21] = record[22] = record[23] = 0;
    std::fill(record.begin() + 78, record.end(), 0);
    for (std::uint16_t id : {123, 127}) EXPECT_EQ(ResourceOf(copy, 2, id), record) << id;
    EXPECT_EQ(PixelOf(record, 0, 0), PixelOf(packed, 0, 0));

    DWORD header = 0, computed = 0;
    ASSERT_TRUE(qvtest::SystemChecksums(qv::LogonCopyPath(), &header, &computed));
    EXPECT_EQ(header, computed);
    EXPECT_EQ(qvtest::LogonHostValue(), qv::LogonCopyPath());
    EXPECT_EQ(qvtest::ReadAll(logon_.path()), logonBefore);
    DeleteFileA(picture.c_str());
  }
  CopyFileA(qv::LogonCopyPath().c_str(), (qvtest::WrittenFolder() + "QVUIHOST.EXE").c_str(), FALSE);
}

// The description written is ours, and everything it names is in the file it is written into.
TEST_F(LogonScreen, DescriptionIsWrittenAndItsReferencesResolve) {
  std::string picture = SolidPicture("qvlogon-ui.jpg", 640, 480, CxRgb(1, 2, 3), CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(qv::PatchLogonProgram(picture, kBackground));
  const Bytes copy = qvtest::ReadAll(qv::LogonCopyPath());
  std::string own = QV_UIFILE;
  for (char& c : own)
    if (c == '/') c = '\\';
  const Bytes source = qvtest::ReadAll("Z:" + own);
  ASSERT_GT(source.size(), 1000u);
  const Bytes written = ResourceOf(copy, "UIFILE", 1000);
  EXPECT_EQ(written, source);
  const std::string text(written.begin(), written.end());
  EXPECT_NE(text.find("rcbmp(100,6,#FF00FF,0,0,1,0)"), std::string::npos);
  for (const char* resid : {"framess", "toppanelss", "bottompanelss", "leftpanelss", "rightpanelss",
                            "hotaccountlistss", "accountlistss", "passwordpaness", "scroller", "main",
                            "accountitem", "passwordpanel"})
    EXPECT_TRUE(std::regex_search(text, std::regex(std::string("resid=") + resid + "[ >]"))) << resid;
  std::set<int> bitmaps, strings;
  const std::regex reference("rc(bmp|str|int)\\((\\d+)");
  for (std::sregex_iterator it(text.begin(), text.end(), reference), end; it != end; ++it)
    ((*it)[1] == "bmp" ? bitmaps : strings).insert(std::stoi((*it)[2]));
  EXPECT_EQ(bitmaps.count(123) + bitmaps.count(127), 0u);
  EXPECT_EQ(bitmaps.size(), 14u);  // 100, 102 to 113 and 119
  for (int id : bitmaps) EXPECT_FALSE(ResourceOf(copy, 2, static_cast<std::uint16_t>(id)).empty()) << id;
  for (int id : strings) {
    Bytes block = ResourceOf(copy, 6, static_cast<std::uint16_t>(id / 16 + 1));
    std::size_t at = 0;
    for (int i = 0; i < id % 16 && at + 2 <= block.size(); ++i) at += 2 + 2 * U16(block, at);
    EXPECT_GT(U16(block, at), 0) << "string " << id;
  }
  DeleteFileA(picture.c_str());
}

TEST_F(LogonScreen, ProgramItemsAreNamedDirectly) {
  CreateDirectoryA("C:\\Themes", nullptr);
  CopyFileA((qvtest::FixtureFolder() + "mylogon.exe").c_str(), "C:\\Themes\\mylogon.exe", FALSE);
  CopyFileA((qvtest::FixtureFolder() + "mylogon.exe").c_str(), "C:\\Themes\\MyLogon.SCR", FALSE);
  CopyFileA((qvtest::FixtureFolder() + "nouifile.exe").c_str(), "C:\\Themes\\plain.dll", FALSE);
  std::string picture = SolidPicture("qvlogon-item.bmp", 40, 30, CxRgb(9, 9, 9));
  CopyFileA(picture.c_str(), "C:\\Themes\\notaprogram.cpl", FALSE);
  struct Row {
    const char* path;
    bool named;
  } rows[] = {
      {"C:\\Themes\\mylogon.exe", true},
      {"C:\\Themes\\MyLogon.SCR", true},
      {"C:\\Themes\\plain.dll", false},      // no "UIFILE" 1000
      {"C:\\Themes\\notaprogram.cpl", false},
      {"C:\\Themes\\missing.exe", false},
  };
  for (const Row& r : rows) {
    qvtest::SetLogonHostValue(kSentinel);
    qvtest::LogCapture log;
    EXPECT_EQ(qv::ModifyLogonScreen(r.path, kBackground), r.named) << r.path;
    EXPECT_EQ(qvtest::LogonHostValue(), r.named ? r.path : kSentinel) << r.path;
    EXPECT_EQ(log.lines().empty(), r.named) << r.path;
    EXPECT_FALSE(qvtest::Exists(qv::LogonCopyPath())) << r.path;
  }
  DeleteFileA(picture.c_str());
}

TEST_F(LogonScreen, ALockedCopyChangesNothing) {
  const Bytes old = {'M', 'Z', 1, 2, 3};
  ASSERT_TRUE(qvtest::WriteAll(qv::LogonCopyPath(), old));
  HANDLE lock = CreateFileA(qv::LogonCopyPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            0, nullptr);
  ASSERT_NE(lock, INVALID_HANDLE_VALUE);
  std::string picture = SolidPicture("qvlogon-lock.bmp", 64, 64, CxRgb(200, 0, 0));
  EXPECT_FALSE(qv::PatchLogonProgram(picture, kBackground));
  CloseHandle(lock);
  EXPECT_EQ(qvtest::LogonHostValue(), kSentinel);
  EXPECT_EQ(qvtest::ReadAll(qv::LogonCopyPath()), old);
  DeleteFileA(picture.c_str());
}

unsigned long __stdcall WrongChecksum(const char*, unsigned long* header, unsigned long* computed) {
  *header = 0;
  *computed = 777;
  return 0;
}

// Failures after the host was reset leave the system's own logon program in effect.
TEST_F(LogonScreen, FailuresLeaveTheSystemsLogonProgram) {
  std::string picture = SolidPicture("qvlogon-fail.bmp", 64, 64, CxRgb(0, 0, 200));
  std::string broken = TempFolder() + "qvlogon-broken.png";
  qvtest::WriteAll(broken, Bytes{0x89, 'P', 'N', 'G', 0, 0});
  struct Row {
    const char* what;
    std::string path;
    qv::MapFileAndCheckSumFn service;
  } rows[] = {
      {"imagehlp missing", picture, nullptr},
      {"wrong checksum caught by the read-back check", picture, &WrongChecksum},
      {"picture does not load", broken, qv::ChecksumService()},
      {"no extension", TempFolder() + "picture", qv::ChecksumService()},
  };
  const Bytes logon = qvtest::ReadAll(logon_.path());
  for (const Row& r : rows) {
    qvtest::SetLogonHostValue(kSentinel);
    qvtest::Remove(qv::LogonCopyPath());
    qv::MapFileAndCheckSumFn previous = qv::SetChecksumService(r.service);
    qvtest::LogCapture log;
    EXPECT_FALSE(qv::PatchLogonProgram(r.path, kBackground)) << r.what;
    qv::SetChecksumService(previous);
    EXPECT_FALSE(log.lines().empty()) << r.what;
    EXPECT_EQ(qvtest::LogonHostValue(), qv::LogonProgramPath()) << r.what;
    EXPECT_EQ(qvtest::ReadAll(qv::LogonCopyPath()), logon) << r.what;
  }
  DeleteFileA(picture.c_str());
  DeleteFileA(broken.c_str());
}

TEST_F(LogonScreen, SysPictureIsABitmap) {
  std::string picture = SolidPicture("qvlogon.sys", 100, 50, CxRgb(10, 20, 30));
  EXPECT_TRUE(qv::ModifyLogonScreen(picture, kBackground));
  EXPECT_EQ(qvtest::LogonHostValue(), qv::LogonCopyPath());
  DeleteFileA(picture.c_str());
}

TEST_F(LogonScreen, RestoreAndProbe) {
  EXPECT_TRUE(qv::RestoreLogonHost());
  EXPECT_EQ(qvtest::LogonHostValue(), qvtest::SystemFolder() + "\\logonui.exe");
  struct Row {
    const char* file;
    bool ok;
    int width, height, bpp;
  } rows[] = {
      {"logonui.exe", true, 320, 240, 24},
      {"nouifile.exe", false, 0, 0, 0},
      {"ntoskrnl.exe", false, 0, 0, 0},
      {"missing.exe", false, 0, 0, 0},
  };
  for (const Row& r : rows) {
    qv::LogonProgramInfo info;
    EXPECT_EQ(qv::ProbeLogonProgram(qvtest::FixtureFolder() + r.file, &info), r.ok) << r.file;
    if (!r.ok) continue;
    EXPECT_EQ(info.width, r.width);
    EXPECT_EQ(info.height, r.height);
    EXPECT_EQ(info.bitsPerPixel, r.bpp);
  }
}

// Every program of the system folders offered as a logon program: each is taken with a bitmap
// that draws, or refused, and none brings the probe down.
TEST_F(LogonScreen, EverySystemProgramIsProbedCleanly) {
  const std::vector<std::string> programs = qvtest::SystemPrograms();
  ASSERT_GE(programs.size(), 300u) << "the prefix's system programs are missing";
  int taken = 0;
  for (const std::string& path : programs) {
    qv::LogonProgramInfo info;
    if (!qv::ProbeLogonProgram(path, &info)) continue;
    taken++;
    EXPECT_GT(info.width, 0) << path;
    EXPECT_GT(info.height, 0) << path;
    EXPECT_TRUE(std::set<int>({1, 4, 8, 16, 24, 32}).count(info.bitsPerPixel)) << path << " " << info.bitsPerPixel;
    HBITMAP bitmap = qv::LoadModuleBitmap(path, MAKEINTRESOURCEA(100), 160, 160);
    EXPECT_NE(bitmap, nullptr) << path;
    if (bitmap) DeleteObject(bitmap);
  }
  // Wine's own logon program is not one (it has no description); the fixture's stand-in is.
  EXPECT_GE(taken, 1);
  std::printf("logon probe: %d of %zu system programs taken\n", taken, programs.size());
}

TEST(LoadModuleBitmap, DrawsTheResourceIntoTheBox) {
  struct Row {
    const char* file;
    int name, boxWidth, boxHeight;
    bool ok;
    int width, height;
  } rows[] = {
      {"ntoskrnl.exe", 1, 320, 240, true, 320, 240},
      {"ntoskrnl.exe", 1, 100, 100, true, 100, 75},
      {"ntoskrnl.exe", 1, 0, 0, true, 640, 480},  // no box: its own size
      {"ntoskrnl.exe", 1, 2000, 2000, true, 640, 480},  // never enlarged
      {"logonui.exe", 100, 160, 160, true, 160, 120},
      {"logonui.exe", 114, 160, 160, false, 0, 0},
      {"missing.exe", 1, 160, 160, false, 0, 0},
  };
  for (const Row& r : rows) {
    RGBQUAD palette[16] = {};
    HBITMAP bitmap = qv::LoadModuleBitmap(qvtest::FixtureFolder() + r.file,
                                          MAKEINTRESOURCEA(r.name), r.boxWidth, r.boxHeight, palette);
    EXPECT_EQ(bitmap != nullptr, r.ok) << r.file << " " << r.name;
    if (!bitmap) continue;
    BITMAP info{};
    GetObject(bitmap, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, r.width) << r.file << " box " << r.boxWidth;
    EXPECT_EQ(info.bmHeight, r.height) << r.file << " box " << r.boxWidth;
    if (std::string(r.file) == "ntoskrnl.exe") {
      // The kernel's 16-entry table: entry 15 is white, entry 1 is (32, 26, 21).
      EXPECT_EQ(palette[15].rgbRed, 255);
      EXPECT_EQ(palette[1].rgbBlue, 21);
      EXPECT_EQ(palette[1].rgbRed, 32);
    }
    DeleteObject(bitmap);
  }
}

// The undo run ("-u") on Windows XP: boot.ini unmarked and the logon host reset, for real.
TEST_F(LogonScreen, UndoRunRestoresBootIniAndLogonHost) {
  const std::string marked =
      "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"XP\" /fastdetect "
      "/KERNEL=QVLOGO.EXE\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"(Backuped by Quorvex)XP\""
      " /fastdetect\r\n";
  ASSERT_TRUE(qvtest::WriteAll(qv::BootINI::kPath, Bytes(marked.begin(), marked.end())));
  const int generation = qv::WindowsGeneration;
  qv::WindowsGeneration = qv::kWinXP;
  qv::RestoreSystemAppearance();
  qv::WindowsGeneration = generation;
  Bytes now = qvtest::ReadAll(qv::BootINI::kPath);
  EXPECT_EQ(std::string(now.begin(), now.end()),
            "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"XP\" /fastdetect\r\n");
  EXPECT_EQ(qvtest::LogonHostValue(), qv::LogonProgramPath());
  qvtest::Remove(qv::BootINI::kPath);
  qvtest::Remove(std::string(qv::BootINI::kPath) + qv::BootINI::kBackupSuffix);
}

}  // namespace

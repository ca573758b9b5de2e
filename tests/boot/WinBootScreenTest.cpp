// The boot screen changer on the fake kernels of the test build, in the prefix's system folder.
// The Windows generation is the program's own global, set per test, as start-up sets it from
// the version the system reports.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "boot/BootINI.h"
#include "boot/BootIniRestore.h"
#include "boot/BootPalette.h"
#include "boot/ModifyBootScreen.h"
#include "changers/ChangerReport.h"
#include "changers/ProgramPatch.h"
#include "core/WindowsGeneration.h"
#include "image/CxImage.h"
#include "tests/boot/WinSystemFiles.h"
#include "tests/support/LogCapture.h"

namespace {

using qvtest::Bytes;
using qvtest::ResourceOf;
using qvtest::U16;
using qvtest::U32;

std::string TempFolder() {
  char folder[MAX_PATH] = {};
  GetTempPathA(MAX_PATH, folder);
  return folder;
}

// A picture with many colours: a gradient with a bright block, as a file of the given type.
std::string MakePicture(const std::string& name, int width, int height, std::uint32_t type) {
  CxImage image(static_cast<uint32_t>(width), static_cast<uint32_t>(height), 24);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      bool block = x > width / 3 && x < width / 2 && y > height / 3 && y < height / 2;
      image.SetPixelColor(x, y, block ? CxRgb(250, 240, 20)
                                      : CxRgb(static_cast<uint8_t>(x * 255 / width),
                                              static_cast<uint8_t>(y * 255 / height), 90));
    }
  std::string path = TempFolder() + name;
  EXPECT_TRUE(image.Save(path.c_str(), type)) << image.GetLastError();
  return path;
}

class BootScreen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(kernel_.Install("ntoskrnl.exe"));
    qvtest::Remove(qv::KernelCopyPath());
    qvtest::Remove(qv::KernelCopyPath() + ".qvwork");
    ASSERT_TRUE(qv::LoadChecksumService());
    generation_ = qv::WindowsGeneration;
    qv::WindowsGeneration = qv::kWinXP;
  }
  void TearDown() override {
    qv::WindowsGeneration = generation_;
    qvtest::Remove(qv::KernelCopyPath());
    qvtest::Remove(qv::LogoSysPath());
    qv::LoadChecksumService();
  }

  Bytes Kernel() const { return qvtest::ReadAll(qv::KernelPath()); }
  Bytes Copy() const { return qvtest::ReadAll(qv::KernelCopyPath()); }

  qvtest::SystemFileSwap kernel_{"ntoskrnl.exe"};
  int generation_ = qv::kWinUnknown;
};

// The checks every patched kernel copy passes: the one bitmap 1 of 640 x 480 at 4 bits with a
// 16-entry table in the kernel's language, and a checksum that the system's routine agrees with.
void ExpectPatchedBitmap1(const Bytes& copy) {
  std::uint16_t language = 0;
  Bytes bitmap = ResourceOf(copy, 2, 1, &language);
  ASSERT_EQ(bitmap.size(), 40u + 64u + 153600u);
  EXPECT_EQ(language, 0x0407);  // the kernel's own, not the system default
  EXPECT_EQ(U32(bitmap, 0), 40u);
  EXPECT_EQ(U32(bitmap, 4), 640u);
  EXPECT_EQ(U32(bitmap, 8), 480u);
  EXPECT_EQ(U16(bitmap, 12), 1);
  EXPECT_EQ(U16(bitmap, 14), 4);
  EXPECT_EQ(U32(bitmap, 16), 0u);
}

void ExpectSystemChecksum(const std::string& path) {
  DWORD header = 0, computed = 0;
  ASSERT_TRUE(qvtest::SystemChecksums(path, &header, &computed));
  EXPECT_EQ(header, computed);
  EXPECT_NE(computed, 0u);
}

TEST_F(BootScreen, XpPictureWritesBitmapsPaletteAndChecksum) {
  const Bytes kernelBefore = Kernel();
  std::string jpeg = MakePicture("qvboot-xp.jpg", 1024, 768, CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(qv::ChangeBootScreen(jpeg));
  const Bytes copy = Copy();
  ExpectPatchedBitmap1(copy);
  Bytes bitmap1 = ResourceOf(copy, 2, 1);
  for (std::uint16_t id : {10, 11, 12}) {
    std::uint16_t language = 0;
    Bytes small = ResourceOf(copy, 2, id, &language);
    ASSERT_EQ(small.size(), 82u) << id;
    EXPECT_EQ(language, 0x0407);
    EXPECT_EQ(U32(small, 4), 1u);
    EXPECT_EQ(U32(small, 8), 1u);
    EXPECT_EQ(U32(small, 20), 4u);
    EXPECT_EQ(U16(small, 14), 4);
    EXPECT_TRUE(std::equal(small.begin() + 40, small.begin() + 78, bitmap1.begin() + 40)) << id;
    EXPECT_EQ(U32(small, 78), 0u);
  }
  ASSERT_GE(copy.size(), qv::kBootPaletteOffset1 + 64);
  EXPECT_TRUE(std::equal(copy.begin() + qv::kBootPaletteOffset1,
                         copy.begin() + qv::kBootPaletteOffset1 + 64, bitmap1.begin() + 40));
  ExpectSystemChecksum(qv::KernelCopyPath());
  EXPECT_EQ(Kernel(), kernelBefore);
  EXPECT_FALSE(qvtest::Exists(qv::KernelCopyPath() + ".qvwork"));
  // For the independent reader that runs after this program.
  CopyFileA(qv::KernelCopyPath().c_str(), (qvtest::WrittenFolder() + "QVLOGO-xp.EXE").c_str(),
            FALSE);
  DeleteFileA(jpeg.c_str());
}

TEST_F(BootScreen, PaletteIsFoundWhereverTheKernelKeepsIt) {
  struct Row {
    const char* kernel;
    std::size_t at;
  } rows[] = {
      {"ntoskrnl-second.exe", qv::kBootPaletteOffset2},
      {"ntoskrnl-elsewhere.exe", 0x1234F},
      {"ntoskrnl-nopalette.exe", qv::kBootPaletteNotFound},
  };
  std::string bmp = MakePicture("qvboot-pal.bmp", 300, 200, CXIMAGE_FORMAT_BMP);
  for (const Row& r : rows) {
    ASSERT_TRUE(kernel_.Install(r.kernel));
    const Bytes kernel = Kernel();
    ASSERT_TRUE(qv::ChangeBootScreen(bmp)) << r.kernel;
    const Bytes copy = Copy();
    ExpectPatchedBitmap1(copy);
    ExpectSystemChecksum(qv::KernelCopyPath());
    const Bytes bitmap1 = ResourceOf(copy, 2, 1);
    const Bytes table(bitmap1.begin() + 40, bitmap1.begin() + 104);
    EXPECT_EQ(qv::FindBootPalette(copy.data(), copy.size()), qv::kBootPaletteNotFound) << r.kernel;
    if (r.at == qv::kBootPaletteNotFound) continue;
    EXPECT_TRUE(std::equal(table.begin(), table.end(), copy.begin() + r.at)) << r.kernel;
    // Nothing else of the data section moved.
    EXPECT_TRUE(std::equal(kernel.begin() + 0x600, kernel.begin() + r.at, copy.begin() + 0x600));
  }
  DeleteFileA(bmp.c_str());
}

TEST_F(BootScreen, Windows2000ChangesBitmap1Only) {
  qv::WindowsGeneration = qv::kWin2000;
  const Bytes kernel = Kernel();
  std::string jpeg = MakePicture("qvboot-2k.jpg", 1024, 768, CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(qv::ChangeBootScreen(jpeg));
  const Bytes copy = Copy();
  ExpectPatchedBitmap1(copy);
  ExpectSystemChecksum(qv::KernelCopyPath());
  for (std::uint16_t id : {10, 11, 12}) EXPECT_EQ(ResourceOf(copy, 2, id), ResourceOf(kernel, 2, id));
  EXPECT_EQ(qv::FindBootPalette(copy.data(), copy.size()), qv::kBootPaletteOffset1);
  DeleteFileA(jpeg.c_str());
}

TEST_F(BootScreen, KernelFileItemIsCopiedByteForByte) {
  const Bytes other = qvtest::ReadAll(qvtest::FixtureFolder() + "otherkernel.exe");
  const Bytes otherBitmap = ResourceOf(other, 2, 1);
  ASSERT_EQ(U32(otherBitmap, 4), 320u);  // not the size of a boot screen
  for (int generation : {qv::kWinXP, qv::kWin2000}) {
    qv::WindowsGeneration = generation;
    ASSERT_TRUE(qv::ChangeBootScreen(qvtest::FixtureFolder() + "otherkernel.exe")) << generation;
    const Bytes copy = Copy();
    EXPECT_EQ(ResourceOf(copy, 2, 1), otherBitmap);
    ExpectSystemChecksum(qv::KernelCopyPath());
    const bool xp = generation == qv::kWinXP;
    Bytes small = ResourceOf(copy, 2, 10);
    EXPECT_EQ(small.size(), xp ? 82u : ResourceOf(Kernel(), 2, 10).size());
    if (xp) {
      EXPECT_EQ(U32(small, 4), 1u);
      EXPECT_TRUE(std::all_of(small.begin() + 40, small.end(), [](std::uint8_t b) { return b == 0; }));
      EXPECT_TRUE(std::equal(otherBitmap.begin() + 40, otherBitmap.begin() + 104,
                             copy.begin() + qv::kBootPaletteOffset1));
    } else {
      EXPECT_EQ(qv::FindBootPalette(copy.data(), copy.size()), qv::kBootPaletteOffset1);
    }
  }
}

TEST_F(BootScreen, ApplyingTwiceGivesTheSameFileAsOnce) {
  std::string jpeg = MakePicture("qvboot-twice.jpg", 800, 600, CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(qv::ChangeBootScreen(jpeg));
  const Bytes once = Copy();
  ASSERT_TRUE(qv::ChangeBootScreen(jpeg));
  EXPECT_EQ(Copy(), once);
  DeleteFileA(jpeg.c_str());
}

unsigned long __stdcall FailingChecksum(const char*, unsigned long*, unsigned long*) { return 1; }
unsigned long __stdcall WrongChecksum(const char*, unsigned long* header, unsigned long* computed) {
  *header = 0;
  *computed = 12345;  // a sum no loader would accept
  return 0;
}

// Without a checksum the loader refuses the copy: it becomes an unchanged kernel again, and
// the change is not reported as done.
TEST_F(BootScreen, ChecksumTroubleLeavesAnUnchangedKernelCopy) {
  struct Row {
    const char* what;
    qv::MapFileAndCheckSumFn service;
  } rows[] = {
      {"imagehlp missing", nullptr},
      {"service fails", &FailingChecksum},
      {"service gives a wrong sum (the read-back check catches it)", &WrongChecksum},
  };
  std::string jpeg = MakePicture("qvboot-sum.jpg", 640, 480, CXIMAGE_FORMAT_JPG);
  for (const Row& r : rows) {
    for (const std::string& item : {jpeg, qvtest::FixtureFolder() + "otherkernel.exe"}) {
      qvtest::Remove(qv::KernelCopyPath());
      qv::SetChecksumService(r.service);
      qvtest::LogCapture log;
      EXPECT_FALSE(qv::ChangeBootScreen(item)) << r.what;
      EXPECT_FALSE(log.lines().empty()) << r.what;
      EXPECT_EQ(Copy(), Kernel()) << r.what << " " << item;
      EXPECT_FALSE(qvtest::Exists(qv::KernelCopyPath() + ".qvwork"));
    }
  }
  DeleteFileA(jpeg.c_str());
}

TEST_F(BootScreen, ItemsThatAreNoBootScreen) {
  std::string broken = TempFolder() + "qvboot-broken.jpg";
  qvtest::WriteAll(broken, Bytes{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3});
  std::string exe = qvtest::FixtureFolder() + "otherkernel.exe";
  std::string good = MakePicture("qvboot-good.bmp", 64, 48, CXIMAGE_FORMAT_BMP);
  struct Row {
    const char* what;
    std::string path;
    int generation;
  } rows[] = {
      {"no extension", TempFolder() + "picture", qv::kWinXP},
      {"unknown extension", TempFolder() + "picture.doc", qv::kWinXP},
      {"dot in a folder name only", "C:\\My.Pictures\\photo", qv::kWinXP},
      {"picture that does not load", broken, qv::kWinXP},
      {"missing kernel file item", TempFolder() + "missing.exe", qv::kWinXP},
      {"kernel file item on Windows 98", exe, qv::kWin98},
      {"kernel file item on NT 4", exe, qv::kWinNT4},
      {"unknown Windows", good, qv::kWinUnknown},
  };
  for (const Row& r : rows) {
    qv::WindowsGeneration = r.generation;
    qvtest::LogCapture log;
    EXPECT_FALSE(qv::ChangeBootScreen(r.path)) << r.what;
    EXPECT_FALSE(log.lines().empty()) << r.what;
    EXPECT_FALSE(qvtest::Exists(qv::KernelCopyPath())) << r.what;
    EXPECT_FALSE(qvtest::Exists(qv::LogoSysPath())) << r.what;
  }
  DeleteFileA(broken.c_str());
  DeleteFileA(good.c_str());
}

TEST_F(BootScreen, Windows98WritesLogoSysAndRestoreDeletesIt) {
  for (int generation : {qv::kWin95, qv::kWin98, qv::kWinMe}) {
    qv::WindowsGeneration = generation;
    // A LOGO.SYS from another machine is a bitmap item too.
    std::string sys = MakePicture("qvboot-item.sys", 500, 300, CXIMAGE_FORMAT_BMP);
    ASSERT_TRUE(qv::ChangeBootScreen(sys)) << generation;
    const std::string logo = qv::LogoSysPath();
    EXPECT_EQ(logo, "C:\\LOGO.SYS");
    Bytes file = qvtest::ReadAll(logo);
    ASSERT_GT(file.size(), 54u);
    EXPECT_EQ(file[0], 'B');
    EXPECT_EQ(file[1], 'M');
    EXPECT_EQ(U32(file, 14 + 4), 320u);
    EXPECT_EQ(U32(file, 14 + 8), 400u);
    EXPECT_EQ(U16(file, 14 + 14), 8);
    EXPECT_EQ(U32(file, 10), 14u + 40u + 1024u);  // a 256-entry table before the pixels
    EXPECT_EQ(file.size(), 14u + 40u + 1024u + 320u * 400u);
    DWORD attributes = GetFileAttributesA(logo.c_str());
    EXPECT_EQ(attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_READONLY),
              DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_FALSE(qvtest::Exists(qv::KernelCopyPath()));
    EXPECT_TRUE(qv::RestoreBootScreen());
    EXPECT_FALSE(qvtest::Exists(logo));
    EXPECT_FALSE(qv::RestoreBootScreen());  // nothing left to delete
    DeleteFileA(sys.c_str());
  }
}

// A copy of otherkernel.exe whose bitmap 1 is the first `size` bytes of its own.
std::string KernelWithBitmapOf(std::size_t size) {
  const std::string path = TempFolder() + "qvkernel-" + std::to_string(size) + ".exe";
  const std::string fixture = qvtest::FixtureFolder() + "otherkernel.exe";
  Bytes bitmap = ResourceOf(qvtest::ReadAll(fixture), 2, 1);
  bitmap.resize(size);
  if (!CopyFileA(fixture.c_str(), path.c_str(), FALSE)) return std::string();
  HANDLE update = BeginUpdateResourceA(path.c_str(), FALSE);
  std::uint16_t language = 0;
  ResourceOf(qvtest::ReadAll(fixture), 2, 1, &language);
  if (!update || !UpdateResourceA(update, MAKEINTRESOURCEA(2), MAKEINTRESOURCEA(1), language,
                                  bitmap.data(), static_cast<DWORD>(bitmap.size())) ||
      !EndUpdateResourceA(update, FALSE))
    return std::string();
  return path;
}

TEST_F(BootScreen, AKernelFileItemWithoutAWholePaletteIsRefused) {
  std::string jpeg = MakePicture("qvboot-before-short.jpg", 640, 480, CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(qv::ChangeBootScreen(jpeg));
  for (std::size_t size : {std::size_t{40}, std::size_t{103}}) {
    const std::string item = KernelWithBitmapOf(size);
    ASSERT_FALSE(item.empty()) << size;
    ASSERT_EQ(ResourceOf(qvtest::ReadAll(item), 2, 1).size(), size);
    qvtest::LogCapture log;
    EXPECT_FALSE(qv::ChangeBootScreen(item)) << size;
    EXPECT_FALSE(log.lines().empty()) << size;
    EXPECT_EQ(Copy(), Kernel()) << "an unchanged kernel copy, no palette patch: " << size;
    EXPECT_FALSE(qvtest::Exists(qv::KernelCopyPath() + ".qvwork"));
    DeleteFileA(item.c_str());
  }
  // With the whole table it is taken byte for byte, and its table is the boot palette.
  const std::string item = KernelWithBitmapOf(104);
  const Bytes bitmap = ResourceOf(qvtest::ReadAll(item), 2, 1);
  ASSERT_TRUE(qv::ChangeBootScreen(item));
  const Bytes copy = Copy();
  EXPECT_EQ(ResourceOf(copy, 2, 1), bitmap);
  EXPECT_TRUE(std::equal(bitmap.begin() + 40, bitmap.end(), copy.begin() + qv::kBootPaletteOffset1));
  DeleteFileA(item.c_str());
  DeleteFileA(jpeg.c_str());
}

std::string g_reportedKey, g_reportedPath;
int RecordReport(const char* key, const std::string& path, unsigned) {
  g_reportedKey = key;
  g_reportedPath = path;
  return IDOK;
}

TEST_F(BootScreen, ALogoSysHeldByAnotherProgramIsToldAndKeptWhole) {
  qv::WindowsGeneration = qv::kWin98;
  const std::string logo = qv::LogoSysPath();
  const Bytes old = {'B', 'M', 'o', 'l', 'd', ' ', 'l', 'o', 'g', 'o'};
  ASSERT_TRUE(qvtest::WriteAll(logo, old));
  std::string picture = MakePicture("qvboot-held.bmp", 64, 48, CXIMAGE_FORMAT_BMP);
  // Open without sharing, as a program that is reading it would hold it.
  HANDLE held = CreateFileA(logo.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  g_reportedKey.clear();
  qv::ChangerReportFn previous = qv::SetChangerReport(&RecordReport);
  qvtest::LogCapture log;
  EXPECT_FALSE(qv::ChangeBootScreen(picture));
  qv::SetChangerReport(previous);
  CloseHandle(held);
  EXPECT_EQ(g_reportedKey, "0015");
  EXPECT_EQ(g_reportedPath, logo);
  EXPECT_FALSE(log.lines().empty());
  EXPECT_EQ(qvtest::ReadAll(logo), old) << "the old file stays whole";
  EXPECT_EQ(GetFileAttributesA(logo.c_str()) & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM),
            DWORD(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((logo + "*").c_str(), &found);
  int files = 0;
  if (search != INVALID_HANDLE_VALUE) {
    do ++files; while (FindNextFileA(search, &found));
    FindClose(search);
  }
  EXPECT_EQ(files, 1) << "no half-written file beside it";

  // A read-only one the program may write is made writable and replaced, as the system's own
  // attributes are put back on it after every change.
  SetFileAttributesA(logo.c_str(), FILE_ATTRIBUTE_READONLY);
  EXPECT_TRUE(qv::ChangeBootScreen(picture));
  EXPECT_EQ(U32(qvtest::ReadAll(logo), 14 + 4), 320u);
  DeleteFileA(picture.c_str());
}

TEST_F(BootScreen, RestoreAndNt4) {
  std::string jpeg = MakePicture("qvboot-restore.jpg", 640, 480, CXIMAGE_FORMAT_JPG);
  ASSERT_TRUE(qv::ChangeBootScreen(jpeg));
  EXPECT_NE(Copy(), Kernel());
  EXPECT_TRUE(qv::RestoreBootScreen());
  EXPECT_EQ(Copy(), Kernel());

  qvtest::Remove(qv::KernelCopyPath());
  qv::WindowsGeneration = qv::kWinNT4;
  EXPECT_TRUE(qv::ChangeBootScreen(jpeg));  // nothing to write there, and that is success
  EXPECT_FALSE(qvtest::Exists(qv::KernelCopyPath()));
  EXPECT_FALSE(qv::RestoreBootScreen());
  qv::WindowsGeneration = qv::kWinUnknown;
  EXPECT_FALSE(qv::RestoreBootScreen());
  DeleteFileA(jpeg.c_str());
}

TEST_F(BootScreen, PathQueries) {
  const std::string system = qvtest::SystemFolder();
  EXPECT_EQ(qv::KernelPath(), system + "\\ntoskrnl.exe");
  EXPECT_EQ(qv::KernelCopyPath(), system + "\\QVLOGO.EXE");
  char windows[MAX_PATH] = {};
  GetWindowsDirectoryA(windows, MAX_PATH);
  EXPECT_EQ(qv::LogoSysPath(), std::string(1, windows[0]) + ":\\LOGO.SYS");
}

TEST(ResourceLanguage, FirstListedLanguageOrTheSystemDefault) {
  std::uint16_t language = 1;
  EXPECT_TRUE(qv::CheckResLanguageID(qvtest::FixtureFolder() + "logonui.exe", 2, 100, &language));
  EXPECT_EQ(language, 0x0407);
  EXPECT_FALSE(qv::CheckResLanguageID(qvtest::FixtureFolder() + "nouifile.exe", "UIFILE", 1000,
                                      &language));
  EXPECT_EQ(language, 0);  // loaded, but nothing listed
  EXPECT_FALSE(qv::CheckResLanguageID(qvtest::FixtureFolder() + "missing.exe", 2, 1, &language));
  EXPECT_EQ(language, GetSystemDefaultLCID() & 0xFFFF);
}

// The undo run's boot.ini step on the real "c:\boot.ini": every marking out, the previous
// content kept beside it, the file left read-only, hidden and archive.
TEST(BootIniOnDriveC, RestoreUnmarksAndKeepsTheOldContent) {
  const std::string path = qv::BootINI::kPath;
  const std::string backup = path + qv::BootINI::kBackupSuffix;
  const std::string marked =
      "[boot loader]\r\ntimeout=30\r\ndefault=multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS\r\n"
      "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Microsoft Windows XP "
      "Professional\" /fastdetect /KERNEL=QVLOGO.EXE\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS="
      "\"(Backuped by Quorvex)Microsoft Windows XP Professional\" /fastdetect\r\n";
  qvtest::Remove(backup);
  ASSERT_TRUE(qvtest::WriteAll(path, Bytes(marked.begin(), marked.end())));
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(qv::RestoreBootIni());
  Bytes now = qvtest::ReadAll(path);
  EXPECT_EQ(std::string(now.begin(), now.end()),
            "[boot loader]\r\ntimeout=30\r\ndefault=multi(0)disk(0)rdisk(0)partition(1)\\WINDOWS\r\n"
            "[operating systems]\r\nmulti(0)disk(0)rdisk(0)partition(1)\\WINDOWS=\"Microsoft "
            "Windows XP Professional\" /fastdetect\r\n");
  Bytes kept = qvtest::ReadAll(backup);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), marked);
  EXPECT_EQ(GetFileAttributesA(path.c_str()) &
                (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                 FILE_ATTRIBUTE_ARCHIVE),
            DWORD(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
  EXPECT_FALSE(qvtest::Exists(path + ".qvnew"));
  qvtest::Remove(path);
  qvtest::Remove(backup);
  EXPECT_FALSE(qv::RestoreBootIni());  // no file: nothing to restore, and nothing made
  EXPECT_FALSE(qvtest::Exists(path));
}

}  // namespace

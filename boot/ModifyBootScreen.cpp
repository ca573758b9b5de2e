// The boot screen changer. On Windows 2000 and XP every change builds a work file from a fresh
// copy of the kernel beside the kernel copy, patches and checks it, and only then moves it over
// QVLOGO.EXE, so that the file boot.ini names is never missing, half written or invalid.
#include "boot/ModifyBootScreen.h"

#include <windows.h>

#include <array>
#include <cstring>
#include <vector>

#include "boot/BootPalette.h"
#include "boot/BootPicture.h"
#include "changers/ChangerPicture.h"
#include "changers/ChangerReport.h"
#include "changers/ImagePreparation.h"
#include "changers/ProgramPatch.h"
#include "core/WindowsGeneration.h"
#include "i18n/MessageKeys.h"
#include "image/CxImage.h"
#include "platform/AsciiText.h"
#include "platform/Log.h"

namespace qv {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::uint16_t kBootBitmap = 1;
constexpr std::uint16_t kSmallBitmaps[] = {10, 11, 12};

std::string SystemFolderPath() {
  char folder[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  return n > 0 && n <= MAX_PATH ? std::string(folder, n) : std::string();
}

bool IsKernelGeneration() { return WindowsGeneration == kWin2000 || WindowsGeneration == kWinXP; }

bool IsLogoGeneration() {
  return WindowsGeneration == kWin95 || WindowsGeneration == kWin98 || WindowsGeneration == kWinMe;
}

std::string WorkPath() { return KernelCopyPath() + ".qvwork"; }

// The kernel copy becomes an unchanged copy of the kernel, the state every failed change leaves.
void InstallUnchangedKernel() {
  const std::string work = WorkPath();
  if (!CopyFileFresh(KernelPath(), work) || !ReplaceFileWith(work, KernelCopyPath())) {
    QV_LOG();
    DeleteFileForced(work);
  }
}

// Writes palette over the default boot palette of the file: at the first fixed offset, else
// the second, else the first place a search of the whole file finds. Nothing without one.
void PatchBootPaletteInFile(const std::string& path, const std::uint8_t* palette) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    QV_LOG();
    return;
  }
  std::vector<std::uint8_t> bytes;
  DWORD size = GetFileSize(file, nullptr);
  DWORD got = 0;
  if (size != INVALID_FILE_SIZE) {
    bytes.resize(size);
    if (!ReadFile(file, bytes.data(), size, &got, nullptr) || got != size) bytes.clear();
  }
  std::size_t at = FindBootPalette(bytes.data(), bytes.size());
  DWORD put = 0;
  if (at != kBootPaletteNotFound &&
      (SetFilePointer(file, static_cast<LONG>(at), nullptr, FILE_BEGIN) ==
           INVALID_SET_FILE_POINTER ||
       !WriteFile(file, palette, kBootPaletteSize, &put, nullptr) || put != kBootPaletteSize))
    QV_LOG();
  CloseHandle(file);
}

// The end of every kernel change: checksum, read-back check, then the work file takes the kernel
// copy's place. Whatever fails leaves an unchanged copy of the kernel, and the change failed.
bool InstallKernelCopy(const std::string& work, const std::vector<ExpectedResource>& expected) {
  if (RepairFileChecksum(work) && VerifyPatchedFile(work, expected) &&
      ReplaceFileWith(work, KernelCopyPath()))
    return true;
  QV_LOG();
  DeleteFileForced(work);
  InstallUnchangedKernel();
  return false;
}

// A failure after the fresh copy was made: the work file goes, the kernel copy is left unchanged.
bool AbandonKernelCopy(const std::string& work) {
  DeleteFileForced(work);
  InstallUnchangedKernel();
  return false;
}

// Writes bitmap 1 into the work copy and, with a record (Windows XP), the three small bitmaps;
// lists what the read-back check must find.
bool PutBootBitmaps(const std::string& work, std::uint16_t language,
                    const std::vector<std::uint8_t>& bitmap, const std::vector<std::uint8_t>* record,
                    std::vector<ExpectedResource>* expected) {
  expected->assign(1, {kResourceTypeBitmap, kBootBitmap, language, bitmap});
  ResourceUpdate update(work);
  bool ok = update.IsOpen() &&
            update.Put(kResourceTypeBitmap, kBootBitmap, language, bitmap.data(), bitmap.size());
  if (record) {
    for (std::uint16_t id : kSmallBitmaps) {
      ok = ok && update.Put(kResourceTypeBitmap, id, language, record->data(), record->size());
      expected->push_back({kResourceTypeBitmap, id, language, *record});
    }
  }
  if (!ok || !update.Commit()) {
    QV_LOG();
    return false;
  }
  return true;
}

bool PictureToKernelCopy(CxImage& image) {
  CxRgbQuad palette[256];
  if (!PrepareBootPicture(image, kKernelBootPicture, palette)) {
    QV_LOG_MSG(image.GetLastError());
    return false;
  }
  const bool xp = WindowsGeneration == kWinXP;
  const std::string work = WorkPath();
  if (!CopyFileFresh(KernelPath(), work)) return false;
  std::uint16_t language = 0;
  CheckResLanguageID(KernelPath(), kResourceTypeBitmap, kBootBitmap, &language);

  const std::string temp = MakeTempFileName();
  if (temp.empty() || !image.Save(temp.c_str(), CXIMAGE_FORMAT_BMP)) {
    if (!temp.empty()) DeleteFileForced(temp);
    return AbandonKernelCopy(work);
  }
  std::vector<std::uint8_t> bitmap;
  bool read = ReadWholeFile(temp, &bitmap);
  DeleteFileForced(temp);
  if (!read || bitmap.size() < kFileHeaderSize + 82) {
    QV_LOG();
    return AbandonKernelCopy(work);
  }
  const std::vector<std::uint8_t> packed(bitmap.begin() + kFileHeaderSize, bitmap.end());
  const std::vector<std::uint8_t> record =
      OnePixelRecord(packed.data(), packed.data() + kInfoHeaderSize);

  std::vector<ExpectedResource> expected;
  if (!PutBootBitmaps(work, language, packed, xp ? &record : nullptr, &expected))
    return AbandonKernelCopy(work);
  if (xp) PatchBootPaletteInFile(work, reinterpret_cast<const std::uint8_t*>(palette));
  return InstallKernelCopy(work, expected);
}

// The boot bitmap of another kernel file, byte for byte, as the new boot screen.
bool KernelFileToKernelCopy(const std::string& path) {
  // Loaded as a data file: a kernel is never run, and a 32-bit one loads into any process.
  DataModule other(path);
  if (!other.get()) {
    QV_LOG_MSG(path.c_str());
    return false;
  }
  const bool xp = WindowsGeneration == kWinXP;
  const std::string work = WorkPath();
  if (!CopyFileFresh(KernelPath(), work)) return false;
  std::uint16_t language = 0;
  CheckResLanguageID(KernelPath(), kResourceTypeBitmap, kBootBitmap, &language);

  const std::uint8_t* bytes = nullptr;
  std::size_t size = 0;
  // The header and the 16-entry table at least: the loader draws the boot screen with that
  // table, and the XP palette patch copies it. A shorter resource is no boot bitmap.
  if (!other.Resource(kResourceTypeBitmap, kBootBitmap, &bytes, &size) ||
      size < kInfoHeaderSize + kBootPaletteSize) {
    QV_LOG_MSG(path.c_str());
    return AbandonKernelCopy(work);
  }
  const std::vector<std::uint8_t> bitmap(bytes, bytes + size);
  const std::vector<std::uint8_t> record = OnePixelRecord(bitmap.data(), nullptr);

  std::vector<ExpectedResource> expected;
  if (!PutBootBitmaps(work, language, bitmap, xp ? &record : nullptr, &expected))
    return AbandonKernelCopy(work);
  if (xp) PatchBootPaletteInFile(work, bitmap.data() + kInfoHeaderSize);
  return InstallKernelCopy(work, expected);
}

bool PictureToLogoSys(CxImage& image) {
  CxRgbQuad palette[256];
  const std::string path = LogoSysPath();
  bool ok = PrepareBootPicture(image, kLogoSysPicture, palette);
  if (GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES)
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  ok = ok && SaveBitmapReplacing(image, path);
  if (!ok) {
    QV_LOG_MSG(image.GetLastError());
    ReportToUser(msg::kPictureSave, path, MB_OK);
  }
  SetFileAttributesA(path.c_str(),
                     FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  return ok;
}

}  // namespace

std::string KernelPath() { return SystemFolderPath() + "\\ntoskrnl.exe"; }

std::string KernelCopyPath() { return SystemFolderPath() + "\\QVLOGO.EXE"; }

std::string LogoSysPath() {
  char folder[MAX_PATH + 1] = {};
  UINT n = GetWindowsDirectoryA(folder, MAX_PATH);
  return std::string(1, n > 0 ? folder[0] : 'C') + ":\\LOGO.SYS";
}

bool ChangeBootScreen(const std::string& path) {
  // The extension as the picture lists see it: after the last "." anywhere.
  const std::string ext = platform::LowerExtension(path);
  if (ext.empty()) {
    QV_LOG();
    return false;
  }
  if (ext == "exe") {
    if (!IsKernelGeneration()) {
      QV_LOG();
      return false;
    }
    return KernelFileToKernelCopy(path);
  }
  CxImage image;
  const BootPictureFormat* format = BootPictureFormatFor(WindowsGeneration);
  // At the boot size straight away: a large photo is averaged while it decodes, never held whole.
  const bool loaded = format ? LoadChangerPictureResampled(path, true, &image, PictureLoadReport::kTellUser,
                                                           BootPictureFit(*format))
                             : LoadChangerPicture(path, true, &image);
  if (!loaded) return false;
  if (IsKernelGeneration()) return PictureToKernelCopy(image);
  if (IsLogoGeneration()) return PictureToLogoSys(image);
  if (WindowsGeneration == kWinNT4) return true;
  QV_LOG();
  return false;
}

bool RestoreBootScreen() {
  if (IsLogoGeneration()) {
    const std::string path = LogoSysPath();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    return DeleteFileA(path.c_str()) != FALSE;
  }
  if (IsKernelGeneration()) {
    const std::string work = WorkPath();
    if (CopyFileFresh(KernelPath(), work) && ReplaceFileWith(work, KernelCopyPath())) return true;
    DeleteFileForced(work);
    return false;
  }
  if (WindowsGeneration == kWinNT4) return false;
  QV_LOG();
  return false;
}

}  // namespace qv

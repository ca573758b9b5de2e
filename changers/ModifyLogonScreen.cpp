// The logon screen changer: the composition, the patched copy of the logon program and its
// read-back check. The copy is named as the logon host only after it passed the check.
#include "changers/ModifyLogonScreen.h"

#include <windows.h>

#include <cstring>
#include <vector>

#include "changers/ChangerPicture.h"
#include "changers/ImagePreparation.h"
#include "changers/LogonScreenRes.h"
#include "changers/ProgramPatch.h"
#include "image/CxImage.h"
#include "platform/AsciiText.h"
#include "platform/Handles.h"
#include "platform/Log.h"

namespace qv {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kRecordSize = 82;
constexpr std::uint16_t kBackgroundBitmap = 100;
constexpr std::uint16_t kDecorationBitmaps[] = {123, 127};
constexpr std::uint16_t kDescriptionName = 1000;


// The screen picture: the colour over the whole screen, the picture fitted to the screen and
// centred on it. False (logged) when a drawing step fails.
bool ComposeScreen(CxImage& image, COLORREF colour) {
  ScopedDC desktop(GetDesktopWindow());
  const int width = GetSystemMetrics(SM_CXSCREEN);
  const int height = GetSystemMetrics(SM_CYSCREEN);
  ScopedMemoryDC memory(desktop ? CreateCompatibleDC(desktop.Get()) : nullptr);
  ScopedGdiObj<HBITMAP> screen(memory ? CreateCompatibleBitmap(desktop.Get(), width, height)
                                      : nullptr);
  if (!screen) {
    QV_LOG();
    return false;
  }
  Size fitted = FitToScreen(static_cast<int>(image.GetWidth()), static_cast<int>(image.GetHeight()));
  {
    ScopedSelect drawing(memory.Get(), screen.Get());
    if (!drawing) {
      QV_LOG();
      return false;
    }
    ScopedGdiObj<HBRUSH> brush(CreateSolidBrush(colour));
    RECT all = {0, 0, width, height};
    FillRect(memory.Get(), &all, brush.Get());
    if (fitted.width <= 0 || fitted.height <= 0 || !image.Resample(fitted.width, fitted.height, 0)) {
      QV_LOG_MSG(image.GetLastError());
      return false;
    }
    image.Draw(memory.Get(), (width - fitted.width) / 2, (height - fitted.height) / 2);
  }
  // Out of the drawing context, the bitmap can be read.
  if (!image.CreateFromHBITMAP(screen.Get()) || !image.IsValid()) {
    QV_LOG();
    return false;
  }
  return true;
}

// Bitmaps 123 and 127: the first 82 bytes of the packed screen bitmap as a 1 x 1 picture. A
// composition with a palette (8 bits or fewer) would put palette entries where the pixel
// belongs, so it gets a 24-bit 1 x 1 record of its bottom-left pixel instead.
std::vector<std::uint8_t> DecorationRecord(const CxImage& composed,
                                           const std::vector<std::uint8_t>& packed) {
  if (composed.GetBpp() > 8) return OnePixelRecord(packed.data(), packed.data() + 40);
  std::vector<std::uint8_t> header(packed.begin(), packed.begin() + 40);
  header[14] = 24;  // bits per pixel
  header[15] = 0;
  std::memset(&header[16], 0, 4);  // no compression
  std::memset(&header[32], 0, 8);  // no colour counts
  CxRgbQuad corner = composed.GetPixelColor(0, 0, false);
  const std::uint8_t pixel[38] = {corner.rgbBlue, corner.rgbGreen, corner.rgbRed};
  return OnePixelRecord(header.data(), pixel);
}

// The copy is built and patched under this name and only then takes the copy's place, so that a
// crash leaves no half-written copy behind.
std::string WorkPath() { return LogonCopyPath() + ".qvwork"; }

// The work file, deleted on leaving unless it took the copy's place.
struct WorkFile {
  std::string path = WorkPath();
  bool placed = false;
  ~WorkFile() {
    if (!placed) DeleteFileForced(path);
  }
};

bool CanReplace(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

// An unchanged copy of the system's logon program, put in place whole.
bool InstallUnchangedCopy() {
  WorkFile work;
  if (CopyFileFresh(LogonProgramPath(), work.path) && ReplaceFileWith(work.path, LogonCopyPath())) {
    work.placed = true;
    return true;
  }
  QV_LOG();
  return false;
}

}  // namespace

std::string LogonProgramPath() {
  char folder[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder, n <= MAX_PATH ? n : 0) + "\\logonui.exe";
}

std::string LogonCopyPath() {
  char folder[MAX_PATH + 1] = {};
  UINT n = GetSystemDirectoryA(folder, MAX_PATH);
  return std::string(folder, n <= MAX_PATH ? n : 0) + "\\QVUIHOST.EXE";
}

bool ModifyLogonScreen(const std::string& path, uint32_t backgroundColour) {
  const std::string ext = platform::LowerExtension(path);
  if (ext == "exe" || ext == "dll" || ext == "cpl" || ext == "scr") return SetLogonHost(path);
  return PatchLogonProgram(path, backgroundColour);
}

bool PatchLogonProgram(const std::string& picturePath, uint32_t backgroundColour) {
  const std::string copy = LogonCopyPath();
  // A copy that another process holds open cannot be replaced: then nothing changes.
  if (!CanReplace(copy)) {
    QV_LOG();
    return false;
  }
  // From here on every failure leaves the system's own logon program in effect, and an
  // unchanged copy of it.
  RestoreLogonHost();
  if (!InstallUnchangedCopy()) return false;
  WorkFile work;
  if (!CopyFileFresh(LogonProgramPath(), work.path)) return false;
  CxImage image;
  // Brought to the screen while it loads (a photo is decoded reduced where that still covers
  // the screen); ComposeScreen then finds it at its fitted size.
  const auto fit = [](std::uint32_t width, std::uint32_t height) {
    const Size fitted = FitToScreen(static_cast<int>(width), static_cast<int>(height));
    return CxImage::FittedSize{fitted.width, fitted.height};
  };
  if (!LoadChangerPictureResampled(picturePath, true, &image, PictureLoadReport::kTellUser, fit)) return false;
  std::uint16_t language = 0;
  CheckResLanguageID(LogonProgramPath(), kResourceTypeBitmap, kBackgroundBitmap, &language);
  if (!ComposeScreen(image, static_cast<COLORREF>(backgroundColour))) return false;

  const std::string temp = MakeTempFileName();
  if (temp.empty() || !image.Save(temp.c_str(), CXIMAGE_FORMAT_BMP)) {
    if (!temp.empty()) DeleteFileForced(temp);
    QV_LOG_MSG(image.GetLastError());
    return false;
  }
  std::vector<std::uint8_t> file;
  const bool read = ReadWholeFile(temp, &file);
  DeleteFileForced(temp);
  if (!read || file.size() < kFileHeaderSize + kRecordSize) {
    QV_LOG();
    return false;
  }
  const std::vector<std::uint8_t> packed(file.begin() + kFileHeaderSize, file.end());
  const std::vector<std::uint8_t> record = DecorationRecord(image, packed);

  const std::uint8_t* description = nullptr;
  std::size_t descriptionSize = 0;
  HRSRC own = FindResourceA(nullptr, MAKEINTRESOURCEA(IDR_LOGON_UIFILE), "BIN");
  HGLOBAL ownLoaded = own ? LoadResource(nullptr, own) : nullptr;
  description = ownLoaded ? static_cast<const std::uint8_t*>(LockResource(ownLoaded)) : nullptr;
  descriptionSize = own ? SizeofResource(nullptr, own) : 0;
  if (!description) {
    QV_LOG();
    return false;
  }
  std::vector<ExpectedResource> expected{
      {kResourceTypeBitmap, kBackgroundBitmap, language, packed},
      {"UIFILE", kDescriptionName, language,
       std::vector<std::uint8_t>(description, description + descriptionSize)}};
  {
    ResourceUpdate update(work.path);
    if (!update.IsOpen()) {
      QV_LOG();
      return false;
    }
    bool ok = update.Put(kResourceTypeBitmap, kBackgroundBitmap, language, packed.data(),
                         packed.size());
    for (std::uint16_t id : kDecorationBitmaps) {
      ok = ok && update.Put(kResourceTypeBitmap, id, language, record.data(), record.size());
      expected.push_back({kResourceTypeBitmap, id, language, record});
    }
    ok = ok && update.Put("UIFILE", kDescriptionName, language, description, descriptionSize);
    if (!ok || !update.Commit()) {
      QV_LOG();
      return false;
    }
  }
  if (!RepairFileChecksum(work.path) || !VerifyPatchedFile(work.path, expected) || !ReplaceFileWith(work.path, copy)) {
    // The host stays the system's own program, and the copy the unchanged one.
    QV_LOG();
    return false;
  }
  work.placed = true;
  if (!SetLogonHost(copy)) {
    QV_LOG();
    return false;
  }
  return true;
}

}  // namespace qv

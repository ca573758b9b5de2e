#include "changers/ImagePreparation.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "changers/OctreeQuantizer.h"
#include "image/CxImage.h"
#include "platform/AsciiText.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/StageTrace.h"

namespace qv {
namespace {

PrepareEnvironment& Current() {
  static PrepareEnvironment environment = SystemEnvironment();
  return environment;
}

bool EndsWithSeparator(const std::string& folder) {
  return !folder.empty() && (folder.back() == '\\' || folder.back() == '/');
}

std::string WithSeparator(const std::string& folder) {
  return folder.empty() || EndsWithSeparator(folder) ? folder : folder + "\\";
}

struct ExtensionType {
  const char* extension;
  uint32_t type;
};

// In the order they are looked up; "sys" is handled apart.
constexpr ExtensionType kExtensions[] = {
    {"bmp", CXIMAGE_FORMAT_BMP}, {"dib", CXIMAGE_FORMAT_BMP},  {"rle", CXIMAGE_FORMAT_BMP},
    {"jpg", CXIMAGE_FORMAT_JPG}, {"jpeg", CXIMAGE_FORMAT_JPG}, {"gif", CXIMAGE_FORMAT_GIF},
    {"png", CXIMAGE_FORMAT_PNG}, {"tiff", CXIMAGE_FORMAT_TIF}, {"tif", CXIMAGE_FORMAT_TIF},
    {"tga", CXIMAGE_FORMAT_TGA}, {"pcx", CXIMAGE_FORMAT_PCX},  {"wbmp", CXIMAGE_FORMAT_WBMP},
    {"wmf", CXIMAGE_FORMAT_WMF}, {"emf", CXIMAGE_FORMAT_WMF},
};

// The truncated product of a quotient and a side, as the fitting rules take it.
int Scaled(double numerator, double denominator, int side) {
  return static_cast<int>((numerator / denominator) * side);
}

}  // namespace

const PrepareEnvironment& Environment() { return Current(); }

PrepareEnvironment SetEnvironment(const PrepareEnvironment& environment) {
  PrepareEnvironment previous = Current();
  Current() = environment;
  return previous;
}

bool FormatTypeFromPath(const std::string& path, bool allowSys, uint32_t* type) {
  const std::string extension = platform::LowerExtension(path);
  if (extension.empty()) return false;
  for (const ExtensionType& e : kExtensions) {
    if (extension == e.extension) {
      *type = e.type;
      return true;
    }
    if (allowSys && e.type == CXIMAGE_FORMAT_BMP && extension == "sys") {
      *type = CXIMAGE_FORMAT_BMP;
      return true;
    }
  }
  return false;
}

Size FitToScreenSize(int screenWidth, int screenHeight, int width, int height) {
  // Nothing to measure against, or nothing to scale: the picture keeps its size.
  if (screenWidth <= 0 || screenHeight <= 0 || width <= 0 || height <= 0) return {width, height};
  const double heightRatio = static_cast<double>(height) / screenHeight;
  const double widthRatio = static_cast<double>(width) / screenWidth;
  if (heightRatio >= widthRatio) return {Scaled(screenHeight, height, width), screenHeight};
  return {screenWidth, Scaled(screenWidth, width, height)};
}

Size FitToScreen(int width, int height) {
  int screenWidth = 0, screenHeight = 0;
  Environment().screenSize(&screenWidth, &screenHeight);
  return FitToScreenSize(screenWidth, screenHeight, width, height);
}

Size FitIntoBox(int boxWidth, int boxHeight, int width, int height) {
  if (boxWidth == 0 || boxHeight == 0) return {width, height};
  if (boxWidth == -1 || boxHeight == -1) return FitToScreen(width, height);
  if (boxWidth < 0 || boxHeight < 0 || width <= 0 || height <= 0) return {width, height};
  if (static_cast<double>(height) / boxHeight >= static_cast<double>(width) / boxWidth) {
    if (boxHeight < height) return {Scaled(boxHeight, height, width), boxHeight};
    return {width, height};
  }
  if (boxWidth < width) return {boxWidth, Scaled(boxWidth, width, height)};
  return {width, height};
}

void ReduceToDepth(CxImage& image, int bits) {
  if (bits <= 0 || bits > 8 || !image.IsValid()) return;
  if (!image.IncreaseBpp(24)) return;
  OctreeQuantizer quantizer(1u << bits, static_cast<uint32_t>(bits));
  if (!quantizer.ProcessImage(image)) return;
  CxRgbQuad palette[256];
  std::memset(palette, 0, sizeof palette);
  quantizer.SetColorTable(palette);
  image.DecreaseBpp(static_cast<uint32_t>(bits), true, palette);
}

void MatchDisplayDepth(CxImage& image) { ReduceToDepth(image, Environment().displayBitsPerPixel()); }

std::string ChangerOutputPathIn(const std::string& appDataFolder, const std::string& windowsFolder,
                                const std::string& fileName) {
  std::string folder =
      appDataFolder.empty() ? windowsFolder : WithSeparator(appDataFolder) + kProductFolderName;
  return WithSeparator(folder) + fileName;
}

std::string ChangerOutputPath(const std::string& fileName) {
  const PrepareEnvironment& env = Environment();
  std::string appData = env.appDataFolder();
  if (!appData.empty()) {
    // The settings file's folder; on a first run nothing may have made it yet.
    const std::string folder = WithSeparator(appData) + kProductFolderName;
    if (!platform::IsFolder(folder) && !platform::MakeFolder(folder)) {
      QV_LOG_MSG(folder.c_str());
      appData.clear();
    }
  }
  return ChangerOutputPathIn(appData, env.windowsFolder(), fileName);
}

std::string MakeTempFileName() {
  const PrepareEnvironment& env = Environment();
  const std::string folder = WithSeparator(env.tempFolder());
  const uint32_t t = env.tickCount() % 1377u;
  char number[32];
  for (int i = 0; i <= 9999; ++i) {
    std::snprintf(number, sizeof number, "%u%d.bin", t, i);
    std::string name = folder + number;
    if (!env.fileExists(name)) return name;
  }
  QV_LOG();
  return std::string();
}

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>* bytes) {
  std::string content;
  if (!platform::ReadFileBytes(path, content)) {
    QV_LOG_MSG(path.c_str());
    bytes->clear();
    return false;
  }
  bytes->assign(content.begin(), content.end());
  return true;
}

bool SaveBitmapReplacing(CxImage& image, const std::string& path) {
  if (path.empty()) return false;
  uint8_t* buffer = nullptr;
  long size = 0;
  if (!image.Encode(buffer, size, CXIMAGE_FORMAT_BMP)) {
    std::free(buffer);
    return false;
  }
  platform::TraceStage("encoded");
  const bool written = platform::WriteFileReplacing(path, buffer, static_cast<std::size_t>(size));
  std::free(buffer);
  return written;
}

}  // namespace qv

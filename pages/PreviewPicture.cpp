#include "pages/PreviewPicture.h"

#include <windows.h>

#include <algorithm>

#include "changers/ChangerPicture.h"
#include "changers/ImagePreparation.h"
#include "changers/LoadModuleBitmap.h"
#include "changers/WallpaperPlacement.h"
#include "core/BaseSetupData.h"
#include "image/CxImage.h"
#include "pages/ImageRows.h"
#include "platform/Log.h"

namespace qv {
namespace {

ThumbnailResult Refused() { return ThumbnailResult{}; }

ThumbnailResult Made(HBITMAP bitmap, int width, int height) {
  ThumbnailResult result;
  result.ok = bitmap != nullptr;
  result.bitmap = reinterpret_cast<uintptr_t>(bitmap);
  result.pictureWidth = width;
  result.pictureHeight = height;
  return result;
}

// A logon program's own screen: its bitmap 100 (else 1) shrunk into the monitor's screen.
ThumbnailResult ProgramPicture(const std::string& path, const ThumbnailJob& job) {
  HBITMAP bitmap = LoadModuleBitmap(path, MAKEINTRESOURCEA(100), job.width, job.height);
  if (!bitmap) bitmap = LoadModuleBitmap(path, MAKEINTRESOURCEA(1), job.width, job.height);
  int screenWidth = 0, screenHeight = 0;
  Environment().screenSize(&screenWidth, &screenHeight);
  return Made(bitmap, screenWidth, screenHeight);
}

ThumbnailResult ScreenPicture(const std::string& path, const ThumbnailJob& job) {
  int screenWidth = 0, screenHeight = 0;
  Environment().screenSize(&screenWidth, &screenHeight);
  int ownWidth = 0, ownHeight = 0;
  const auto fit = [&](uint32_t width, uint32_t height) {
    ownWidth = static_cast<int>(width);
    ownHeight = static_cast<int>(height);
    const PreviewDecodeSize size = ScreenPreviewDecodeSize(job.width, job.height, screenWidth, screenHeight,
                                                           ownWidth, ownHeight);
    return CxImage::FittedSize{size.width, size.height};
  };
  CxImage image;
  if (!LoadChangerPictureResampled(path, true, &image, PictureLoadReport::kLogOnly, fit)) return Refused();
  return Made(image.MakeBitmap(nullptr), ownWidth, ownHeight);
}

ThumbnailResult StripPicture(const std::string& path, const ThumbnailJob& job) {
  CxImage image;
  if (!LoadChangerPicture(path, false, &image, PictureLoadReport::kLogOnly)) return Refused();
  const int width = static_cast<int>(image.GetWidth()), height = static_cast<int>(image.GetHeight());
  // One tile is all the strip needs; a tile larger than the strip shows only its top-left part.
  if ((width > job.width || height > job.height) &&
      !image.Crop(0, 0, std::min(width, job.width), std::min(height, job.height)))
    QV_LOG();
  return Made(image.MakeBitmap(nullptr), width, height);
}

}  // namespace

PreviewDecodeSize ScreenPreviewDecodeSize(int monitorWidth, int monitorHeight, int screenWidth,
                                          int screenHeight, int width, int height) {
  if (width <= 0 || height <= 0 || monitorWidth <= 0 || monitorHeight <= 0) return {width, height};
  const Size covered = FillScreenSize(monitorWidth, monitorHeight, width, height);
  double scale = static_cast<double>(covered.width) / width;
  if (screenWidth > 0) scale = std::max(scale, static_cast<double>(monitorWidth) / screenWidth);
  scale = std::min(scale, 1.0);
  return {std::max(1, static_cast<int>(width * scale + 0.5)), std::max(1, static_cast<int>(height * scale + 0.5))};
}

ThumbnailResult MakePreviewPicture(const ThumbnailJob& job, PreviewScale scale) {
  const std::string path = job.folder ? FirstFolderPicture(job.path, job.subFolders) : job.path;
  if (path.empty()) return Refused();
  if (scale == PreviewScale::kStrip) return StripPicture(path, job);
  if (IsProgramFileName(path)) return ProgramPicture(path, job);
  return ScreenPicture(path, job);
}

}  // namespace qv

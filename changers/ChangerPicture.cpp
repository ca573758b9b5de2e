#include "changers/ChangerPicture.h"

#include <windows.h>

#include <cstdint>

#include "changers/ChangerReport.h"
#include "changers/ImagePreparation.h"
#include "i18n/MessageKeys.h"
#include "image/CxImage.h"
#include "platform/Log.h"

namespace qv {

namespace {

// The load shared by both entry points; fit null loads the picture as it is.
bool LoadPicture(const std::string& path, bool allowSys, CxImage* image, PictureLoadReport report,
                 const CxImage::SizeFit* fit) {
  std::uint32_t type = 0;
  if (!FormatTypeFromPath(path, allowSys, &type)) {
    QV_LOG();
    return false;
  }
  bool resampled = true;
  const bool loaded = fit ? image->LoadResampled(path.c_str(), type, *fit, &resampled)
                          : image->Load(path.c_str(), type);
  if (!loaded || !image->IsValid()) {
    QV_LOG_MSG(image->GetLastError());
    if (report == PictureLoadReport::kTellUser) ReportToUser(msg::kPictureLoad, path, MB_OK);
    return false;
  }
  if (!resampled) QV_LOG_MSG(image->GetLastError());
  return true;
}

}  // namespace

bool LoadChangerPicture(const std::string& path, bool allowSys, CxImage* image,
                        PictureLoadReport report) {
  return LoadPicture(path, allowSys, image, report, nullptr);
}

bool LoadChangerPictureResampled(const std::string& path, bool allowSys, CxImage* image,
                                 PictureLoadReport report, const CxImage::SizeFit& fit) {
  return LoadPicture(path, allowSys, image, report, &fit);
}

}  // namespace qv

#include "changers/ChangerPicture.h"

#include <windows.h>

#include <cstdint>

#include "changers/ChangerReport.h"
#include "changers/ImagePreparation.h"
#include "i18n/MessageKeys.h"
#include "image/CxImage.h"
#include "platform/Log.h"

namespace qv {

bool LoadChangerPicture(const std::string& path, bool allowSys, CxImage* image,
                        PictureLoadReport report) {
  std::uint32_t type = 0;
  if (!FormatTypeFromPath(path, allowSys, &type)) {
    QV_LOG();
    return false;
  }
  if (!image->Load(path.c_str(), type) || !image->IsValid()) {
    QV_LOG_MSG(image->GetLastError());
    if (report == PictureLoadReport::kTellUser) ReportToUser(msg::kPictureLoad, path, MB_OK);
    return false;
  }
  return true;
}

}  // namespace qv

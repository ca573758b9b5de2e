// The browser toolbar skin changer: the picture, unscaled and at the display's depth, becomes
// "qvieskin.bmp", which the toolbar key's "BackBitmap" names.
#include "changers/ModifyIESkin.h"

#include <windows.h>

#include "changers/ChangerPicture.h"
#include "changers/ChangerReport.h"
#include "changers/ImagePreparation.h"
#include "i18n/MessageKeys.h"
#include "image/CxImage.h"
#include "platform/Log.h"
#include "platform/RegistryKey.h"

namespace qv {
namespace {

constexpr char kOutputName[] = "qvieskin.bmp";
constexpr char kToolbarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
constexpr char kBackBitmap[] = "BackBitmap";

}  // namespace

bool ModifyIESkin(const std::string& path) {
  CxImage image;
  if (!LoadChangerPicture(path, false, &image)) return false;
  MatchDisplayDepth(image);
  const std::string file = ChangerOutputPath(kOutputName);
  if (!SaveBitmapReplacing(image, file)) {
    QV_LOG_MSG(image.GetLastError());
    ReportToUser(msg::kPictureSave, file, MB_OK);
    return false;
  }
  RegistryKey key(HKEY_CURRENT_USER, kToolbarKey, KEY_ALL_ACCESS);
  if (!key.IsOpen() || !key.WriteText(kBackBitmap, file)) {
    QV_LOG();
    return false;
  }
  return true;
}

bool RemoveIESkin() {
  RegistryKey key(HKEY_CURRENT_USER, kToolbarKey, KEY_ALL_ACCESS);
  if (!key.IsOpen() || !key.DeleteValue(kBackBitmap)) {
    QV_LOG();
    return false;
  }
  return true;
}

}  // namespace qv

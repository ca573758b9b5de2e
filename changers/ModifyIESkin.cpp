// The browser toolbar skin changer: the picture, unscaled and at the display's depth, becomes
// "qvieskin.bmp", which the toolbar key's "BackBitmap" names.
#include "changers/ModifyIESkin.h"

#include <windows.h>

#include "changers/ChangerPicture.h"
#include "changers/ImagePreparation.h"
#include "core/Log.h"
#include "core/ShowMessage.h"
#include "i18n/MessageKeys.h"
#include "image/CxImage.h"

namespace qv {
namespace {

constexpr char kOutputName[] = "qvieskin.bmp";
constexpr char kToolbarKey[] = "Software\\Microsoft\\Internet Explorer\\Toolbar";
constexpr char kBackBitmap[] = "BackBitmap";

HKEY OpenToolbarKey() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, kToolbarKey, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
    return nullptr;
  return key;
}

}  // namespace

bool ModifyIESkin(const std::string& path) {
  CxImage image;
  if (!LoadChangerPicture(path, false, &image)) return false;
  MatchDisplayDepth(image);
  const std::string file = ChangerOutputPath(kOutputName);
  if (!SaveBitmapReplacing(image, file)) {
    QV_LOG_MSG(image.GetLastError());
    ShowMessageWithPath(msg::kPictureSave, file, MB_OK);
    return false;
  }
  HKEY key = OpenToolbarKey();
  if (!key) {
    QV_LOG();
    return false;
  }
  LONG written = RegSetValueExA(key, kBackBitmap, 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(file.c_str()),
                                static_cast<DWORD>(file.size() + 1));
  RegCloseKey(key);
  if (written != ERROR_SUCCESS) {
    QV_LOG();
    return false;
  }
  return true;
}

bool RemoveIESkin() {
  HKEY key = OpenToolbarKey();
  if (!key) {
    QV_LOG();
    return false;
  }
  LONG deleted = RegDeleteValueA(key, kBackBitmap);
  RegCloseKey(key);
  if (deleted != ERROR_SUCCESS) {
    QV_LOG();
    return false;
  }
  return true;
}

}  // namespace qv

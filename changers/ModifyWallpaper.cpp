// The wallpaper changer: converts the picture to "qvwallpa.bmp" and names it everywhere the
// system keeps the wallpaper -- the desktop values, the profile, the system call, the theme
// values and the desktop object -- so that no one of them brings an older wallpaper back.
#include "changers/ModifyWallpaper.h"

#include <windows.h>
#include <objbase.h>
#include <shlguid.h>
#include <wininet.h>  // the desktop object is declared only beside it
#include <shlobj.h>

#include <cstdint>
#include <cstring>

#include "changers/ChangerPicture.h"
#include "changers/ChangerReport.h"
#include "changers/ImagePreparation.h"
#include "changers/WallpaperPlacement.h"
#include "i18n/MessageKeys.h"
#include "image/CxImage.h"
#include "platform/AsciiText.h"
#include "platform/Handles.h"
#include "platform/Log.h"
#include "platform/RegistryKey.h"
#include "platform/StageTrace.h"

namespace qv {
namespace {

constexpr char kOutputName[] = "qvwallpa.bmp";
constexpr char kDesktopKey[] = "Control Panel\\Desktop";
constexpr char kLastThemeKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\LastTheme\\";
constexpr char kDesktopGeneralKey[] = "Software\\Microsoft\\Internet Explorer\\Desktop\\General\\";
constexpr int kModeFitToScreen = 3;
constexpr int kModeFillScreen = 4;

void* CreateSystemDesktopObject() {
  void* object = nullptr;
  HRESULT hr = CoCreateInstance(CLSID_ActiveDesktop, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IActiveDesktop, &object);
  return SUCCEEDED(hr) ? object : nullptr;
}

DesktopObjectCreator g_createDesktopObject = &CreateSystemDesktopObject;

// The style the system is told: fit and fill were done by the program and are centred; an unknown
// mode is taken as centred too rather than handed on as a value the system can't show.
int SystemStyle(int mode) { return PlaceWallpaper(mode, 0, 0, 0, 0).systemStyle; }

// Fill: averaged down while it decodes until it covers the screen, then its screen-sized middle.
bool LoadFilled(const std::string& path, CxImage* image) {
  int screenWidth = 0, screenHeight = 0;
  Environment().screenSize(&screenWidth, &screenHeight);
  const auto cover = [=](uint32_t width, uint32_t height) {
    const Size covered = FillScreenSize(screenWidth, screenHeight, static_cast<int>(width),
                                        static_cast<int>(height));
    return CxImage::FittedSize{covered.width, covered.height};
  };
  if (!LoadChangerPictureResampled(path, false, image, PictureLoadReport::kLogOnly, cover)) return false;
  const Size loaded{static_cast<int>(image->GetWidth()), static_cast<int>(image->GetHeight())};
  if (loaded.width <= screenWidth && loaded.height <= screenHeight) return true;
  const CropOrigin origin = CentredCrop(loaded, screenWidth, screenHeight);
  if (!image->Crop(origin.left, origin.top, origin.left + screenWidth, origin.top + screenHeight))
    QV_LOG_MSG(image->GetLastError());  // the whole covering picture is still a wallpaper
  return true;
}

void WriteDesktopStyle(int style) {
  RegistryKey key(HKEY_CURRENT_USER, kDesktopKey, KEY_ALL_ACCESS);
  if (!key.IsOpen()) {
    QV_LOG();
    return;
  }
  if (!key.WriteText("WallpaperStyle", std::to_string(style))) {
    QV_LOG();
    return;
  }
  if (!key.WriteText("TileWallpaper", style == 1 ? "1" : "0")) QV_LOG();
}

void WriteProfileDesktop(const std::string& file, int style) {
  if (!WriteProfileStringA("Desktop", "Wallpaper", file.c_str()) ||
      !WriteProfileStringA("Desktop", "TileWallpaper", style == 1 ? "1" : "0") ||
      !WriteProfileStringA("Desktop", "WallpaperStyle", std::to_string(style).c_str()))
    QV_LOG();
}

void SetSystemWallpaper(const std::string& file) {
  if (!SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(file.c_str()),
                             SPIF_UPDATEINIFILE))
    QV_LOG();
}

// The theme's record of the wallpaper and the desktop's original and converted names. A system
// without a last theme has none of them, and they are left alone there.
void WriteThemeValues(const std::string& file) {
  {
    RegistryKey theme(HKEY_CURRENT_USER, kLastThemeKey, KEY_ALL_ACCESS);
    if (!theme.IsOpen()) return;
    if (!theme.WriteText("Wallpaper", file, REG_EXPAND_SZ)) {
      QV_LOG();
      return;
    }
  }
  RegistryKey desktop(HKEY_CURRENT_USER, kDesktopKey, KEY_ALL_ACCESS);
  if (!desktop.IsOpen()) return;
  for (const char* name : {"Wallpaper", "OriginalWallpaper", "ConvertedWallpaper"}) {
    if (!desktop.WriteText(name, file)) {
      QV_LOG();
      return;
    }
  }
}

void SetDesktopObjectWallpaper(const std::string& file, int style) {
  ScopedCom com;
  IActiveDesktop* desktop = static_cast<IActiveDesktop*>(g_createDesktopObject());
  if (!desktop) {
    QV_LOG_MSG("no desktop object");
    return;
  }
  wchar_t wide[MAX_PATH] = {};
  if (MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH) == 0) {
    QV_LOG();
    desktop->Release();
    return;
  }
  desktop->SetWallpaper(wide, 0);
  WALLPAPEROPT options;
  options.dwSize = sizeof options;
  options.dwStyle = static_cast<DWORD>(style);
  desktop->SetWallpaperOptions(&options, 0);
  desktop->ApplyChanges(AD_APPLY_SAVE | AD_APPLY_HTMLGEN | AD_APPLY_REFRESH);
  desktop->Release();
}

// Everything after the file is written: each place is told even when an earlier one failed.
void NameWallpaperEverywhere(const std::string& file, int style) {
  WriteDesktopStyle(style);
  WriteProfileDesktop(file, style);
  platform::TraceStage("profile");
  SetSystemWallpaper(file);
  platform::TraceStage("system");
  WriteThemeValues(file);
  SetDesktopObjectWallpaper(file, style);
  platform::TraceStage("named");
}

}  // namespace

DesktopObjectCreator SetDesktopObjectCreator(DesktopObjectCreator creator) {
  DesktopObjectCreator previous = g_createDesktopObject;
  g_createDesktopObject = creator ? creator : &CreateSystemDesktopObject;
  return previous;
}

bool ModifyWallpaper(const std::string& path, int positionMode) {
  CxImage image;
  if (positionMode == kModeFitToScreen) {
    // Averaged down while it decodes: a photo is never held at its full size.
    const auto fit = [](uint32_t width, uint32_t height) {
      const Size fitted = FitToScreen(static_cast<int>(width), static_cast<int>(height));
      return CxImage::FittedSize{fitted.width, fitted.height};
    };
    if (!LoadChangerPictureResampled(path, false, &image, PictureLoadReport::kLogOnly, fit)) return false;
  } else if (positionMode == kModeFillScreen) {
    if (!LoadFilled(path, &image)) return false;
  } else if (!LoadChangerPicture(path, false, &image, PictureLoadReport::kLogOnly)) {
    return false;
  }
  platform::TraceStage("loaded");
  const int style = SystemStyle(positionMode);
  MatchDisplayDepth(image);
  platform::TraceStage("prepared");
  const std::string file = ChangerOutputPath(kOutputName);
  if (!SaveBitmapReplacing(image, file)) {
    QV_LOG_MSG(image.GetLastError());
    ReportToUser(msg::kPictureSave, path, MB_OK | MB_ICONERROR);
    return false;
  }
  platform::TraceStage("written");
  NameWallpaperEverywhere(file, style);
  return true;
}

bool ReassertWallpaper(int positionMode) {
  char current[MAX_PATH] = {};
  if (!SystemParametersInfoA(SPI_GETDESKWALLPAPER, MAX_PATH, current, 0)) return false;
  current[MAX_PATH - 1] = '\0';
  const std::string file = ChangerOutputPath(kOutputName);
  std::string desktopObject;
  {
    RegistryKey general(HKEY_CURRENT_USER, kDesktopGeneralKey, KEY_READ);
    if (general.IsOpen() && !general.ReadText("Wallpaper", &desktopObject)) {
      QV_LOG();
      desktopObject.clear();
    }
  }
  if (platform::EqualsIgnoringAsciiCase(current, file) && platform::EqualsIgnoringAsciiCase(file, desktopObject))
    return false;
  NameWallpaperEverywhere(file, SystemStyle(positionMode));
  return true;
}

}  // namespace qv

#include "core/MainWindowServices.h"

#include "changers/ModifyWallpaper.h"
#include "core/Log.h"
#include "imageinfo/InfoPickers.h"

namespace qv {
namespace {

// Entries of modules that are not part of the program yet: each says so in the log and fails.
bool NoLookup(const std::string&, const std::string&, std::string*) { return false; }
int NoMessage(const char* key, UINT) {
  QV_LOG_MSG(key);
  return -1;
}
void NoOwner(HWND) {}
void NoToggle() { QV_LOG_MSG("no screen saver changer in this build"); }
void NoStart(HWND, bool) { QV_LOG_MSG("no screen saver changer in this build"); }
std::string NoPath() { return std::string(); }
void NoWindowCommand(HWND) { QV_LOG_MSG("not available in this build"); }
void NoHelp(HWND, const char*) { QV_LOG_MSG("no help in this build"); }

bool ScreenSaverActive() {
  BOOL active = FALSE;
  return SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0) && active;
}

void SetScreenSaverTimeout(int minutes) {
  if (minutes <= 0) minutes = 5;
  if (!SystemParametersInfoA(SPI_SETSCREENSAVETIMEOUT, static_cast<UINT>(minutes) * 60, nullptr,
                             SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
    QV_LOG();
}

}  // namespace

MainWindowServices ProgramMainWindowServices() {
  MainWindowServices s{};
  s.lookup = &NoLookup;
  s.showMessage = &NoMessage;
  s.setMessageOwner = &NoOwner;
  s.reassertWallpaper = &ReassertWallpaper;
  s.screenSaverActive = &ScreenSaverActive;
  s.toggleScreenSaverActive = &NoToggle;
  s.startScreenSaverNow = &NoStart;
  s.setScreenSaverTimeout = &SetScreenSaverTimeout;
  s.bootLogoPath = &NoPath;
  s.qvLogoPath = &NoPath;
  s.qvUiHostPath = &NoPath;
  s.setupBootIni = &NoWindowCommand;
  s.openHelp = &NoHelp;
  s.openHomePage = &NoWindowCommand;
  s.startUpdateChecks = &NoWindowCommand;
  s.retryUpdateCheck = &NoWindowCommand;
  s.retrySiteList = &NoWindowCommand;
  s.releaseImageInfo = &FreeInfoPickers;
  return s;
}

}  // namespace qv

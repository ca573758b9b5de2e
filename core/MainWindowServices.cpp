#include "core/MainWindowServices.h"

#include "boot/ModifyBootScreen.h"
#include "changers/ModifyLogonScreen.h"
#include "core/Log.h"
#include "core/ShowMessage.h"
#include "i18n/LanguageManager.h"
#include "imageinfo/InfoPickers.h"

namespace qv {
namespace {

bool LanguageLookup(const std::string& section, const std::string& key, std::string* out) {
  return Languages().Lookup(section, key, out);
}

// Entries of modules that are not part of the program yet: each says so in the log and fails.
bool NoReassert(int) {
  QV_LOG_MSG("no wallpaper check in this build");
  return false;
}
void NoToggle() { QV_LOG_MSG("no screen saver changer in this build"); }
void NoStart(HWND, bool) { QV_LOG_MSG("no screen saver changer in this build"); }
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
  s.lookup = &LanguageLookup;
  s.showMessage = &ShowMessage;
  s.setMessageOwner = &SetMessageOwner;
  s.reassertWallpaper = &NoReassert;
  s.screenSaverActive = &ScreenSaverActive;
  s.toggleScreenSaverActive = &NoToggle;
  s.startScreenSaverNow = &NoStart;
  s.setScreenSaverTimeout = &SetScreenSaverTimeout;
  s.bootLogoPath = &LogoSysPath;
  s.qvLogoPath = &KernelCopyPath;
  s.qvUiHostPath = &LogonCopyPath;
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

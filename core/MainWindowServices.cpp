#include "core/MainWindowServices.h"

#include "changers/ModifyWallpaper.h"
#include "changers/ScreenSaverChanger.h"
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
std::string NoPath() { return std::string(); }
void NoWindowCommand(HWND) { QV_LOG_MSG("not available in this build"); }
void NoHelp(HWND, const char*) { QV_LOG_MSG("no help in this build"); }

// The caller already keeps the minutes in effect in its list.
void SetScreenSaverTimeout(int minutes) { ApplyScreenSaverTimeout(minutes); }

}  // namespace

MainWindowServices ProgramMainWindowServices() {
  MainWindowServices s{};
  s.lookup = &NoLookup;
  s.showMessage = &NoMessage;
  s.setMessageOwner = &NoOwner;
  s.reassertWallpaper = &ReassertWallpaper;
  s.screenSaverActive = &ScreenSaverActive;
  s.toggleScreenSaverActive = &ToggleScreenSaverActive;
  s.startScreenSaverNow = &StartScreenSaverNow;
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

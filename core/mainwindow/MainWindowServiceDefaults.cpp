// The failing entries of the main window's services: each says in the log which service is
// missing, and answers as "nothing done".
#include <string>

#include "core/mainwindow/MainWindowServices.h"
#include "platform/Log.h"

namespace qv {
namespace {

void Missing(const char* service) {
  QV_LOG_MSG((std::string("no service in this build: ") + service).c_str());
}

bool NoLookup(const std::string&, const std::string&, std::string*) {
  return Missing("language texts"), false;
}
int NoMessage(const char* key, UINT) { return Missing(key), -1; }
void NoMessageOwner(HWND) { Missing("message owner"); }
bool NoReassert(int) { return Missing("wallpaper re-check"), false; }
bool NoScreenSaverState() { return Missing("screen saver state"), false; }
void NoToggle() { Missing("screen saver toggle"); }
void NoStartNow(HWND, bool) { Missing("screen saver start"); }
void NoTimeout(int) { Missing("screen saver time-out"); }
std::string NoPath() { return Missing("patched file path"), std::string(); }
void NoWindowCommand(HWND) { Missing("window command"); }
void NoChecks(HWND, int) { Missing("update check"); }
void NoNewVersion(HWND, const std::string&) { Missing("new version offer"); }
void NoEnd() { Missing("update check end"); }
void NoHelp(HWND, const char*) { Missing("help"); }
void NoRelease() { Missing("image information"); }

}  // namespace

MainWindowServices DefaultMainWindowServices() {
  MainWindowServices s;
  s.lookup = &NoLookup;
  s.showMessage = &NoMessage;
  s.setMessageOwner = &NoMessageOwner;
  s.reassertWallpaper = &NoReassert;
  s.screenSaverActive = &NoScreenSaverState;
  s.toggleScreenSaverActive = &NoToggle;
  s.startScreenSaverNow = &NoStartNow;
  s.setScreenSaverTimeout = &NoTimeout;
  s.bootLogoPath = &NoPath;
  s.qvLogoPath = &NoPath;
  s.qvUiHostPath = &NoPath;
  s.setupBootIni = &NoWindowCommand;
  s.openHelp = &NoHelp;
  s.openHomePage = &NoWindowCommand;
  s.startUpdateChecks = &NoChecks;
  s.retryUpdateCheck = &NoWindowCommand;
  s.retrySiteList = &NoChecks;
  s.showNewVersion = &NoNewVersion;
  s.endUpdateChecks = &NoEnd;
  s.releaseImageInfo = &NoRelease;
  return s;
}

}  // namespace qv

#include "core/mainwindow/MainWindowServices.h"

#include "boot/ModifyBootScreen.h"
#include "changers/ModifyLogonScreen.h"
#include "changers/ModifyWallpaper.h"
#include "changers/ScreenSaverChanger.h"
#include "core/ShowMessage.h"
#include "i18n/LanguageManager.h"
#include "imageinfo/InfoPickers.h"
#include "net/NetServices.h"

namespace qv {
namespace {

bool LanguageLookup(const std::string& section, const std::string& key, std::string* out) {
  return Languages().Lookup(section, key, out);
}

// The caller already keeps the minutes in effect in its list.
void SetScreenSaverTimeout(int minutes) { ApplyScreenSaverTimeout(minutes); }

}  // namespace

MainWindowServices ProgramMainWindowServices() {
  MainWindowServices s = DefaultMainWindowServices();
  s.lookup = &LanguageLookup;
  s.showMessage = &ShowMessage;
  s.setMessageOwner = &SetMessageOwner;
  s.reassertWallpaper = &ReassertWallpaper;
  s.screenSaverActive = &ScreenSaverActive;
  s.toggleScreenSaverActive = &ToggleScreenSaverActive;
  s.startScreenSaverNow = &StartScreenSaverNow;
  s.setScreenSaverTimeout = &SetScreenSaverTimeout;
  s.bootLogoPath = &LogoSysPath;
  s.qvLogoPath = &KernelCopyPath;
  s.qvUiHostPath = &LogonCopyPath;
  s.openHomePage = &ShowHomePage;
  s.startUpdateChecks = &StartUpdateChecks;
  s.retryUpdateCheck = &RetryUpdateCheck;
  s.retrySiteList = &RetrySiteList;
  s.showNewVersion = &ShowNewVersion;
  s.endUpdateChecks = &EndUpdateChecks;
  s.releaseImageInfo = &FreeInfoPickers;
  return s;
}

}  // namespace qv

#include "core/ListServices.h"

#include "core/Clock.h"
#include "core/RotationRandom.h"
#include "core/ScreenSaverItemData.h"
#include "platform/Log.h"
#include "platform/Platform.h"

namespace qv {
namespace {

void LogNoChanger() { QV_LOG_MSG("no changer is installed for this kind"); }

bool NoBootScreen(const std::string&) { return LogNoChanger(), false; }
bool NoWallpaper(const std::string&, int) { return LogNoChanger(), false; }
bool NoIESkin(const std::string&) { return LogNoChanger(), false; }
bool NoLogonScreen(const std::string&, int32_t) { return LogNoChanger(), false; }
bool NoScreenSaver(const std::string&, int) { return LogNoChanger(), false; }

ListServices& Current() {
  static ListServices services = DefaultServices();
  return services;
}

}  // namespace

ListServices DefaultServices() {
  ListServices s;
  s.clock = &SystemClock();
  s.randomIndex = &RandomIndex;
  s.changeBootScreen = &NoBootScreen;
  s.modifyWallpaper = &NoWallpaper;
  s.modifyIESkin = &NoIESkin;
  s.modifyLogonScreen = &NoLogonScreen;
  s.setScreenSaver = &NoScreenSaver;
  s.screenSaverRunning = &platform::ScreenSaverRunning;
  s.windowsFolder = &platform::WindowsFolder;
  s.systemFolder = &platform::SystemFolder;
  s.scanScreenSavers = &ScanScreenSavers;
  return s;
}

const ListServices& Services() { return Current(); }

ListServices SetServices(const ListServices& services) {
  ListServices previous = Current();
  Current() = services;
  return previous;
}

}  // namespace qv

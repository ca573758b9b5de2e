// How the program's change lists and its undo run reach the changers.
#include "boot/BootIniRestore.h"
#include "boot/ModifyBootScreen.h"
#include "changers/ModifyIESkin.h"
#include "changers/ModifyLogonScreen.h"
#include "changers/ModifyWallpaper.h"
#include "changers/ScreenSaverChanger.h"
#include "core/ListServices.h"
#include "core/MainWindowSeam.h"
#include "core/ProgramChangers.h"
#include "core/StartupRun.h"
#include "core/WindowsGeneration.h"

namespace qv {
namespace {

bool LogonScreen(const std::string& path, int32_t colour) {
  return ModifyLogonScreen(path, static_cast<uint32_t>(colour));
}

}  // namespace

void InstallProgramChangers() {
  ListServices services = DefaultServices();
  services.changeBootScreen = &ChangeBootScreen;
  services.modifyWallpaper = &ModifyWallpaper;
  services.modifyIESkin = &ModifyIESkin;
  services.modifyLogonScreen = &LogonScreen;
  services.setScreenSaver = &SetScreenSaver;
  SetServices(services);
}

void RestoreSystemAppearance() {
  const RestoreSteps steps{&RestoreBootIni, &RestoreBootScreen, &RemoveIESkin, &RestoreLogonHost};
  RestoreSystemAppearance(steps, WindowsGeneration);
}

}  // namespace qv

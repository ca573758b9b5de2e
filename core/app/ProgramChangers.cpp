// How the program's change lists and its undo run reach the changers, and the changers the user.
#include "core/app/ProgramChangers.h"

#include "boot/BootIniRestore.h"
#include "boot/ModifyBootScreen.h"
#include "changers/ChangerReport.h"
#include "changers/ModifyIESkin.h"
#include "changers/ModifyLogonScreen.h"
#include "changers/ModifyWallpaper.h"
#include "changers/ScreenSaverChanger.h"
#include "core/ListServices.h"
#include "core/ShowMessage.h"
#include "core/StartupRun.h"
#include "core/WindowsGeneration.h"
#include "core/app/MainWindowSeam.h"

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
  SetChangerReport(&ShowMessageWithPath);
}

void RestoreSystemAppearance() {
  const RestoreSteps steps{&RestoreBootIni, &RestoreBootScreen, &RemoveIESkin, &RestoreLogonHost};
  RestoreSystemAppearance(steps, WindowsGeneration);
}

}  // namespace qv

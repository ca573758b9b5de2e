// The main window as the program runs it: the real services and pages, the fixed periods.
#include <windows.h>

#include "boot/ui/NewBootIniDlg.h"
#include "core/ShowMessage.h"
#include "core/WindowsGeneration.h"
#include "core/app/MainWindowSeam.h"
#include "core/mainwindow/MainWindowServices.h"
#include "core/mainwindow/PivoraDlg.h"
#include "help/HelpFile.h"
#include "core/app/ProgramPages.h"

namespace qv {
namespace {

void SetupBootIniCommand(HWND owner) { SetupBootIni(owner, WindowsGeneration, &ShowMessage); }
void OpenHelpCommand(HWND owner, const char* topic) { OpenHelp(owner, topic); }

}  // namespace

int RunMainWindow(HINSTANCE instance, PVoptionData& settings, const std::string& settingsPath,
                  bool startupRun) {
  // Without the thumbnail library the pages still work, with icons in place of thumbnails.
  PrepareProgramPages();
  MainWindowServices services = ProgramMainWindowServices();
  services.setupBootIni = &SetupBootIniCommand;
  services.openHelp = &OpenHelpCommand;
  PivoraDlg window(settings, settingsPath, startupRun, services, &MakeProgramPage);
  window.RunWindow(instance);
  CloseHelp();
  return 0;
}

}  // namespace qv

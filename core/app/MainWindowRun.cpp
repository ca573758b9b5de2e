// The main window as the program runs it: the real services and pages, the fixed periods.
#include <windows.h>

#include "core/app/MainWindowSeam.h"
#include "core/mainwindow/MainWindowServices.h"
#include "core/mainwindow/PivoraDlg.h"

namespace qv {
namespace {

// The pages arrive with their own modules; until then the page area stays empty.
std::unique_ptr<ConfigPage> ProgramPages(PageKind) { return nullptr; }

}  // namespace

int RunMainWindow(HINSTANCE instance, PVoptionData& settings, const std::string& settingsPath,
                  bool startupRun) {
  PivoraDlg window(settings, settingsPath, startupRun, ProgramMainWindowServices(), &ProgramPages);
  window.RunWindow(instance);
  return 0;
}

}  // namespace qv

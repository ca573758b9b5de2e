// The main window as the program runs it: the real services and pages, the fixed periods.
#include <windows.h>

#include "core/app/MainWindowSeam.h"
#include "core/app/MainWindowSeam.h"
#include "core/mainwindow/MainWindowServices.h"
#include "core/mainwindow/MainWindowServices.h"
#include "core/mainwindow/PivoraDlg.h"
#include "core/mainwindow/PivoraDlg.h"
#include "pages/ProgramPages.h"

namespace qv {

int RunMainWindow(HINSTANCE instance, PVoptionData& settings, const std::string& settingsPath,
                  bool startupRun) {
  // Without the thumbnail library the pages still work, with icons in place of thumbnails.
  PrepareProgramPages();
  PivoraDlg window(settings, settingsPath, startupRun, ProgramMainWindowServices(), &MakeProgramPage);
  window.RunWindow(instance);
  return 0;
}

}  // namespace qv

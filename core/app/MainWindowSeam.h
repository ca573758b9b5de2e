// Where the application object meets the modules that later fill in the program: the main window
// and the changers' restore steps. Each function here is implemented by the module that owns
// the behaviour.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

class PVoptionData;

// The undo run's three restore steps (boot screen or boot.ini, browser skin, logon host).
void RestoreSystemAppearance();

// Runs the main window over the settings read at start-up (the window owns them from here on and
// saves them to settingsPath) until the process is to end. Returns the exit code.
int RunMainWindow(HINSTANCE instance, PVoptionData& settings, const std::string& settingsPath,
                  bool startupRun);

}  // namespace qv

// Where the application object meets the modules that later fill in the program: the language
// manager, the settings and change lists, the main window, and the changers' restore steps.
// Each function here is implemented by the module that owns the behaviour.
#pragma once

#include <windows.h>

namespace qv {

// Initialises the language manager from the "language" folder beside the program.
// False when no language file can be used: start-up then shows string 103 and ends.
bool InitLanguages();

// The undo run's three restore steps (boot screen or boot.ini, browser skin, logon host).
void RestoreSystemAppearance();

// Constructs the main window, initialises the settings, performs the start-up run when asked,
// and runs the main window until the process is to end. Returns the exit code.
int RunMainWindow(HINSTANCE instance, bool startupRun);

}  // namespace qv

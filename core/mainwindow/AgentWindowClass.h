// The main window's own window class (named in its dialog template), so that other processes can
// tell the agent from the program's message boxes, which share its caption.
#pragma once

#include <windows.h>

namespace qv {

// Registers the class for dialogs of module (a dialog class: the dialog procedure of the system,
// the dialog's window extra bytes). A class the module registered already counts as success.
bool RegisterAgentWindowClass(HINSTANCE module);

}  // namespace qv

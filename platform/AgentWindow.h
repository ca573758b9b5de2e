// The resident agent's main window as every other process finds it (an undo run, a second start,
// the hook library in any process, the screen saver's each-run notice, the installer). The window
// has a class of its own: the program's message boxes carry the same caption and sit above their
// owner, so a search by caption alone can return a message box instead of the agent.
// Plain defines, so that the resource compiler and the installer script read the same names.
#pragma once

#define QV_AGENT_WINDOW_CLASS "QuorvexAgentWindow"
#define QV_AGENT_WINDOW_CAPTION "Quorvex"

#ifndef RC_INVOKED
#include <windows.h>

namespace platform {

// The running agent's main window, or nullptr when none runs.
inline HWND FindAgentWindow() { return FindWindowA(QV_AGENT_WINDOW_CLASS, QV_AGENT_WINDOW_CAPTION); }

}  // namespace platform
#endif

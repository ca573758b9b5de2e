// The agent's global hotkeys 10 to 13 (previous / next wallpaper, previous / next browser skin),
// registered for the main window from the four hotkey settings.
#pragma once

#include <windows.h>

#include "core/PVoptionData.h"

namespace qv {

// The hotkey id of setting index i (kPreviousWallpaper ... kNextIESkin): 10 + i.
constexpr int kFirstHotkeyId = 10;

// Unregisters all four ids, then registers each setting whose key code is not 0 with the
// converted modifier flags. A combination that belongs to another program is skipped. Returns
// how many were registered.
int RegisterAgentHotkeys(HWND window, const HotkeySetting (&hotkeys)[kHotkeyCount]);
void UnregisterAgentHotkeys(HWND window);

}  // namespace qv

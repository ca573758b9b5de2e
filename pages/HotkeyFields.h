// The four hotkey controls that the preferences page and the quick setup wizard's hotkey page
// share: the same control numbers, labels and exchange with the settings' four hotkeys.
#pragma once

#include <windows.h>

#include "core/PVoptionData.h"
#include "widgets/ControlTexts.h"

namespace qv {

// The labels' texts, in the order of the settings' hotkeys.
extern const widgets::ControlText kHotkeyLabelTexts[kHotkeyCount];

// Sets each hotkey control of dialog from its (virtual key, modifier flags) pair.
void LoadHotkeyControls(HWND dialog, const HotkeySetting (&hotkeys)[kHotkeyCount]);
// Reads each control's key and modifiers back into its pair.
void StoreHotkeyControls(HWND dialog, HotkeySetting (&hotkeys)[kHotkeyCount]);

}  // namespace qv

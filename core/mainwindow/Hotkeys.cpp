#include "core/mainwindow/Hotkeys.h"

namespace qv {

int RegisterAgentHotkeys(HWND window, const HotkeySetting (&hotkeys)[kHotkeyCount]) {
  UnregisterAgentHotkeys(window);
  int registered = 0;
  for (int i = 0; i < kHotkeyCount; ++i) {
    const HotkeySetting& hotkey = hotkeys[i];
    if (hotkey.keyCode == 0) continue;
    if (RegisterHotKey(window, kFirstHotkeyId + i, hotkey.RegisterModifiers(), hotkey.keyCode))
      ++registered;
  }
  return registered;
}

void UnregisterAgentHotkeys(HWND window) {
  for (int i = 0; i < kHotkeyCount; ++i) UnregisterHotKey(window, kFirstHotkeyId + i);
}

}  // namespace qv

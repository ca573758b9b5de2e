// The hotkey control: a virtual key and the control's HOTKEYF_* flags (Shift 1, Ctrl 2, Alt 4).
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "widgets/Window.h"

namespace widgets {

class HotkeyControl : public Window {
 public:
  HotkeyControl() = default;
  explicit HotkeyControl(HWND control) : Window(control) {}

  unsigned KeyCode() const { return LOBYTE(LOWORD(Send(HKM_GETHOTKEY))); }
  unsigned Flags() const { return HIBYTE(LOWORD(Send(HKM_GETHOTKEY))); }
  void Set(unsigned keyCode, unsigned flags) const {
    Send(HKM_SETHOTKEY, MAKEWORD(keyCode, flags));
  }
};

}  // namespace widgets

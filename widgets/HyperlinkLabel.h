// A static text drawn as a link: in the system's link colour and underlined, with the hand cursor
// over it and a focus rectangle while it has the keyboard focus. A click, Enter or Space sends
// WM_COMMAND (its id, STN_CLICKED) to its parent, which opens what the link names.
#pragma once

#include <windows.h>

#include "platform/Handles.h"
#include "widgets/Window.h"
#include "widgets/WindowSubclass.h"

namespace widgets {

class HyperlinkLabel : public Window {
 public:
  HyperlinkLabel() = default;
  HyperlinkLabel(const HyperlinkLabel&) = delete;
  HyperlinkLabel& operator=(const HyperlinkLabel&) = delete;

  // Takes over the static control of a dialog template: adds SS_NOTIFY (clicks) and WS_TABSTOP
  // (keyboard focus) and draws it from then on. False when the control does not exist.
  bool Attach(HWND control);
  // The underlined font, made from the control's own when it is attached or gets a new one.
  HFONT LinkFont() const { return font_.Get(); }

 private:
  static LRESULT Route(void* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void MakeFont(HFONT base);
  void Paint();
  void Click() const;

  qv::ScopedGdiObj<HFONT> font_;
  WindowSubclass subclass_;
};

// The colour links are drawn in: the system's hot-track colour where it has one, else blue.
COLORREF LinkColour();

}  // namespace widgets

// A push button with a drop-down arrow on its right: a click on the face is the button's own
// command, a click on the arrow drops down its menu. The button is owner-drawn (BS_OWNERDRAW in
// the template); its parent hands WM_DRAWITEM to Draw. It draws itself with the shared visual
// style when a theme is active, and as a classic button otherwise.
#pragma once

#include <windows.h>

#include "widgets/Window.h"

namespace widgets {

// The drop-down arrow of a button, centred in the part of the button it is given.
void DrawDropDownArrow(HDC dc, const RECT& arrowPart, bool disabled);

class MenuButton : public Window {
 public:
  // Width of the arrow part at the right edge, in pixels.
  static constexpr int kArrowWidth = 16;

  MenuButton() = default;

  // The menu whose first sub-menu drops down (not owned; it must outlive the button's use).
  void SetMenu(HMENU menu) { menu_ = menu; }
  HMENU DropDown() const;
  // Paints the button for its parent's WM_DRAWITEM.
  void Draw(const DRAWITEMSTRUCT& item) const;
  // True when the click that is being handled (the last message's cursor position) lay on the
  // arrow part.
  bool ClickOnArrow() const;
  // Shows the drop-down menu below the button; its commands go to owner.
  void ShowMenu(HWND owner) const;

 private:
  HMENU menu_ = nullptr;  // not owned
};

}  // namespace widgets

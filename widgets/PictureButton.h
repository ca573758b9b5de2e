// A button drawn from bitmaps for its normal, hover, pressed and disabled states, which plays a
// short sound when the mouse enters it. The button is an owner-drawn push button of a dialog
// template; its parent hands the button's WM_DRAWITEM to Draw. A system without a sound device
// changes nothing: the sound is simply not heard.
#pragma once

#include <windows.h>

#include <cstddef>
#include <vector>

#include "platform/Handles.h"
#include "widgets/Window.h"
#include "widgets/WindowSubclass.h"

namespace widgets {

struct PictureButtonBitmaps {
  qv::ScopedGdiObj<HBITMAP> normal;
  qv::ScopedGdiObj<HBITMAP> hover;
  qv::ScopedGdiObj<HBITMAP> pressed;
  qv::ScopedGdiObj<HBITMAP> disabled;
};

// The four bitmaps of an icon on a square of side pixels: on the face colour, on a lighter face
// with a link-coloured frame (hover), sunken and moved by a pixel (pressed), and greyed.
PictureButtonBitmaps BitmapsOfIcon(HICON icon, int side);

// The sound of the mouse entering: a short click as a WAVE file in memory.
const std::vector<unsigned char>& HoverSound();

// What plays a sound (PlaySound with the sound in memory, asynchronous, no default sound); tests
// put a recorder in place. Returns the previous one; nullptr restores PlaySound.
using SoundPlayer = bool (*)(const unsigned char* wave, std::size_t size);
SoundPlayer SetSoundPlayer(SoundPlayer player);

class PictureButton : public Window {
 public:
  enum class State { Normal, Hover, Pressed, Disabled };

  PictureButton() = default;
  PictureButton(const PictureButton&) = delete;
  PictureButton& operator=(const PictureButton&) = delete;

  // Takes over the button (made owner-drawn) with its bitmaps. False when it does not exist.
  bool Attach(HWND button, PictureButtonBitmaps bitmaps);
  // Draws the bitmap of the item's state; false when the item is not this button's.
  bool Draw(const DRAWITEMSTRUCT* item) const;
  // The state an item state shows (ODS_* bits) with the mouse over the button or not.
  State StateOf(UINT itemState) const;
  bool Hovering() const { return hovering_; }

 private:
  static LRESULT Route(void* self, HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void Enter();
  HBITMAP BitmapOf(State state) const;

  PictureButtonBitmaps bitmaps_;
  bool hovering_ = false;
  WindowSubclass subclass_;
};

}  // namespace widgets

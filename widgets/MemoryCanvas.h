// A memory picture on which part of a window is put together before it goes to the window in
// one blit. Drawing straight to a window's device context is slow under Wine: every bitmap
// selected into a memory context made from it, and every image-list draw to it, asks the Wine
// server about the displays, which waits for its turn when the processor is shared. Drawing into
// a device-independent bitmap in a memory context of the screen asks nothing. The canvas keeps
// its picture between uses and grows it when needed; user-interface thread only.
#pragma once

#include <windows.h>

#include "platform/Handles.h"

namespace widgets {

class MemoryCanvas {
 public:
  MemoryCanvas() = default;
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;

  // Prepares the canvas for the area `area` of target, in target's coordinates: its pixels are
  // those of target there (so that what is drawn on the canvas lands on what is already shown),
  // and the canvas's coordinates are target's. The canvas's device context, or nullptr (out of
  // memory); then nothing was changed and the caller draws to target directly.
  HDC Begin(HDC target, const RECT& area);
  // Copies a bitmap's pixels to (x, y) of dc: the canvas's context, or a window's when Begin
  // failed.
  bool DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y);
  // Puts the area given to Begin on target.
  bool End();

 private:
  bool Grow(int width, int height);

  qv::ScopedMemoryDC dc_;
  qv::ScopedGdiObj<HBITMAP> bitmap_;
  HGDIOBJ original_ = nullptr;  // the memory context's own bitmap, put back before deleting
  qv::ScopedMemoryDC source_;   // selects the bitmaps that DrawBitmap copies
  int width_ = 0;
  int height_ = 0;
  HDC target_ = nullptr;  // between Begin and End; not owned
  RECT area_{};
};

}  // namespace widgets

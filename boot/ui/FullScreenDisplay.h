// The exclusive full-screen mode of the boot screen preview through DirectDraw, loaded at run
// time: an 8-bit display mode, a 256-entry palette and a flipping primary surface with one back
// buffer. The object owns everything it made; whatever step fails, what was made before it is
// released in reverse order, so that no display mode or exclusive level is left behind.
#pragma once

#include <windows.h>

#include <vector>

struct IUnknown;
struct IDirectDraw;
struct IDirectDraw4;
struct IDirectDrawPalette;
struct IDirectDrawSurface4;

namespace qv {

class FullScreenDisplay {
 public:
  // The steps of Enter, in order; Release undoes the ones made, last first.
  enum Step {
    kLoadLibrary = 1,
    kCreate,
    kQueryInterface,
    kCooperativeLevel,
    kDisplayMode,
    kPalette,
    kPrimarySurface,
    kBackBuffer,
    kPaletteOnPrimary,
    kPaletteOnBackBuffer,
    kStepCount
  };

  FullScreenDisplay() = default;
  ~FullScreenDisplay() { Release(); }
  FullScreenDisplay(const FullScreenDisplay&) = delete;
  FullScreenDisplay& operator=(const FullScreenDisplay&) = delete;

  // Takes window exclusively full screen at width x height, 8 bits, with palette (256 entries).
  // False when a step fails (logged): everything made so far is released again.
  bool Enter(HWND window, int width, int height, const RGBQUAD* palette);
  // Gives the display back: surfaces and palette released, the cooperative level back to
  // normal (which restores the display mode), the interfaces and the library released.
  void Release();
  bool Active() const { return made_.size() == kStepCount - 1; }

  // The device context of the primary surface, or nullptr (logged); give it back with ReleaseDC.
  HDC GetDC();
  void ReleaseDC(HDC dc);

  // Tests: the step that is to fail as if the system had refused it (0: none), and the steps
  // the last Release undid, in the order it undid them.
  void FailAtStep(int step) { failAt_ = step; }
  const std::vector<int>& Undone() const { return undone_; }

 private:
  bool Make(int step, HWND window, int width, int height, const RGBQUAD* palette);
  bool MakeSurfaces();
  void Undo(int step);

  using DirectDrawCreateFn = HRESULT(WINAPI*)(GUID*, IDirectDraw**, IUnknown*);
  DirectDrawCreateFn create_ = nullptr;  // found in the system's ddraw.dll
  IDirectDraw* draw_ = nullptr;
  IDirectDraw4* draw4_ = nullptr;
  IDirectDrawPalette* palette_ = nullptr;
  IDirectDrawSurface4* primary_ = nullptr;
  IDirectDrawSurface4* back_ = nullptr;
  HWND window_ = nullptr;
  std::vector<int> made_;
  std::vector<int> undone_;
  int failAt_ = 0;
};

}  // namespace qv

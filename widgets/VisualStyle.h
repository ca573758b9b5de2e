// The system's visual-style library (uxtheme.dll), loaded once from the system folder when it is
// there. Controls that draw themselves ask it for the themed button face and fall back to the
// classic face when the library is missing or no theme is in use.
#pragma once

#include <windows.h>

namespace widgets {

class VisualStyle {
 public:
  // The one process-wide object (user-interface thread only).
  static VisualStyle& Shared();

  // True when the library is loaded and a theme is active for this program.
  bool Active() const;
  // Draws a push-button face into rect: themed when Active(), classic otherwise.
  void DrawButtonFace(HWND button, HDC dc, const RECT& rect, bool pushed, bool hot,
                      bool disabled, bool focused) const;

 private:
  VisualStyle();
  VisualStyle(const VisualStyle&) = delete;
  VisualStyle& operator=(const VisualStyle&) = delete;

  using OpenFn = HANDLE(WINAPI*)(HWND, LPCWSTR);
  using CloseFn = HRESULT(WINAPI*)(HANDLE);
  using DrawFn = HRESULT(WINAPI*)(HANDLE, HDC, int, int, const RECT*, const RECT*);
  using ActiveFn = BOOL(WINAPI*)();

  OpenFn open_ = nullptr;
  CloseFn close_ = nullptr;
  DrawFn draw_ = nullptr;
  ActiveFn appThemed_ = nullptr;
};

}  // namespace widgets

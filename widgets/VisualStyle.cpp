#include "widgets/VisualStyle.h"

#include <string>

namespace widgets {
namespace {

// Part and states of the theme class "BUTTON" (vsstyle.h).
constexpr int kPushButton = 1;
constexpr int kStateNormal = 1, kStateHot = 2, kStatePressed = 3, kStateDisabled = 4,
              kStateDefaulted = 5;

}  // namespace

VisualStyle& VisualStyle::Shared() {
  static VisualStyle style;
  return style;
}

VisualStyle::VisualStyle() {
  char folder[MAX_PATH];
  UINT n = ::GetSystemDirectoryA(folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  // By full path: a library of that name in the current folder is never taken.
  library_ = ::LoadLibraryA((std::string(folder, n) + "\\uxtheme.dll").c_str());
  if (!library_) return;
  open_ = reinterpret_cast<OpenFn>(::GetProcAddress(library_, "OpenThemeData"));
  close_ = reinterpret_cast<CloseFn>(::GetProcAddress(library_, "CloseThemeData"));
  draw_ = reinterpret_cast<DrawFn>(::GetProcAddress(library_, "DrawThemeBackground"));
  appThemed_ = reinterpret_cast<ActiveFn>(::GetProcAddress(library_, "IsAppThemed"));
}

VisualStyle::~VisualStyle() {
  if (library_) ::FreeLibrary(library_);
}

bool VisualStyle::Active() const {
  return open_ && close_ && draw_ && appThemed_ && appThemed_() != FALSE;
}

void VisualStyle::DrawButtonFace(HWND button, HDC dc, const RECT& rect, bool pushed, bool hot,
                                 bool disabled, bool focused) const {
  if (Active()) {
    if (HANDLE theme = open_(button, L"BUTTON")) {
      int state = disabled ? kStateDisabled
                  : pushed ? kStatePressed
                  : hot    ? kStateHot
                  : focused ? kStateDefaulted
                            : kStateNormal;
      draw_(theme, dc, kPushButton, state, &rect, nullptr);
      close_(theme);
      return;
    }
  }
  RECT face = rect;
  ::DrawFrameControl(dc, &face, DFC_BUTTON,
                     DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0) | (disabled ? DFCS_INACTIVE : 0));
}

}  // namespace widgets

#include "widgets/VisualStyle.h"

#include <string>

#include "platform/SystemFunctions.h"

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
  // The theme library exists from XP on; before it, every button is drawn the classic way.
  using platform::LoadSystemFunction;
  using platform::SystemFunction;
  open_ = LoadSystemFunction<OpenFn>(SystemFunction::kOpenThemeData);
  close_ = LoadSystemFunction<CloseFn>(SystemFunction::kCloseThemeData);
  draw_ = LoadSystemFunction<DrawFn>(SystemFunction::kDrawThemeBackground);
  appThemed_ = LoadSystemFunction<ActiveFn>(SystemFunction::kIsAppThemed);
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

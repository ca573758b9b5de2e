#include "widgets/MenuButton.h"

#include <string>

#include "widgets/VisualStyle.h"

namespace widgets {

void DrawDropDownArrow(HDC dc, const RECT& arrowPart, bool disabled) {
  const int cx = (arrowPart.left + arrowPart.right) / 2;
  const int cy = (arrowPart.top + arrowPart.bottom) / 2;
  POINT points[3] = {{cx - 4, cy - 2}, {cx + 4, cy - 2}, {cx, cy + 2}};
  HBRUSH brush = ::GetSysColorBrush(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT);
  HPEN pen = static_cast<HPEN>(::GetStockObject(NULL_PEN));
  HGDIOBJ oldBrush = ::SelectObject(dc, brush);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  ::Polygon(dc, points, 3);
  ::SelectObject(dc, oldPen);
  ::SelectObject(dc, oldBrush);
}

HMENU MenuButton::DropDown() const { return menu_ ? ::GetSubMenu(menu_, 0) : nullptr; }

void MenuButton::Draw(const DRAWITEMSTRUCT& item) const {
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  RECT rect = item.rcItem;
  VisualStyle::Shared().DrawButtonFace(item.hwndItem, item.hDC, rect, pushed, false, disabled,
                                       focused);
  RECT arrow = rect;
  arrow.left = rect.right - kArrowWidth;
  RECT text = rect;
  text.right = arrow.left;
  if (pushed) ::OffsetRect(&text, 1, 1);
  // The separator between face and arrow.
  RECT line{arrow.left, rect.top + 4, arrow.left + 1, rect.bottom - 4};
  ::FillRect(item.hDC, &line, ::GetSysColorBrush(COLOR_BTNSHADOW));
  DrawDropDownArrow(item.hDC, arrow, disabled);
  std::string caption = Window(item.hwndItem).Text();
  ::SetBkMode(item.hDC, TRANSPARENT);
  ::SetTextColor(item.hDC, ::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT));
  ::DrawTextA(item.hDC, caption.c_str(), -1, &text,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  if (focused) {
    RECT focus = rect;
    ::InflateRect(&focus, -3, -3);
    ::DrawFocusRect(item.hDC, &focus);
  }
}

bool MenuButton::ClickOnArrow() const {
  DWORD position = ::GetMessagePos();
  POINT point{static_cast<short>(LOWORD(position)), static_cast<short>(HIWORD(position))};
  RECT rect = WindowRect();
  rect.left = rect.right - kArrowWidth;
  return ::PtInRect(&rect, point) != FALSE;
}

void MenuButton::ShowMenu(HWND owner) const {
  HMENU menu = DropDown();
  if (!menu) return;
  RECT rect = WindowRect();
  ::TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, rect.left, rect.bottom, 0,
                   owner, nullptr);
}

}  // namespace widgets

#include "widgets/HyperlinkLabel.h"

#include <commctrl.h>

namespace widgets {
namespace {


int Brightness(COLORREF colour) {
  return (GetRValue(colour) * 299 + GetGValue(colour) * 587 + GetBValue(colour) * 114) / 1000;
}

}  // namespace

COLORREF LinkColour() {
  // COLOR_HOTLIGHT is known from Windows 98 and 2000 on (older systems answer black), and some
  // colour schemes use it as a pale hot-tracking background: then the usual link blue.
  COLORREF colour = ::GetSysColor(COLOR_HOTLIGHT);
  const int contrast = Brightness(::GetSysColor(COLOR_BTNFACE)) - Brightness(colour);
  return colour != RGB(0, 0, 0) && (contrast > 96 || contrast < -96) ? colour : RGB(0, 102, 204);
}

bool HyperlinkLabel::Attach(HWND control) {
  if (!control || subclass_.Attached()) return false;
  Window::Attach(control);
  LONG_PTR style = ::GetWindowLongPtrA(control, GWL_STYLE);
  ::SetWindowLongPtrA(control, GWL_STYLE, style | SS_NOTIFY | WS_TABSTOP);
  MakeFont(Font());
  const bool attached = subclass_.Attach(control, &Route, this);
  ::InvalidateRect(control, nullptr, TRUE);
  return attached;
}

void HyperlinkLabel::MakeFont(HFONT base) {
  LOGFONTA description{};
  if (!base) base = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
  if (!::GetObjectA(base, sizeof description, &description)) return;
  description.lfUnderline = TRUE;
  font_.Reset(::CreateFontIndirectA(&description));
}

LRESULT HyperlinkLabel::Route(void* self, HWND, UINT message, WPARAM wParam, LPARAM lParam) {
  return static_cast<HyperlinkLabel*>(self)->OnMessage(message, wParam, lParam);
}

LRESULT HyperlinkLabel::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_SETCURSOR: {
      HCURSOR hand = ::LoadCursor(nullptr, IDC_HAND);
      ::SetCursor(hand ? hand : ::LoadCursor(nullptr, IDC_ARROW));
      return TRUE;
    }
    case WM_GETDLGCODE: {
      // Enter reaches the link instead of the dialog's default button.
      const MSG* key = reinterpret_cast<const MSG*>(lParam);
      LRESULT code = DLGC_BUTTON;
      if (key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
      if (wParam == VK_RETURN || wParam == VK_SPACE) {
        Click();
        return 0;
      }
      break;
    case WM_LBUTTONDOWN:
      ::SetFocus(Handle());
      break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      ::InvalidateRect(Handle(), nullptr, TRUE);
      break;
    case WM_SETFONT:
      MakeFont(reinterpret_cast<HFONT>(wParam));
      break;
    case WM_SETTEXT: {
      LRESULT result = subclass_.CallPrevious(Handle(), message, wParam, lParam);
      ::InvalidateRect(Handle(), nullptr, TRUE);
      return result;
    }
  }
  return subclass_.CallPrevious(Handle(), message, wParam, lParam);
}

void HyperlinkLabel::Click() const {
  ::SendMessageA(Parent(), WM_COMMAND, MAKEWPARAM(Id(), STN_CLICKED),
                 reinterpret_cast<LPARAM>(Handle()));
}

void HyperlinkLabel::Paint() {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(Handle(), &paint);
  if (!dc) return;
  RECT client = ClientRect();
  // The parent's background for statics, as a plain static would draw it.
  HBRUSH background = reinterpret_cast<HBRUSH>(::SendMessageA(
      Parent(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(Handle())));
  ::FillRect(dc, &client, background ? background : ::GetSysColorBrush(COLOR_BTNFACE));
  HGDIOBJ previous = ::SelectObject(dc, font_ ? font_.Get() : Font());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, IsEnabled() ? LinkColour() : ::GetSysColor(COLOR_GRAYTEXT));
  const std::string text = Text();
  RECT bounds = client;
  ::DrawTextA(dc, text.c_str(), -1, &bounds, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  bounds.right += 2;
  if (bounds.right > client.right) bounds.right = client.right;
  RECT textRect = bounds;
  ::OffsetRect(&textRect, 1, 0);
  ::DrawTextA(dc, text.c_str(), -1, &textRect, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
  if (::GetFocus() == Handle()) ::DrawFocusRect(dc, &bounds);
  ::SelectObject(dc, previous);
  ::EndPaint(Handle(), &paint);
}

}  // namespace widgets

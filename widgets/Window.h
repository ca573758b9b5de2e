// A non-owning handle of one window with typed one-line forwards. Copying a Window copies the
// handle only; destroying one never destroys the window.
#pragma once

#include <windows.h>

#include <string>

namespace widgets {

class Window {
 public:
  Window() = default;
  explicit Window(HWND window) : hwnd_(window) {}

  operator HWND() const { return hwnd_; }
  HWND Handle() const { return hwnd_; }
  void Attach(HWND window) { hwnd_ = window; }
  HWND Detach() {
    HWND window = hwnd_;
    hwnd_ = nullptr;
    return window;
  }

  bool IsWindow() const { return hwnd_ && ::IsWindow(hwnd_) != FALSE; }
  bool IsVisible() const { return ::IsWindowVisible(hwnd_) != FALSE; }
  bool IsEnabled() const { return ::IsWindowEnabled(hwnd_) != FALSE; }
  bool Show(int command) const { return ::ShowWindow(hwnd_, command) != FALSE; }
  bool Enable(bool enable) const { return ::EnableWindow(hwnd_, enable ? TRUE : FALSE) != FALSE; }
  bool Destroy() {
    bool done = ::DestroyWindow(hwnd_) != FALSE;
    hwnd_ = nullptr;
    return done;
  }

  HWND Item(int id) const { return ::GetDlgItem(hwnd_, id); }
  int Id() const { return ::GetDlgCtrlID(hwnd_); }
  HWND Parent() const { return ::GetParent(hwnd_); }
  // The top-level window this one is a child of (itself when it is none). GetAncestor would do
  // it, but NT 4.0 before its fourth service pack lacks it.
  HWND Root() const {
    HWND root = hwnd_;
    while (root && (::GetWindowLongA(root, GWL_STYLE) & WS_CHILD) && ::GetParent(root))
      root = ::GetParent(root);
    return root;
  }

  bool SetText(const char* text) const { return ::SetWindowTextA(hwnd_, text) != FALSE; }
  bool SetText(const std::string& text) const { return SetText(text.c_str()); }
  std::string Text() const {
    int length = ::GetWindowTextLengthA(hwnd_);
    std::string text(length > 0 ? length + 1 : 1, '\0');
    int copied = ::GetWindowTextA(hwnd_, &text[0], static_cast<int>(text.size()));
    text.resize(copied > 0 ? copied : 0);
    return text;
  }

  RECT ClientRect() const {
    RECT r{};
    ::GetClientRect(hwnd_, &r);
    return r;
  }
  RECT WindowRect() const {
    RECT r{};
    ::GetWindowRect(hwnd_, &r);
    return r;
  }
  bool Move(int x, int y, int width, int height, bool repaint = true) const {
    return ::MoveWindow(hwnd_, x, y, width, height, repaint ? TRUE : FALSE) != FALSE;
  }
  bool Move(const RECT& r, bool repaint = true) const {
    return Move(r.left, r.top, r.right - r.left, r.bottom - r.top, repaint);
  }
  bool SetPosition(HWND after, int x, int y, int width, int height, UINT flags) const {
    return ::SetWindowPos(hwnd_, after, x, y, width, height, flags) != FALSE;
  }

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageA(hwnd_, message, wParam, lParam);
  }
  bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageA(hwnd_, message, wParam, lParam) != FALSE;
  }

  bool SetTimer(UINT_PTR id, UINT periodMs) const {
    return ::SetTimer(hwnd_, id, periodMs, nullptr) != 0;
  }
  bool KillTimer(UINT_PTR id) const { return ::KillTimer(hwnd_, id) != FALSE; }

  HMENU Menu() const { return ::GetMenu(hwnd_); }
  bool SetMenu(HMENU menu) const { return ::SetMenu(hwnd_, menu) != FALSE; }
  HMENU SystemMenu() const { return ::GetSystemMenu(hwnd_, FALSE); }

  void SetIcons(HICON big, HICON small) const {
    Send(WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    Send(WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small));
  }
  bool SetFont(HFONT font) const {
    Send(WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    return true;
  }
  HFONT Font() const { return reinterpret_cast<HFONT>(Send(WM_GETFONT)); }

 private:
  HWND hwnd_ = nullptr;  // not owned
};

}  // namespace widgets

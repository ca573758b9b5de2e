// Takes over the messages of one window by replacing its window procedure, and passes on what
// the handler leaves to the procedure it replaced. Only calls that every Windows version has:
// the common controls' subclass functions exist by name only from version 6 (XP with a
// manifest) and by ordinal only from 5.8, which Windows 98, NT 4.0 and unupdated systems lack.
#pragma once

#include <windows.h>

namespace widgets {

class WindowSubclass {
 public:
  // Gets every message of the window while attached; returns the message's result, calling
  // CallPrevious for what it does not handle itself. context is the handler's, not owned.
  using Handler = LRESULT (*)(void* context, HWND window, UINT message, WPARAM wParam,
                              LPARAM lParam);

  WindowSubclass() = default;
  ~WindowSubclass();  // Detach
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;

  // Puts the handler in front of the window's procedure. One subclass per window; false when
  // the window does not exist, already has one of ours, or this one is attached elsewhere.
  bool Attach(HWND window, Handler handler, void* context);
  // Gives the window its previous procedure back. When the window has been subclassed again
  // since, ours stays in the chain (taking it out would cut the later one off) and keeps passing
  // every message on. The window's WM_NCDESTROY detaches by itself.
  void Detach();
  bool Attached() const { return record_ != nullptr; }

  // The replaced procedure's answer to a message.
  LRESULT CallPrevious(HWND window, UINT message, WPARAM wParam, LPARAM lParam) const;

  struct Record;  // kept in a window property; see the .cpp

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_ = nullptr;     // not owned
  Record* record_ = nullptr;  // owned while attached; the window's own once left in its chain
};

}  // namespace widgets

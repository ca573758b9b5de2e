// A window of a class of our own: one static window procedure per class name stores `this` at
// WM_NCCREATE and hands every message to the virtual OnMessage (default: DefWindowProc).
// Exceptions stop at the procedure: logged, and the message goes to DefWindowProc.
#pragma once

#include <windows.h>

#include "widgets/Window.h"

namespace widgets {

class CustomWindow : public Window {
 public:
  CustomWindow() = default;
  virtual ~CustomWindow();
  CustomWindow(const CustomWindow&) = delete;
  CustomWindow& operator=(const CustomWindow&) = delete;

  // Registers className once per process (no cursor, no background) and creates the window.
  // False (logged) when either fails.
  bool Create(const char* className, DWORD style, DWORD exStyle, int x, int y, int width,
              int height, HWND parent);

 protected:
  virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

}  // namespace widgets

// Reading a message box from outside: its caption and the text of its static controls.
#pragma once

#include <windows.h>

#include <string>

namespace qvtest {

// The texts of the box's static controls (the icon has none), joined by "|".
inline std::string StaticTexts(HWND box) {
  std::string out;
  for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char cls[32], text[1024];
    GetClassNameA(child, cls, sizeof cls);
    if (lstrcmpiA(cls, "Static") != 0 || GetWindowTextA(child, text, sizeof text) <= 0) continue;
    if (!out.empty()) out += "|";
    out += text;
  }
  return out;
}

// The static texts once the box has been filled in and shown: a window with the caption exists
// a moment before its texts are set.
inline std::string WaitForStaticTexts(HWND box, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  std::string texts;
  while ((!IsWindowVisible(box) || (texts = StaticTexts(box)).empty()) &&
         GetTickCount() - start < timeoutMs)
    Sleep(50);
  return texts;
}

inline bool IsDialogClass(HWND window) {
  char cls[32];
  GetClassNameA(window, cls, sizeof cls);
  return lstrcmpA(cls, "#32770") == 0;
}

}  // namespace qvtest

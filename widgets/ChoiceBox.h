// A drop-down list combo box of texts: fill, select, read the selection. Non-owning typed
// forwards, as Window.
#pragma once

#include <windows.h>

#include <string>

#include "widgets/Window.h"

namespace widgets {

class ChoiceBox : public Window {
 public:
  ChoiceBox() = default;
  explicit ChoiceBox(HWND control) : Window(control) {}

  void Clear() const { Send(CB_RESETCONTENT); }
  int Add(const std::string& text) const {
    return static_cast<int>(Send(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str())));
  }
  int Count() const { return static_cast<int>(Send(CB_GETCOUNT)); }
  // -1 selects nothing; false when index is outside the list.
  bool Select(int index) const { return Send(CB_SETCURSEL, index) != CB_ERR || index == -1; }
  int Selection() const { return static_cast<int>(Send(CB_GETCURSEL)); }
  std::string ItemText(int index) const {
    LRESULT length = Send(CB_GETLBTEXTLEN, index);
    if (length == CB_ERR) return std::string();
    std::string text(static_cast<size_t>(length) + 1, '\0');
    Send(CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(static_cast<size_t>(length));
    return text;
  }
};

}  // namespace widgets

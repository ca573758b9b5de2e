// The small controls of the pages: drop-down combo box, check box, and an edit box with its
// up-down (spin) control and a range. Non-owning typed forwards, as Window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "widgets/Window.h"

namespace widgets {

class ComboBox : public Window {
 public:
  ComboBox() = default;
  explicit ComboBox(HWND control) : Window(control) {}

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

class CheckBox : public Window {
 public:
  CheckBox() = default;
  explicit CheckBox(HWND control) : Window(control) {}

  bool Checked() const { return Send(BM_GETCHECK) == BST_CHECKED; }
  void SetChecked(bool checked) const { Send(BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED); }
};

// An edit box of whole numbers and the up-down control that steps it. The spin's range is the
// allowed range; Value reads what the user typed, which may lie outside it.
class NumberEdit {
 public:
  NumberEdit() = default;

  void Attach(HWND edit, HWND spin) {
    edit_.Attach(edit);
    spin_.Attach(spin);
  }
  HWND Edit() const { return edit_.Handle(); }
  HWND Spin() const { return spin_.Handle(); }

  void SetRange(int low, int high) {
    low_ = low;
    high_ = high;
    spin_.Send(UDM_SETRANGE32, low, high);
  }
  int Low() const { return low_; }
  int High() const { return high_; }
  void SetValue(int value) const {
    edit_.SetText(std::to_string(value));
    spin_.Send(UDM_SETPOS32, 0, value);
  }
  // The number in the edit box; false when it holds no whole number or one outside the range
  // (value then holds what could be read, or 0).
  bool Value(int* value) const;
  void Enable(bool enable) const {
    edit_.Enable(enable);
    spin_.Enable(enable);
  }

 private:
  Window edit_;
  Window spin_;
  int low_ = 0;
  int high_ = 100;
};

inline bool NumberEdit::Value(int* value) const {
  const std::string text = edit_.Text();
  long long number = 0;
  size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  bool negative = i < text.size() && text[i] == '-';
  if (negative) ++i;
  bool seen = false;
  // The up-down control writes thousands separators into its buddy; they are not digits.
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c == ',' || c == '.' || c == '\'') continue;
    if (c < '0' || c > '9') break;
    seen = true;
    if (number < 10000000000LL) number = number * 10 + (c - '0');
  }
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (negative) number = -number;
  *value = number > 2147483647LL ? 2147483647 : number < -2147483647LL ? -2147483647 : static_cast<int>(number);
  if (!seen || i != text.size()) return false;
  return number >= low_ && number <= high_;
}

}  // namespace widgets

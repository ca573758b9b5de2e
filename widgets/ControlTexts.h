// The texts of a dialog's controls from a (control id, section, key) table: each control whose
// key the lookup finds gets that text; a missing key keeps the template's own text.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace widgets {

struct ControlText {
  int control;
  const char* section;
  const char* key;
};

// The text of key in section of the language in use; false when there is none.
using TextLookup = bool (*)(const std::string& section, const std::string& key, std::string* out);

inline void SetControlTexts(HWND dialog, const ControlText* rows, std::size_t count,
                            TextLookup lookup) {
  for (std::size_t i = 0; i < count; ++i) {
    std::string text;
    if (lookup(rows[i].section, rows[i].key, &text))
      ::SetDlgItemTextA(dialog, rows[i].control, text.c_str());
  }
}

template <std::size_t N>
void SetControlTexts(HWND dialog, const ControlText (&rows)[N], TextLookup lookup) {
  SetControlTexts(dialog, rows, N, lookup);
}

}  // namespace widgets

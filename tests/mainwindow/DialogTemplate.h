// An in-memory dialog template without controls, so that dialog tests need no resource script.
#pragma once

#include <windows.h>

#include <vector>

namespace qvtest {

class DialogTemplate {
 public:
  DialogTemplate(DWORD style, short width, short height) : words_(16, 0) {
    DLGTEMPLATE* t = reinterpret_cast<DLGTEMPLATE*>(words_.data());
    t->style = style;
    t->cdit = 0;
    t->cx = width;
    t->cy = height;
    // Menu, class and title words follow the fixed part, all 0 (none, default, empty).
  }
  const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  std::vector<WORD> words_;  // WORD-aligned, as the dialog manager needs
};

}  // namespace qvtest

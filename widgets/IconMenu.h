// Menus whose commands show a small icon beside their text: the items of pop-up menus become
// owner-drawn (their text stays in the menu, so translating them works as before) and are drawn
// in the system's menu font and colours, with the check mark, the default item in bold, the
// text after a tab right-aligned, and the underlined mnemonic, which keeps working through
// WM_MENUCHAR. Systems whose menus cannot keep a text beside the drawing (95, NT 4) keep plain
// menus. The owner window hands its menu messages to OnMessage.
#pragma once

#include <windows.h>

#include <map>

#include "platform/Handles.h"

namespace widgets {

class IconMenu {
 public:
  IconMenu();
  IconMenu(const IconMenu&) = delete;
  IconMenu& operator=(const IconMenu&) = delete;

  // The icon (not owned; shared resource icons) shown beside command's text.
  void SetIcon(UINT command, HICON icon) { icons_[command] = icon; }
  HICON Icon(UINT command) const;
  // Makes every command and sub-menu item of popup, and of its sub-menus, owner-drawn.
  // Separators stay the system's. False where the system keeps plain menus.
  bool Apply(HMENU popup) const;
  // WM_MEASUREITEM, WM_DRAWITEM (of menus) and WM_MENUCHAR of the owner; true when handled,
  // with the message's result in *result.
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const;

  // The index of popup's item whose mnemonic is key (any case), or -1.
  static int MnemonicItem(HMENU popup, char key);

 private:
  void Measure(MEASUREITEMSTRUCT* item) const;
  void Draw(const DRAWITEMSTRUCT* item) const;

  std::map<UINT, HICON> icons_;
  qv::ScopedGdiObj<HFONT> font_;
  qv::ScopedGdiObj<HFONT> boldFont_;
};

// The small icon size of the system (16 x 16 on most).
int SmallIconSide();

}  // namespace widgets

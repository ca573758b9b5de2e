#include "widgets/Menu.h"

namespace widgets {

bool SetMenuItemText(HMENU menu, UINT idOrPosition, const std::string& text, bool byPosition) {
  // MIIM_TYPE rather than MIIM_STRING: the older systems know only the former. An item drawn
  // with its icon (IconMenu, only where MIIM_STRING exists) keeps its text beside its drawing.
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_TYPE;
  if (!::GetMenuItemInfoA(menu, idOrPosition, byPosition ? TRUE : FALSE, &info)) return false;
  if (info.fType & (MFT_SEPARATOR | MFT_BITMAP)) return false;
  info.fMask = (info.fType & MFT_OWNERDRAW) ? MIIM_STRING : MIIM_TYPE;
  info.dwTypeData = const_cast<char*>(text.c_str());
  info.cch = static_cast<UINT>(text.size());
  return ::SetMenuItemInfoA(menu, idOrPosition, byPosition ? TRUE : FALSE, &info) != FALSE;
}

std::string MenuItemText(HMENU menu, UINT idOrPosition, bool byPosition) {
  char buffer[260] = "";
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  if (!::GetMenuItemInfoA(menu, idOrPosition, byPosition ? TRUE : FALSE, &info)) return "";
  if (info.fType & (MFT_SEPARATOR | MFT_BITMAP)) return "";
  info.fMask = (info.fType & MFT_OWNERDRAW) ? MIIM_STRING : MIIM_TYPE;
  info.dwTypeData = buffer;
  info.cch = sizeof buffer;
  if (!::GetMenuItemInfoA(menu, idOrPosition, byPosition ? TRUE : FALSE, &info)) return "";
  return buffer;
}

bool MenuHasCommand(HMENU menu, UINT id) {
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      if (MenuHasCommand(sub, id)) return true;
    } else if (::GetMenuItemID(menu, i) == id) {
      return true;
    }
  }
  return false;
}

bool RemoveMenuCommand(HMENU menu, UINT id) {
  int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    if (HMENU sub = ::GetSubMenu(menu, i)) {
      if (RemoveMenuCommand(sub, id)) return true;
    } else if (::GetMenuItemID(menu, i) == id) {
      return ::DeleteMenu(menu, i, MF_BYPOSITION) != FALSE;
    }
  }
  return false;
}

}  // namespace widgets

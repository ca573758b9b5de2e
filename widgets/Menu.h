// Helpers over menus that the main window and the tray translate and trim.
#pragma once

#include <windows.h>

#include <string>

namespace widgets {

// Replaces the text of the item with command id (or, with byPosition, at that position),
// keeping its other type bits (separators are left alone). False when there is no such item.
bool SetMenuItemText(HMENU menu, UINT idOrPosition, const std::string& text,
                     bool byPosition = false);
// The item's text, "" when there is no such item.
std::string MenuItemText(HMENU menu, UINT idOrPosition, bool byPosition = false);
// True when some item of menu or of its sub menus has command id.
bool MenuHasCommand(HMENU menu, UINT id);
// Removes the item with command id from menu or whichever sub menu holds it.
bool RemoveMenuCommand(HMENU menu, UINT id);

}  // namespace widgets

// The language keys of the main window, listed once: the menu bar's headings and items, the tray
// menu's items, the screen saver toggle and the page names. The same rows are registered with the
// language-key registry as "Main Window", so that the language files are checked against them.
#pragma once

#include <vector>

#include "core/mainwindow/PageKind.h"

namespace qv {

// A menu item (command id) and its key in section "Menu".
struct MenuText {
  unsigned id;
  const char* key;
};

// A page, its key in section "Page Name" and its help topic, in the order of the page tree.
struct PageEntry {
  PageKind kind;
  const char* nameKey;
  const char* helpTopic;  // nullptr: the help's contents
};

const std::vector<MenuText>& MenuBarTexts();
// The menu bar's headings in position order (section "Menubar").
const std::vector<const char*>& MenuBarHeadings();
// Without the screen saver toggle, whose key follows the system's state.
const std::vector<MenuText>& TrayMenuTexts();
const char* ScreenSaverToggleKey(bool screenSaverActive);
const std::vector<PageEntry>& PageEntries();
const char* PageNameKey(PageKind kind);
// The help topic of a kind's page, or nullptr for the contents.
const char* PageHelpTopic(PageKind kind);

// True once the rows above are in the language-key registry (at static construction).
bool MainWindowKeysRegistered();

}  // namespace qv

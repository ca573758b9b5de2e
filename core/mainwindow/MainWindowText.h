// The keys of section "Menu" for the main window's menu bar and tray menu items.
#pragma once

#include <windows.h>

#include <vector>

#include "core/mainwindow/MainWindowServices.h"

namespace qv {

struct MenuText {
  UINT id;
  const char* key;
};

const std::vector<MenuText>& MenuBarTexts();
// Without the screen saver toggle, whose key follows the system's state.
const std::vector<MenuText>& TrayMenuTexts();
const char* ScreenSaverToggleKey(bool screenSaverActive);

// Sets each item of texts that the language translates.
void TranslateMenu(HMENU menu, const std::vector<MenuText>& texts, const MainWindowServices& services);

}  // namespace qv

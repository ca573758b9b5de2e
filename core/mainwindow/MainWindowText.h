// Translating the main window's menus from the keys of MainWindowKeys.h.
#pragma once

#include <windows.h>

#include <vector>

#include "core/mainwindow/MainWindowKeys.h"
#include "core/mainwindow/MainWindowServices.h"

namespace qv {

// Sets each item of texts that the language translates.
void TranslateMenu(HMENU menu, const std::vector<MenuText>& texts,
                   const MainWindowServices& services);

}  // namespace qv

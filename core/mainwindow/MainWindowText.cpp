// The main window's texts: menu bar headings and items, tray menu items and page names, from
// the language in use. Items without a translation keep their resource text.
#include "core/mainwindow/MainWindowText.h"
#include "core/mainwindow/MainWindowRes.h"
#include "core/mainwindow/PivoraDlg.h"
#include "widgets/Menu.h"

namespace qv {

const std::vector<MenuText>& MenuBarTexts() {
  static const std::vector<MenuText> texts = {
      {ID_PREFERENCES, "Preferences"},   {ID_SETUP_BOOTINI, "Setup BOOT.INI"},
      {ID_CLOSE_CONFIGURE, "Close Configure Window"}, {ID_HELP_CONTENTS, "Contents"},
      {ID_HOMEPAGE, "Quorvex Homepage"}, {ID_ABOUT, "About"},
  };
  return texts;
}

const std::vector<MenuText>& TrayMenuTexts() {
  static const std::vector<MenuText> texts = {
      {ID_CONFIGURE, "Configure"},
      {ID_PREVIOUS_WALLPAPER, "Previous Wallpaper"},
      {ID_NEXT_WALLPAPER, "Next Wallpaper"},
      {ID_PREVIOUS_IESKIN, "Previous IE Skin"},
      {ID_NEXT_IESKIN, "Next IE Skin"},
      {ID_START_SCREENSAVER, "Start Screen Saver"},
      {ID_HELP_CONTENTS, "Help"},
      {ID_ABOUT, "About"},
      {ID_EXIT, "Exit"},
  };
  return texts;
}

const char* ScreenSaverToggleKey(bool screenSaverActive) {
  return screenSaverActive ? "Disable Screen Saver" : "Enable Screen Saver";
}

void TranslateMenu(HMENU menu, const std::vector<MenuText>& texts, const MainWindowServices& services) {
  if (!menu) return;
  for (const MenuText& entry : texts) {
    std::string text;
    if (services.lookup("Menu", entry.key, &text)) widgets::SetMenuItemText(menu, entry.id, text);
  }
}

void PivoraDlg::TranslateMenuBar() {
  HMENU bar = Menu();
  if (!bar) return;
  TranslateMenu(bar, MenuBarTexts(), services_);
  const char* headings[] = {"Setting", "Help"};
  for (UINT i = 0; i < 2; ++i) {
    std::string text;
    if (services_.lookup("Menubar", headings[i], &text))
      widgets::SetMenuItemText(bar, i, text, true);
  }
  DrawMenuBar(Handle());
}

void PivoraDlg::TranslateTrayMenu(HMENU menu) const {
  if (!menu) return;
  TranslateMenu(menu, TrayMenuTexts(), services_);
  bool active = services_.screenSaverActive();
  std::string text = ScreenSaverToggleKey(active);
  services_.lookup("Menu", ScreenSaverToggleKey(active), &text);
  widgets::SetMenuItemText(menu, ID_TOGGLE_SCREENSAVER, text);
}

void PivoraDlg::TranslateAll() {
  TranslateMenuBar();
  frame_.Localize();
}

}  // namespace qv

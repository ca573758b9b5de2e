// The main window's texts (their keys are in MainWindowKeys.cpp) from the language in use. Items
// without a translation keep their resource text.
#include "core/mainwindow/MainWindowText.h"
#include "core/mainwindow/MainWindowRes.h"
#include "core/mainwindow/PivoraDlg.h"
#include "widgets/Menu.h"

namespace qv {

void TranslateMenu(HMENU menu, const std::vector<MenuText>& texts,
                   const MainWindowServices& services) {
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
  const std::vector<const char*>& headings = MenuBarHeadings();
  for (UINT i = 0; i < headings.size(); ++i) {
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

#include "core/mainwindow/MainWindowKeys.h"

#include <cstring>

#include "core/mainwindow/MainWindowRes.h"
#include "i18n/LanguageKeys.h"

namespace qv {

const std::vector<MenuText>& MenuBarTexts() {
  static const std::vector<MenuText> texts = {
      {ID_PREFERENCES, "Preferences"},   {ID_SETUP_BOOTINI, "Setup BOOT.INI"},
      {ID_CLOSE_CONFIGURE, "Close Configure Window"}, {ID_HELP_CONTENTS, "Contents"},
      {ID_HOMEPAGE, "Quorvex Homepage"}, {ID_ABOUT, "About"},
  };
  return texts;
}

const std::vector<const char*>& MenuBarHeadings() {
  static const std::vector<const char*> headings = {"Setting", "Help"};
  return headings;
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

const std::vector<PageEntry>& PageEntries() {
  static const std::vector<PageEntry> pages = {
      {PageKind::BootScreen, "Boot Screen", "boot_screen_changer.htm"},
      {PageKind::Wallpaper, "Wallpaper", "wallpaper_changer.htm"},
      {PageKind::IESkin, "IE Skin", "ie_skin_changer.htm"},
      {PageKind::LogonScreen, "Logon Screen", "logon_screen_changer.htm"},
      {PageKind::ScreenSaver, "Screen Saver", "screen_saver_changer.htm"},
      {PageKind::Preferences, "Preferences", "preferences.htm"},
      {PageKind::About, "About", nullptr},
  };
  return pages;
}

const char* PageNameKey(PageKind kind) {
  for (const PageEntry& entry : PageEntries())
    if (entry.kind == kind) return entry.nameKey;
  return "";
}

const char* PageHelpTopic(PageKind kind) {
  for (const PageEntry& entry : PageEntries())
    if (entry.kind == kind) return entry.helpTopic;
  return nullptr;
}

namespace {

// Every (section, key) above, each once.
std::vector<LanguageKey> MainWindowLanguageKeys() {
  std::vector<LanguageKey> keys;
  auto add = [&keys](const char* section, const char* key) {
    for (const LanguageKey& k : keys)
      if (std::strcmp(k.section, section) == 0 && std::strcmp(k.key, key) == 0) return;
    keys.push_back({section, key});
  };
  for (const char* heading : MenuBarHeadings()) add("Menubar", heading);
  for (const MenuText& item : MenuBarTexts()) add("Menu", item.key);
  for (const MenuText& item : TrayMenuTexts()) add("Menu", item.key);
  add("Menu", ScreenSaverToggleKey(true));
  add("Menu", ScreenSaverToggleKey(false));
  for (const PageEntry& page : PageEntries()) add("Page Name", page.nameKey);
  return keys;
}

const bool kKeysRegistered = RegisterLanguageKeys("Main Window", MainWindowLanguageKeys());

}  // namespace

bool MainWindowKeysRegistered() { return kKeysRegistered; }

}  // namespace qv

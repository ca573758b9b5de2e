#include "i18n/LanguageKeys.h"

#include <cstring>
#include <deque>
#include <utility>

#include "i18n/MessageKeys.h"

namespace qv {
namespace {

const LanguageKey kMessages[] = {
    {msg::kSection, msg::kNeedSelection},     {msg::kSection, msg::kThumbnailLibrary},
    {msg::kSection, msg::kConfirmExit},       {msg::kSection, msg::kBootIniNoEntry},
    {msg::kSection, msg::kBootIniWrite},      {msg::kSection, msg::kBootRestored},
    {msg::kSection, msg::kBootRestoreFailed}, {msg::kSection, msg::kIESkinRemoved},
    {msg::kSection, msg::kPictureLoad},       {msg::kSection, msg::kNoWallpapers},
    {msg::kSection, msg::kNoPicturesFound},   {msg::kSection, msg::kNoIESkins},
    {msg::kSection, msg::kPictureSave},       {msg::kSection, msg::kLogonFailed},
    {msg::kSection, msg::kLogonSet},          {msg::kSection, msg::kLogonRestoreFailed},
    {msg::kSection, msg::kApplyFailed},       {msg::kSection, msg::kWallpaperSet},
    {msg::kSection, msg::kScreenSaverSet},    {msg::kSection, msg::kBootScreenSet},
    {msg::kSection, msg::kIESkinSet},         {msg::kSection, msg::kFullScreenFailed},
    {msg::kSection, msg::kNoBootBitmap},     {msg::kSection, msg::kNumberRange},
};

const LanguageKey kListPage[] = {
    {"Command Button", "Add"},         {"Command Button", "Remove"},
    {"Command Button", "Clear"},       {"Command Button", "Top"},
    {"Command Button", "Up"},          {"Command Button", "Down"},
    {"Command Button", "Bottom"},      {"Sequence Combobox", "Normalize"},
    {"Sequence Combobox", "Randomize"}, {"Timer Unit Combobox", "seconds"},
    {"Timer Unit Combobox", "minutes"}, {"Timer Unit Combobox", "hours"},
    {"Timer Unit Combobox", "days"},   {"List Mode Button", "Details"},
    {"List Mode Button", "Thumbnail"}, {"Menu", "Remove"},
    {"Menu", "Clear"},                 {"Menu", "Select All"},
    {"Menu", "Invert Selection"},      {"Common Dialogs", "Sequence"},
};

const LanguageKey kImagePage[] = {
    {"Item List Column", "Name"},
    {"Item List Column", "Location"},
    {"Item List Column", "Width"},
    {"Item List Column", "Height"},
    {"Item List Column", "Color Depth"},
    {"Item List Column", "Include Sub Folder"},
    {"List Mode Button", "Details"},
    {"List Mode Button", "Thumbnail"},
    {msg::kSection, msg::kYes},
    {msg::kSection, msg::kNo},
};

const LanguageKey kBootScreenPage[] = {
    {"Boot Screen Page", "001"},     {"Boot Screen Page", "002"},
    {"Boot Screen Page", "003"},     {"Boot Screen Page", "004"},
    {"Boot Screen Page", "005"},     {"Boot Screen Page", "006"},
    {"Boot Screen Page", "007"},     {"Boot Screen Page", "008"},
    {"Change Mode Combobox", "001"}, {"Change Mode Combobox", "002"},
    {"Change Mode Combobox", "003"}, {"Change Mode Combobox", "004"},
    {"Change Mode Combobox", "005"},
};

const LanguageKey kAddImageFolderDialog[] = {
    {"Add Image Folder Dialog", "0001"},
    {"Add Image Folder Dialog", "0002"},
};

const LanguageKey kWallpaperPage[] = {
    {"Wallpaper Page", "001"},          {"Wallpaper Page", "002"},
    {"Wallpaper Page", "003"},          {"Wallpaper Page", "004"},
    {"Wallpaper Page", "005"},          {"Wallpaper Page", "006"},
    {"Change Mode Combobox", "001"},    {"Change Mode Combobox", "002"},
    {"Change Mode Combobox", "003"},    {"Change Mode Combobox", "004"},
    {"Change Mode Combobox", "005"},    {"Change Mode Combobox", "007"},
    {"Position Mode Combobox", "Center"}, {"Position Mode Combobox", "Tile"},
    {"Position Mode Combobox", "Strech"}, {"Position Mode Combobox", "Fit to Screen"},
    {"Position Mode Combobox", "Fill Screen"},
};

// Its change-mode entries are the dialog's own English texts, not looked up.
const LanguageKey kIESkinPage[] = {
    {"IE Skin Page", "001"}, {"IE Skin Page", "002"}, {"IE Skin Page", "003"},
    {"IE Skin Page", "004"}, {"IE Skin Page", "005"}, {"IE Skin Page", "006"},
};

const LanguageKey kLogonScreenPage[] = {
    {"Logon Screen Page", "001"},    {"Logon Screen Page", "002"},
    {"Logon Screen Page", "003"},    {"Logon Screen Page", "004"},
    {"Logon Screen Page", "005"},    {"Logon Screen Page", "006"},
    {"Logon Screen Page", "007"},    {"Change Mode Combobox", "001"},
    {"Change Mode Combobox", "002"}, {"Change Mode Combobox", "003"},
    {"Change Mode Combobox", "004"}, {"Change Mode Combobox", "005"},
};

const LanguageKey kScreenSaverPage[] = {
    {"Screen Saver Page", "001"},     {"Screen Saver Page", "002"},
    {"Screen Saver Page", "003"},     {"Screen Saver Page", "004"},
    {"Screen Saver Page", "005"},     {"Screen Saver Page", "006"},
    {"Screen Saver Page", "007"},     {"Change Mode Combobox", "001"},
    {"Change Mode Combobox", "002"},  {"Change Mode Combobox", "003"},
    {"Change Mode Combobox", "004"},  {"Change Mode Combobox", "005"},
    {"Change Mode Combobox", "006"},  {"Timer Unit Combobox", "minutes"},
    {"Item List Column", "Name"},     {"Item List Column", "Location"},
    {"List Mode Button", "Large Icons"}, {"List Mode Button", "Details"},
};

// The logon page's background colour picker: its named colours and "More Colours...".
const LanguageKey kColourPicker[] = {
    {"Colour Picker", "Black"},
    {"Colour Picker", "Brown"},
    {"Colour Picker", "Olive Green"},
    {"Colour Picker", "Dark Green"},
    {"Colour Picker", "Dark Teal"},
    {"Colour Picker", "Dark Blue"},
    {"Colour Picker", "Indigo"},
    {"Colour Picker", "Gray 80"},
    {"Colour Picker", "Dark Red"},
    {"Colour Picker", "Orange"},
    {"Colour Picker", "Dark Yellow"},
    {"Colour Picker", "Green"},
    {"Colour Picker", "Teal"},
    {"Colour Picker", "Blue"},
    {"Colour Picker", "Blue-Gray"},
    {"Colour Picker", "Gray 50"},
    {"Colour Picker", "Red"},
    {"Colour Picker", "Light Orange"},
    {"Colour Picker", "Lime"},
    {"Colour Picker", "Sea Green"},
    {"Colour Picker", "Aqua"},
    {"Colour Picker", "Light Blue"},
    {"Colour Picker", "Violet"},
    {"Colour Picker", "Gray 40"},
    {"Colour Picker", "Pink"},
    {"Colour Picker", "Gold"},
    {"Colour Picker", "Yellow"},
    {"Colour Picker", "Bright Green"},
    {"Colour Picker", "Turquoise"},
    {"Colour Picker", "Sky Blue"},
    {"Colour Picker", "Plum"},
    {"Colour Picker", "Gray 25"},
    {"Colour Picker", "Rose"},
    {"Colour Picker", "Tan"},
    {"Colour Picker", "Light Yellow"},
    {"Colour Picker", "Light Green"},
    {"Colour Picker", "Light Turquoise"},
    {"Colour Picker", "Pale Blue"},
    {"Colour Picker", "Lavender"},
    {"Colour Picker", "White"},
    {"Colour Picker", "More Colours..."},
};

const LanguageKey kBootIniSetupDialog[] = {
    {"Boot.INI Setup Dialog", "001"},    {"Boot.INI Setup Dialog", "002"},
    {"Boot.INI Setup Dialog", "003"},    {"Boot.INI Setup Dialog", "Cancel"},
    {"Common Dialogs", "Cancel"},        {"OS List", "OS Name"},
    {"OS List", "Full Line"},
};

const LanguageKey kNewBootIniDialog[] = {
    {"New Boot.INI Dialog", "001"},    {"New Boot.INI Dialog", "002"},
    {"New Boot.INI Dialog", "003"},    {"New Boot.INI Dialog", "Cancel"},
    {"Boot.INI Setup Dialog", "003"},  {"Common Dialogs", "Cancel"},
};

const LanguageKey kPreferencesPage[] = {
    {"Preferences Page", "001"}, {"Preferences Page", "002"}, {"Preferences Page", "003"},
    {"Preferences Page", "004"}, {"Preferences Page", "005"}, {"Preferences Page", "006"},
    {"Preferences Page", "007"}, {"Preferences Page", "008"}, {"Preferences Page", "009"},
    {"Preferences Page", "010"}, {"Preferences Page", "011"}, {"Preferences Page", "012"},
    {"Preferences Page", "013"},
};

const LanguageKey kQuickSetupWizard[] = {
    {"Quick Setup Wizard", "0001"},        {"Quick Setup Wizard", "0002"},
    {"Quick Setup Welcome Page", "0001"},  {"Quick Setup Welcome Page", "0002"},
    {"Quick Setup Language Page", "0001"}, {"Quick Setup Language Page", "0002"},
    {"Quick Setup Language Page", "0003"}, {"Quick Setup Language Page", "0004"},
    {"Quick Setup Hotkey Page", "0001"},   {"Quick Setup Hotkey Page", "0002"},
    {"Preferences Page", "001"},           {"Preferences Page", "002"},
    {"Preferences Page", "003"},           {"Preferences Page", "004"},
};

// Keys that the language files carry for every page section although no page shows them yet.
const LanguageKey kReservedKeys[] = {
    {"Wallpaper Page", "007"},
    {"Wallpaper Page", "008"},
};

const LanguageKey kAboutPage[] = {
    {"About Page", "001"},           {"About Page", "002"},
    {"About Page", "003"},           {msg::kSection, msg::kHomePage},
    {msg::kSection, msg::kFeedback},
};


template <std::size_t N>
LanguageKeyTable Table(const char* user, const LanguageKey (&keys)[N]) {
  return LanguageKeyTable{user, keys, N};
}

std::vector<LanguageKeyTable>& Tables() {
  static std::vector<LanguageKeyTable> tables = {
      Table("Messages", kMessages),
      Table("List Page", kListPage),
      Table("Image Page", kImagePage),
      Table("Boot Screen Page", kBootScreenPage),
      Table("Add Image Folder Dialog", kAddImageFolderDialog),
      Table("Wallpaper Page", kWallpaperPage),
      Table("IE Skin Page", kIESkinPage),
      Table("Logon Screen Page", kLogonScreenPage),
      Table("Screen Saver Page", kScreenSaverPage),
      Table("Colour Picker", kColourPicker),
      Table("Boot.INI Setup Dialog", kBootIniSetupDialog),
      Table("New Boot.INI Dialog", kNewBootIniDialog),
      Table("Preferences Page", kPreferencesPage),
      Table("Quick Setup Wizard", kQuickSetupWizard),
      Table("About Page", kAboutPage),
      Table("Reserved", kReservedKeys),
  };
  return tables;
}

}  // namespace

const std::vector<LanguageKeyTable>& LanguageKeyTables() { return Tables(); }

bool RegisterLanguageKeys(const char* user, std::vector<LanguageKey> keys) {
  // A deque keeps each registered array where it is while more are added.
  static std::deque<std::vector<LanguageKey>> registered;
  registered.push_back(std::move(keys));
  Tables().push_back(LanguageKeyTable{user, registered.back().data(), registered.back().size()});
  return true;
}

const LanguageKeyTable* FindLanguageKeyTable(const char* user) {
  for (const LanguageKeyTable& table : LanguageKeyTables())
    if (std::strcmp(table.user, user) == 0) return &table;
  return nullptr;
}

}  // namespace qv

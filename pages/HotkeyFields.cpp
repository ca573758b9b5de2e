#include "pages/HotkeyFields.h"

#include "pages/PagesRes.h"
#include "widgets/HotkeyControl.h"

namespace qv {
namespace {

const int kHotkeyControls[kHotkeyCount] = {IDC_HOTKEY_PREV_WALLPAPER, IDC_HOTKEY_NEXT_WALLPAPER,
                                           IDC_HOTKEY_PREV_IESKIN, IDC_HOTKEY_NEXT_IESKIN};

}  // namespace

const widgets::ControlText kHotkeyLabelTexts[kHotkeyCount] = {
    {IDC_LABEL_PREV_WALLPAPER, "Preferences Page", "001"},
    {IDC_LABEL_NEXT_WALLPAPER, "Preferences Page", "002"},
    {IDC_LABEL_PREV_IESKIN, "Preferences Page", "003"},
    {IDC_LABEL_NEXT_IESKIN, "Preferences Page", "004"},
};

void LoadHotkeyControls(HWND dialog, const HotkeySetting (&hotkeys)[kHotkeyCount]) {
  for (int i = 0; i < kHotkeyCount; ++i)
    widgets::HotkeyControl(::GetDlgItem(dialog, kHotkeyControls[i]))
        .Set(hotkeys[i].keyCode, hotkeys[i].modifiers);
}

void StoreHotkeyControls(HWND dialog, HotkeySetting (&hotkeys)[kHotkeyCount]) {
  for (int i = 0; i < kHotkeyCount; ++i) {
    widgets::HotkeyControl control(::GetDlgItem(dialog, kHotkeyControls[i]));
    hotkeys[i] = HotkeySetting(static_cast<uint16_t>(control.KeyCode()),
                               static_cast<uint16_t>(control.Flags()));
  }
}

}  // namespace qv

#include "widgets/IconMenu.h"

#include <string>

namespace widgets {
namespace {

constexpr int kGap = 4;  // pixels around the icon and between text and accelerator

// MIIM_STRING and MIIM_FTYPE came with Windows 98 and 2000.
bool MenusKeepTexts() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (!::GetVersionExA(&version)) return false;
  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) return version.dwMajorVersion >= 5;
  return version.dwMajorVersion > 4 || (version.dwMajorVersion == 4 && version.dwMinorVersion >= 10);
}

std::string ItemText(HMENU menu, UINT position) {
  char buffer[260] = "";
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_STRING;
  info.dwTypeData = buffer;
  info.cch = sizeof buffer;
  if (!::GetMenuItemInfoA(menu, position, TRUE, &info)) return std::string();
  return buffer;
}

// The letter in lower case by the system's code page, as the menus compare mnemonics.
char LowerInCodePage(char c) {
  UINT_PTR letter = static_cast<unsigned char>(c);
  return static_cast<char>(reinterpret_cast<UINT_PTR>(::CharLowerA(reinterpret_cast<LPSTR>(letter))));
}

// The position of the item that a WM_MEASUREITEM or WM_DRAWITEM names (by id, sub-menus by
// their handle as id), or -1.
int PositionOf(HMENU menu, UINT id) {
  const int count = ::GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    HMENU sub = ::GetSubMenu(menu, i);
    UINT itemId = sub ? static_cast<UINT>(reinterpret_cast<UINT_PTR>(sub)) : ::GetMenuItemID(menu, i);
    if (itemId == id) return i;
  }
  return -1;
}

}  // namespace

int SmallIconSide() {
  int side = ::GetSystemMetrics(SM_CXSMICON);
  return side > 0 ? side : 16;
}

IconMenu::IconMenu() {
  NONCLIENTMETRICSA metrics{};
  // The structure of the older systems: its size is what every system accepts.
  metrics.cbSize = offsetof(NONCLIENTMETRICSA, lfMessageFont) + sizeof(LOGFONTA);
  if (!::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0)) return;
  font_.Reset(::CreateFontIndirectA(&metrics.lfMenuFont));
  metrics.lfMenuFont.lfWeight = FW_BOLD;
  boldFont_.Reset(::CreateFontIndirectA(&metrics.lfMenuFont));
}

HICON IconMenu::Icon(UINT command) const {
  auto found = icons_.find(command);
  return found == icons_.end() ? nullptr : found->second;
}

bool IconMenu::Apply(HMENU popup) const {
  if (!popup || !MenusKeepTexts()) return false;
  const int count = ::GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
    if (!::GetMenuItemInfoA(popup, i, TRUE, &info)) continue;
    if (info.hSubMenu) Apply(info.hSubMenu);
    if (info.fType & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW)) continue;
    // The item's data names its menu: WM_MEASUREITEM brings only id and data.
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    info.fType |= MFT_OWNERDRAW;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(popup);
    ::SetMenuItemInfoA(popup, i, TRUE, &info);
  }
  return true;
}

bool IconMenu::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) const {
  switch (message) {
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (!item || item->CtlType != ODT_MENU || !item->itemData) return false;
      Measure(item);
      *result = TRUE;
      return true;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (!item || item->CtlType != ODT_MENU || !item->itemData) return false;
      Draw(item);
      *result = TRUE;
      return true;
    }
    case WM_MENUCHAR: {
      // The system finds no mnemonic in an owner-drawn item: the menu's texts still have them.
      int position = MnemonicItem(reinterpret_cast<HMENU>(lParam), static_cast<char>(LOWORD(wParam)));
      if (position < 0) return false;
      *result = MAKELRESULT(position, MNC_EXECUTE);
      return true;
    }
  }
  return false;
}

int IconMenu::MnemonicItem(HMENU popup, char key) {
  if (!popup) return -1;
  const char wanted = LowerInCodePage(key);
  const int count = ::GetMenuItemCount(popup);
  for (int i = 0; i < count; ++i) {
    const std::string text = ItemText(popup, static_cast<UINT>(i));
    // The first "&" that is not "&&" marks the mnemonic.
    for (size_t at = text.find('&'); at != std::string::npos && at + 1 < text.size();
         at = text.find('&', at + 2)) {
      if (text[at + 1] == '&') continue;
      if (LowerInCodePage(text[at + 1]) == wanted) return i;
      break;
    }
  }
  return -1;
}

void IconMenu::Measure(MEASUREITEMSTRUCT* item) const {
  HMENU menu = reinterpret_cast<HMENU>(item->itemData);
  const std::string text = ItemText(menu, static_cast<UINT>(PositionOf(menu, item->itemID)));
  qv::ScopedDC screen(nullptr);
  HGDIOBJ previous = ::SelectObject(screen.Get(), boldFont_ ? boldFont_.Get() : ::GetStockObject(DEFAULT_GUI_FONT));
  RECT size{0, 0, 0, 0};
  ::DrawTextA(screen.Get(), text.c_str(), -1, &size, DT_SINGLELINE | DT_CALCRECT | DT_EXPANDTABS);
  ::SelectObject(screen.Get(), previous);
  const int side = SmallIconSide();
  item->itemWidth = static_cast<UINT>(side + 3 * kGap + (size.right - size.left) + 4 * kGap);
  const int textHeight = size.bottom - size.top + kGap;
  item->itemHeight = static_cast<UINT>(textHeight > side + kGap ? textHeight : side + kGap);
}

void IconMenu::Draw(const DRAWITEMSTRUCT* item) const {
  HMENU menu = reinterpret_cast<HMENU>(item->itemData);
  const std::string text = ItemText(menu, static_cast<UINT>(PositionOf(menu, item->itemID)));
  const bool selected = (item->itemState & ODS_SELECTED) != 0;
  const bool greyed = (item->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
  HDC dc = item->hDC;
  RECT r = item->rcItem;
  ::FillRect(dc, &r, ::GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
  const int side = SmallIconSide();
  const int iconTop = r.top + ((r.bottom - r.top) - side) / 2;
  if (HICON icon = Icon(item->itemID)) {
    ::DrawIconEx(dc, r.left + kGap, iconTop, icon, side, side, 0, nullptr, DI_NORMAL);
  } else if (item->itemState & ODS_CHECKED) {
    RECT mark{r.left + kGap, iconTop, r.left + kGap + side, iconTop + side};
    ::DrawFrameControl(dc, &mark, DFC_MENU, DFCS_MENUCHECK);
  }
  // Not every system marks the default item in the item state: the menu knows it too.
  const bool isDefault = (item->itemState & ODS_DEFAULT) ||
                         ::GetMenuDefaultItem(menu, FALSE, 0) == item->itemID;
  HGDIOBJ previous = ::SelectObject(dc, isDefault && boldFont_ ? boldFont_.Get()
                                        : font_ ? font_.Get() : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, ::GetSysColor(greyed ? COLOR_GRAYTEXT : selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
  RECT textRect{r.left + side + 3 * kGap, r.top, r.right - 2 * kGap, r.bottom};
  const UINT flags = DT_SINGLELINE | DT_VCENTER | ((item->itemState & ODS_NOACCEL) ? DT_HIDEPREFIX : 0);
  const size_t tab = text.find('\t');
  ::DrawTextA(dc, text.substr(0, tab).c_str(), -1, &textRect, flags | DT_LEFT);
  if (tab != std::string::npos)
    ::DrawTextA(dc, text.substr(tab + 1).c_str(), -1, &textRect, flags | DT_RIGHT);
  ::SelectObject(dc, previous);
}

}  // namespace widgets

#include "widgets/ColourPicker.h"

#include <commdlg.h>

#include <vector>

#include "platform/Handles.h"
#include "widgets/MenuButton.h"
#include "widgets/VisualStyle.h"

namespace widgets {
namespace {

constexpr int kRowsPerColumn = 8;
constexpr int kSwatchWidth = 18;
constexpr int kSwatchHeight = 12;

// A small framed swatch for a menu entry, its four quarters in the given colours (top left, top
// right, bottom left, bottom right).
HBITMAP MakeSwatch(HDC reference, const COLORREF (&quarters)[4]) {
  HBITMAP bitmap = ::CreateCompatibleBitmap(reference, kSwatchWidth, kSwatchHeight);
  if (!bitmap) return nullptr;
  HDC dc = ::CreateCompatibleDC(reference);
  HGDIOBJ old = ::SelectObject(dc, bitmap);
  RECT all{0, 0, kSwatchWidth, kSwatchHeight};
  qv::ScopedGdiObj<HBRUSH> frame(::CreateSolidBrush(RGB(0, 0, 0)));
  ::FillRect(dc, &all, frame.Get());
  const int midX = kSwatchWidth / 2, midY = kSwatchHeight / 2;
  const RECT parts[4] = {{1, 1, midX, midY},
                         {midX, 1, kSwatchWidth - 1, midY},
                         {1, midY, midX, kSwatchHeight - 1},
                         {midX, midY, kSwatchWidth - 1, kSwatchHeight - 1}};
  for (int i = 0; i < 4; ++i) {
    qv::ScopedGdiObj<HBRUSH> fill(::CreateSolidBrush(quarters[i]));
    ::FillRect(dc, &parts[i], fill.Get());
  }
  ::SelectObject(dc, old);
  ::DeleteDC(dc);
  return bitmap;
}

// Gives a menu entry its swatch; the bitmap must live until the menu has been tracked.
void SetEntryBitmap(HMENU menu, int command, HBITMAP bitmap) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_BITMAP;
  info.hbmpItem = bitmap;
  ::SetMenuItemInfoA(menu, static_cast<UINT>(command), FALSE, &info);
}

}  // namespace

// Five columns of eight, from the darkest row of the palette to the lightest.
const NamedColour ColourPicker::kPalette[kPaletteSize] = {
    {RGB(0, 0, 0), "Black"},           {RGB(153, 51, 0), "Brown"},
    {RGB(51, 51, 0), "Olive Green"},   {RGB(0, 51, 0), "Dark Green"},
    {RGB(0, 51, 102), "Dark Teal"},    {RGB(0, 0, 128), "Dark Blue"},
    {RGB(51, 51, 153), "Indigo"},      {RGB(51, 51, 51), "Gray 80"},
    {RGB(128, 0, 0), "Dark Red"},      {RGB(255, 102, 0), "Orange"},
    {RGB(128, 128, 0), "Dark Yellow"}, {RGB(0, 128, 0), "Green"},
    {RGB(0, 128, 128), "Teal"},        {RGB(0, 0, 255), "Blue"},
    {RGB(102, 102, 153), "Blue-Gray"}, {RGB(128, 128, 128), "Gray 50"},
    {RGB(255, 0, 0), "Red"},           {RGB(255, 153, 0), "Light Orange"},
    {RGB(153, 204, 0), "Lime"},        {RGB(51, 153, 102), "Sea Green"},
    {RGB(51, 204, 204), "Aqua"},       {RGB(51, 102, 255), "Light Blue"},
    {RGB(128, 0, 128), "Violet"},      {RGB(153, 153, 153), "Gray 40"},
    {RGB(255, 0, 255), "Pink"},        {RGB(255, 204, 0), "Gold"},
    {RGB(255, 255, 0), "Yellow"},      {RGB(0, 255, 0), "Bright Green"},
    {RGB(0, 255, 255), "Turquoise"},   {RGB(0, 204, 255), "Sky Blue"},
    {RGB(153, 51, 102), "Plum"},       {RGB(192, 192, 192), "Gray 25"},
    {RGB(255, 153, 204), "Rose"},      {RGB(255, 204, 153), "Tan"},
    {RGB(255, 255, 153), "Light Yellow"}, {RGB(204, 255, 204), "Light Green"},
    {RGB(204, 255, 255), "Light Turquoise"}, {RGB(153, 204, 255), "Pale Blue"},
    {RGB(204, 153, 255), "Lavender"},  {RGB(255, 255, 255), "White"},
};

void ColourPicker::SetColour(COLORREF colour) {
  colour_ = colour & 0x00FFFFFF;
  if (Handle()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

std::string ColourPicker::EntryText(const char* key) const {
  std::string text = texts_ ? texts_(key) : std::string();
  return text.empty() ? key : text;
}

void ColourPicker::Draw(const DRAWITEMSTRUCT& item) const {
  const bool pushed = (item.itemState & ODS_SELECTED) != 0;
  const bool disabled = (item.itemState & ODS_DISABLED) != 0;
  const bool focused = (item.itemState & ODS_FOCUS) != 0;
  const RECT rect = item.rcItem;
  VisualStyle::Shared().DrawButtonFace(item.hwndItem, item.hDC, rect, pushed, false, disabled, focused);
  RECT arrow = rect;
  arrow.left = rect.right - MenuButton::kArrowWidth;
  DrawDropDownArrow(item.hDC, arrow, disabled);
  RECT swatch{rect.left + 4, rect.top + 4, arrow.left - 2, rect.bottom - 4};
  if (pushed) ::OffsetRect(&swatch, 1, 1);
  qv::ScopedGdiObj<HBRUSH> frame(::CreateSolidBrush(::GetSysColor(disabled ? COLOR_GRAYTEXT : COLOR_BTNTEXT)));
  ::FrameRect(item.hDC, &swatch, frame.Get());
  ::InflateRect(&swatch, -1, -1);
  qv::ScopedGdiObj<HBRUSH> fill(::CreateSolidBrush(disabled ? ::GetSysColor(COLOR_BTNFACE) : colour_));
  ::FillRect(item.hDC, &swatch, fill.Get());
  if (focused) {
    RECT focus = rect;
    ::InflateRect(&focus, -2, -2);
    ::DrawFocusRect(item.hDC, &focus);
  }
}

void ColourPicker::ShowPalette(HWND owner) const {
  qv::ScopedMenu menu(::CreatePopupMenu());
  if (!menu) return;
  HDC screen = ::GetDC(nullptr);
  std::vector<qv::ScopedGdiObj<HBITMAP>> swatches;  // live until the menu has been tracked
  for (int i = 0; i < kPaletteSize; ++i) {
    UINT flags = MF_STRING | (kPalette[i].colour == colour_ ? MF_CHECKED : 0);
    if (i > 0 && i % kRowsPerColumn == 0) flags |= MF_MENUBARBREAK;
    ::AppendMenuA(menu.Get(), flags, kFirstColourCommand + i, EntryText(kPalette[i].name).c_str());
    const COLORREF c = kPalette[i].colour;
    swatches.emplace_back(MakeSwatch(screen, {c, c, c, c}));
    SetEntryBitmap(menu.Get(), kFirstColourCommand + i, swatches.back().Get());
  }
  ::AppendMenuA(menu.Get(), MF_SEPARATOR, 0, nullptr);
  ::AppendMenuA(menu.Get(), MF_STRING, kMoreColoursCommand, EntryText(kMoreColoursKey).c_str());
  // A swatch of its own too: an entry without one is measured without the swatch column that its
  // text is still drawn after, which cut the longer translations.
  swatches.emplace_back(MakeSwatch(screen, {RGB(255, 0, 0), RGB(0, 160, 0), RGB(0, 0, 255), RGB(255, 220, 0)}));
  SetEntryBitmap(menu.Get(), kMoreColoursCommand, swatches.back().Get());
  ::ReleaseDC(nullptr, screen);
  const RECT button = WindowRect();
  ::TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, button.left,
                   button.bottom, 0, owner, nullptr);
}

bool ColourPicker::Choose(int id, HWND owner) {
  COLORREF chosen = colour_;
  if (id >= kFirstColourCommand && id < kMoreColoursCommand) {
    chosen = kPalette[id - kFirstColourCommand].colour;
  } else if (id == kMoreColoursCommand) {
    CHOOSECOLORA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.rgbResult = colour_;
    dialog.lpCustColors = custom_;
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN | CC_ANYCOLOR;
    if (!::ChooseColorA(&dialog)) return false;
    chosen = dialog.rgbResult;
  } else {
    return false;
  }
  if (chosen == colour_) return false;
  SetColour(chosen);
  return true;
}

}  // namespace widgets

// Owner-drawn menus with icons: the items keep their texts (translation and mnemonics), measure
// and draw through the owner's messages, and draw the icon, the highlight and the text.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "platform/Handles.h"
#include "widgets/IconMenu.h"
#include "widgets/Menu.h"

namespace {

constexpr UINT kOpen = 100, kNext = 101, kExit = 102, kInner = 103;

struct Menus {
  qv::ScopedMenu popup{CreatePopupMenu()};
  HMENU inner = CreatePopupMenu();
  Menus() {
    AppendMenuA(popup.Get(), MF_STRING, kOpen, "&Open");
    AppendMenuA(popup.Get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(popup.Get(), MF_STRING, kNext, "Rock && roll &Next\tCtrl + N");
    AppendMenuA(popup.Get(), MF_STRING | MF_POPUP, reinterpret_cast<UINT_PTR>(inner), "&More");
    AppendMenuA(inner, MF_STRING, kInner, "&Inner");
    AppendMenuA(popup.Get(), MF_STRING, kExit, "E&xit");
  }
};

UINT TypeOf(HMENU menu, UINT position) {
  MENUITEMINFOA info{};
  info.cbSize = sizeof info;
  info.fMask = MIIM_FTYPE;
  GetMenuItemInfoA(menu, position, TRUE, &info);
  return info.fType;
}

TEST(IconMenu, ItemsBecomeOwnerDrawnAndKeepTheirTexts) {
  Menus m;
  widgets::IconMenu drawing;
  ASSERT_TRUE(drawing.Apply(m.popup.Get()));
  EXPECT_NE(TypeOf(m.popup.Get(), 0) & MFT_OWNERDRAW, 0u);
  EXPECT_EQ(TypeOf(m.popup.Get(), 1) & MFT_OWNERDRAW, 0u) << "separators stay the system's";
  EXPECT_NE(TypeOf(m.inner, 0) & MFT_OWNERDRAW, 0u) << "sub-menus too";
  drawing.Apply(m.popup.Get());  // twice changes nothing
  EXPECT_EQ(widgets::MenuItemText(m.popup.Get(), kOpen), "&Open");
  // A translation after the drawing was applied.
  EXPECT_TRUE(widgets::SetMenuItemText(m.popup.Get(), kOpen, "\xD6&ffnen"));
  EXPECT_EQ(widgets::MenuItemText(m.popup.Get(), kOpen), "\xD6&ffnen");
  EXPECT_NE(TypeOf(m.popup.Get(), 0) & MFT_OWNERDRAW, 0u);
}

TEST(IconMenu, MnemonicsAreFoundInTheTextsWithoutRegardToCase) {
  Menus m;
  widgets::IconMenu drawing;
  drawing.Apply(m.popup.Get());
  LRESULT result = 0;
  ASSERT_TRUE(drawing.OnMessage(WM_MENUCHAR, MAKEWPARAM('x', MF_POPUP),
                                reinterpret_cast<LPARAM>(m.popup.Get()), &result));
  EXPECT_EQ(LOWORD(result), 4);
  EXPECT_EQ(HIWORD(result), MNC_EXECUTE);
  EXPECT_EQ(widgets::IconMenu::MnemonicItem(m.popup.Get(), 'N'), 2) << "&& is no mnemonic";
  EXPECT_EQ(widgets::IconMenu::MnemonicItem(m.popup.Get(), 'r'), -1);
  EXPECT_EQ(widgets::IconMenu::MnemonicItem(m.popup.Get(), 'm'), 3);
  EXPECT_FALSE(drawing.OnMessage(WM_MENUCHAR, MAKEWPARAM('q', MF_POPUP),
                                 reinterpret_cast<LPARAM>(m.popup.Get()), &result));
}

TEST(IconMenu, MeasureAndDrawTheIconTheHighlightAndTheText) {
  Menus m;
  widgets::IconMenu drawing;
  HICON icon = LoadIcon(nullptr, IDI_APPLICATION);
  drawing.SetIcon(kNext, icon);
  drawing.Apply(m.popup.Get());
  MEASUREITEMSTRUCT shortItem{ODT_MENU, 0, kOpen, 0, 0, reinterpret_cast<ULONG_PTR>(m.popup.Get())};
  MEASUREITEMSTRUCT longItem{ODT_MENU, 0, kNext, 0, 0, reinterpret_cast<ULONG_PTR>(m.popup.Get())};
  LRESULT result = 0;
  ASSERT_TRUE(drawing.OnMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&shortItem), &result));
  ASSERT_TRUE(drawing.OnMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&longItem), &result));
  EXPECT_GE(static_cast<int>(shortItem.itemHeight), widgets::SmallIconSide());
  EXPECT_GT(longItem.itemWidth, shortItem.itemWidth + 40) << "the accelerator text counts";
  // Not a menu item: left to whoever owns it.
  MEASUREITEMSTRUCT button{ODT_BUTTON, 1, 1, 0, 0, 0};
  EXPECT_FALSE(drawing.OnMessage(WM_MEASUREITEM, 1, reinterpret_cast<LPARAM>(&button), &result));

  const int width = 200, height = static_cast<int>(longItem.itemHeight);
  qv::ScopedDC screen(nullptr);
  HDC dc = CreateCompatibleDC(screen.Get());
  qv::ScopedGdiObj<HBITMAP> bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
  HGDIOBJ previous = SelectObject(dc, bitmap.Get());
  auto draw = [&](UINT id, UINT state) {
    DRAWITEMSTRUCT item{ODT_MENU, 0, id, ODA_DRAWENTIRE, state, reinterpret_cast<HWND>(m.popup.Get()),
                        dc, {0, 0, width, height}, reinterpret_cast<ULONG_PTR>(m.popup.Get())};
    LRESULT drawn = 0;
    return drawing.OnMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item), &drawn);
  };
  auto count = [&](COLORREF colour, int left, int right) {
    int n = 0;
    for (int y = 0; y < height; ++y)
      for (int x = left; x < right; ++x) n += GetPixel(dc, x, y) == colour;
    return n;
  };
  const int side = widgets::SmallIconSide();
  const COLORREF menu = GetNearestColor(dc, GetSysColor(COLOR_MENU));
  const COLORREF highlight = GetNearestColor(dc, GetSysColor(COLOR_HIGHLIGHT));
  ASSERT_TRUE(draw(kNext, ODS_SELECTED));
  EXPECT_GT(count(highlight, 0, width), width * height / 2) << "the selected item's highlight";
  EXPECT_LT(count(highlight, 4, 4 + side), side * height - side * side / 4) << "the icon over it";
  EXPECT_GT(count(GetNearestColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT)), side + 12, width), 20)
      << "the text in the highlight's text colour";
  ASSERT_TRUE(draw(kOpen, 0));
  EXPECT_EQ(count(menu, 0, 4 + side + 4), (4 + side + 4) * height) << "no icon: nothing beside it";
  EXPECT_GT(count(GetNearestColor(dc, GetSysColor(COLOR_MENUTEXT)), side + 12, width), 20);
  SelectObject(dc, previous);
  DeleteDC(dc);
}

}  // namespace

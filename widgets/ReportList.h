// A list view in report view with a few columns and one number per row: the small part of a
// list view that the boot.ini dialogs need. Non-owning typed forwards, as Window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "widgets/Window.h"

namespace widgets {

class ReportList : public Window {
 public:
  ReportList() = default;
  explicit ReportList(HWND control) : Window(control) {}

  bool InsertColumn(int index, const std::string& title, int width) const {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    column.pszText = const_cast<char*>(title.c_str());
    column.cx = width;
    column.iSubItem = index;
    return ListView_InsertColumn(Handle(), index, &column) >= 0;
  }
  bool SetColumnTitle(int index, const std::string& title) const {
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT;
    column.pszText = const_cast<char*>(title.c_str());
    return ListView_SetColumn(Handle(), index, &column) != FALSE;
  }
  bool SetColumnWidth(int index, int width) const {
    return ListView_SetColumnWidth(Handle(), index, width) != FALSE;
  }
  int ColumnWidth(int index) const { return ListView_GetColumnWidth(Handle(), index); }
  void SetExtendedStyle(DWORD styles) const {
    ListView_SetExtendedListViewStyleEx(Handle(), styles, styles);
  }
  DWORD ExtendedStyle() const { return ListView_GetExtendedListViewStyle(Handle()); }

  int Count() const { return ListView_GetItemCount(Handle()); }
  // Appends a row; its index, or -1.
  int InsertRow(int index, const std::string& text, LPARAM data) const {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_PARAM;
    item.iItem = index;
    item.pszText = const_cast<char*>(text.c_str());
    item.lParam = data;
    return ListView_InsertItem(Handle(), &item);
  }
  bool DeleteAll() const { return ListView_DeleteAllItems(Handle()) != FALSE; }
  bool SetText(int row, int column, const std::string& text) const {
    ListView_SetItemText(Handle(), row, column, const_cast<char*>(text.c_str()));
    return true;
  }
  std::string Text(int row, int column) const {
    char buffer[1024] = "";
    ListView_GetItemText(Handle(), row, column, buffer, sizeof buffer);
    return buffer;
  }
  // The row's number, or -1 for no such row.
  LPARAM Data(int row) const {
    LVITEMA item{};
    item.mask = LVIF_PARAM;
    item.iItem = row;
    return ListView_GetItem(Handle(), &item) ? item.lParam : -1;
  }
  void Select(int row, bool selected) const {
    UINT state = selected ? LVIS_SELECTED | LVIS_FOCUSED : 0;
    ListView_SetItemState(Handle(), row, state, LVIS_SELECTED | LVIS_FOCUSED);
  }
  // The first selected row after `after` (-1: from the top), or -1.
  int NextSelected(int after = -1) const {
    return ListView_GetNextItem(Handle(), after, LVNI_SELECTED);
  }
};

}  // namespace widgets

// The list view control in its report and icon views: columns, rows carrying a number of the
// owner's choosing (usually a pointer to the owner's row record), images, selection states, and
// the header's sort arrow. Non-owning: the control and its image lists belong to whoever made them.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "widgets/Window.h"

namespace widgets {

// What moves with a row when rows are reordered: its number, image and state bits.
struct ListRow {
  LPARAM data = 0;
  int image = -1;
  UINT state = 0;
};

class ListView : public Window {
 public:
  enum class SortArrow { None, Up, Down };

  ListView() = default;
  explicit ListView(HWND control) : Window(control) {}

  // Columns.
  bool InsertColumn(int index, const std::string& title, int width, int format = LVCFMT_LEFT) const;
  bool SetColumnTitle(int index, const std::string& title) const;
  std::string ColumnTitle(int index) const;
  int ColumnCount() const;
  bool SetColumnWidth(int index, int width) const {
    return ListView_SetColumnWidth(Handle(), index, width) != FALSE;
  }
  int ColumnWidth(int index) const { return ListView_GetColumnWidth(Handle(), index); }
  // The header draws the arrow in one column and none in the others (column -1: none at all).
  void SetSortArrow(int column, SortArrow arrow) const;
  SortArrow GetSortArrow(int column) const;
  HWND Header() const { return ListView_GetHeader(Handle()); }

  // Rows.
  int Count() const { return ListView_GetItemCount(Handle()); }
  // Inserts a row at index (Count() appends); its index, or -1.
  int InsertRow(int index, const std::string& text, int image, LPARAM data) const;
  bool DeleteRow(int row) const { return ListView_DeleteItem(Handle(), row) != FALSE; }
  bool DeleteAll() const { return ListView_DeleteAllItems(Handle()) != FALSE; }
  bool SetText(int row, int column, const std::string& text) const;
  std::string Text(int row, int column) const;
  LPARAM Data(int row) const;
  bool SetData(int row, LPARAM data) const;
  ListRow Row(int row) const;
  // Sets number, image and state bits (selection and focus) of a row.
  bool SetRow(int row, const ListRow& values) const;

  // Selection.
  bool IsSelected(int row) const {
    return (ListView_GetItemState(Handle(), row, LVIS_SELECTED) & LVIS_SELECTED) != 0;
  }
  void Select(int row, bool selected) const {
    ListView_SetItemState(Handle(), row, selected ? LVIS_SELECTED : 0, LVIS_SELECTED);
  }
  // Gives row the focus mark (the row the keyboard acts on).
  void Focus(int row) const { ListView_SetItemState(Handle(), row, LVIS_FOCUSED, LVIS_FOCUSED); }
  int SelectedCount() const { return static_cast<int>(ListView_GetSelectedCount(Handle())); }
  // The first selected row after `after` (-1: from the top), or -1.
  int NextSelected(int after = -1) const {
    return ListView_GetNextItem(Handle(), after, LVNI_SELECTED);
  }
  std::vector<int> SelectedRows() const;
  bool EnsureVisible(int row) const { return ListView_EnsureVisible(Handle(), row, FALSE) != FALSE; }

  // Views, styles and images.
  void SetView(DWORD viewStyle) const;  // LVS_REPORT, LVS_ICON, LVS_SMALLICON, LVS_LIST
  DWORD View() const;
  void AddStyle(DWORD style) const;
  void SetExtendedStyle(DWORD styles) const {
    ListView_SetExtendedListViewStyleEx(Handle(), styles, styles);
  }
  // Returns the image list that was set before (the caller keeps owning what it made).
  HIMAGELIST SetImageList(HIMAGELIST images, int which) const {
    return ListView_SetImageList(Handle(), images, which);
  }
  HIMAGELIST ImageList(int which) const { return ListView_GetImageList(Handle(), which); }
  // The rectangle of a row's part (LVIR_ICON, LVIR_BOUNDS, ...) in client coordinates.
  bool ItemRect(int row, int part, RECT* rect) const {
    return ListView_GetItemRect(Handle(), row, rect, part) != FALSE;
  }
  // True when some of the row lies in the client area.
  bool IsRowVisible(int row) const;
  // Off: the control, its scroll bars and frame stop drawing (a change of view then no longer
  // redraws each row it moves and the scroll bars each time they change). On: everything is
  // redrawn once.
  void SetRedraw(bool on) const;
  // Scrolls back to the origin with redrawing off, then switches redrawing on (after a change of
  // view).
  void Repaint() const;
  bool Redraw(int first, int last) const { return ListView_RedrawItems(Handle(), first, last) != FALSE; }
};

}  // namespace widgets

#include "widgets/ListView.h"

namespace widgets {

bool ListView::InsertColumn(int index, const std::string& title, int width, int format) const {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_SUBITEM;
  column.fmt = format;
  column.cx = width;
  column.pszText = const_cast<char*>(title.c_str());
  column.iSubItem = index;
  return Send(LVM_INSERTCOLUMNA, index, reinterpret_cast<LPARAM>(&column)) >= 0;
}

bool ListView::SetColumnTitle(int index, const std::string& title) const {
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = const_cast<char*>(title.c_str());
  return Send(LVM_SETCOLUMNA, index, reinterpret_cast<LPARAM>(&column)) != FALSE;
}

std::string ListView::ColumnTitle(int index) const {
  char buffer[260] = "";
  LVCOLUMNA column{};
  column.mask = LVCF_TEXT;
  column.pszText = buffer;
  column.cchTextMax = sizeof buffer;
  if (!Send(LVM_GETCOLUMNA, index, reinterpret_cast<LPARAM>(&column))) return std::string();
  return buffer;
}

int ListView::ColumnCount() const {
  HWND header = Header();
  return header ? Header_GetItemCount(header) : 0;
}

void ListView::SetSortArrow(int column, SortArrow arrow) const {
  HWND header = Header();
  const int count = header ? Header_GetItemCount(header) : 0;
  for (int i = 0; i < count; ++i) {
    HDITEMA item{};
    item.mask = HDI_FORMAT;
    if (!::SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item))) continue;
    item.fmt &= ~(HDF_SORTUP | HDF_SORTDOWN);
    if (i == column && arrow == SortArrow::Up) item.fmt |= HDF_SORTUP;
    if (i == column && arrow == SortArrow::Down) item.fmt |= HDF_SORTDOWN;
    ::SendMessageA(header, HDM_SETITEMA, i, reinterpret_cast<LPARAM>(&item));
  }
}

ListView::SortArrow ListView::GetSortArrow(int column) const {
  HDITEMA item{};
  item.mask = HDI_FORMAT;
  HWND header = Header();
  if (!header || !::SendMessageA(header, HDM_GETITEMA, column, reinterpret_cast<LPARAM>(&item)))
    return SortArrow::None;
  if (item.fmt & HDF_SORTUP) return SortArrow::Up;
  if (item.fmt & HDF_SORTDOWN) return SortArrow::Down;
  return SortArrow::None;
}

int ListView::InsertRow(int index, const std::string& text, int image, LPARAM data) const {
  LVITEMA item{};
  item.mask = LVIF_TEXT | LVIF_PARAM | LVIF_IMAGE;
  item.iItem = index;
  item.pszText = const_cast<char*>(text.c_str());
  item.iImage = image;
  item.lParam = data;
  return static_cast<int>(Send(LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
}

bool ListView::SetText(int row, int column, const std::string& text) const {
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = const_cast<char*>(text.c_str());
  return Send(LVM_SETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

std::string ListView::Text(int row, int column) const {
  char buffer[520] = "";
  LVITEMA item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = sizeof buffer;
  LRESULT n = Send(LVM_GETITEMTEXTA, row, reinterpret_cast<LPARAM>(&item));
  return std::string(buffer, n > 0 ? static_cast<size_t>(n) : 0);
}

LPARAM ListView::Data(int row) const { return Row(row).data; }

bool ListView::SetData(int row, LPARAM data) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM;
  item.iItem = row;
  item.lParam = data;
  return Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

ListRow ListView::Row(int row) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
  item.iItem = row;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  ListRow values;
  if (!Send(LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item))) return values;
  values.data = item.lParam;
  values.image = item.iImage;
  values.state = item.state & (LVIS_SELECTED | LVIS_FOCUSED);
  return values;
}

bool ListView::SetRow(int row, const ListRow& values) const {
  LVITEMA item{};
  item.mask = LVIF_PARAM | LVIF_IMAGE | LVIF_STATE;
  item.iItem = row;
  item.lParam = values.data;
  item.iImage = values.image;
  item.state = values.state;
  item.stateMask = LVIS_SELECTED | LVIS_FOCUSED;
  return Send(LVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)) != FALSE;
}

std::vector<int> ListView::SelectedRows() const {
  std::vector<int> rows;
  for (int row = NextSelected(); row >= 0; row = NextSelected(row)) rows.push_back(row);
  return rows;
}

void ListView::SetView(DWORD viewStyle) const {
  LONG_PTR style = ::GetWindowLongPtrA(Handle(), GWL_STYLE);
  style = (style & ~static_cast<LONG_PTR>(LVS_TYPEMASK)) | viewStyle;
  ::SetWindowLongPtrA(Handle(), GWL_STYLE, style);
}

DWORD ListView::View() const {
  return static_cast<DWORD>(::GetWindowLongPtrA(Handle(), GWL_STYLE)) & LVS_TYPEMASK;
}

void ListView::AddStyle(DWORD added) const {
  LONG_PTR style = ::GetWindowLongPtrA(Handle(), GWL_STYLE);
  ::SetWindowLongPtrA(Handle(), GWL_STYLE, style | added);
}

void ListView::SetRedraw(bool on) const {
  Send(WM_SETREDRAW, on ? TRUE : FALSE);
  // The system's own handling also keeps the scroll bars and the frame from drawing meanwhile
  // (Wine's list view keeps only a flag of its own); switched on after the control, so that the
  // control's update of its scroll bars does not draw them once more before the redraw below.
  ::DefWindowProcA(Handle(), WM_SETREDRAW, on ? TRUE : FALSE, 0);
  if (on) ::RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE);
}

void ListView::Repaint() const {
  SetRedraw(false);
  POINT origin{};
  if (View() != LVS_REPORT && ListView_GetOrigin(Handle(), &origin))
    ListView_Scroll(Handle(), -origin.x, -origin.y);
  if (View() == LVS_REPORT) ListView_Scroll(Handle(), -0x7FFF, 0);
  if (Count() > 0) EnsureVisible(0);
  SetRedraw(true);
}

bool ListView::IsRowVisible(int row) const {
  RECT item{}, client = ClientRect(), overlap{};
  if (!ItemRect(row, LVIR_BOUNDS, &item)) return false;
  return ::IntersectRect(&overlap, &item, &client) != FALSE;
}

}  // namespace widgets

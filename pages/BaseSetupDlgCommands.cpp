// The list page's commands on its rows, its menus, the drop target and the layout.
#include "i18n/MessageKeys.h"
#include "pages/BaseSetupDlg.h"
#include "pages/PagesRes.h"
#include "platform/Handles.h"
#include "platform/Log.h"

namespace qv {
namespace {

constexpr int kButtonColumn[] = {IDC_ADD, IDC_REMOVE, IDC_CLEAR, IDC_TOP, IDC_UP, IDC_DOWN, IDC_BOTTOM};
constexpr int kMaxSites = ID_SITE_LAST - ID_SITE_FIRST + 1;
// Below the get-more button less than this leaves the menu above it.
constexpr int kRoomBelowMenu = 100;

}  // namespace

bool BaseSetupDlg::RequireSelection() const {
  if (list_.NextSelected() >= 0) return true;
  services_.showMessage(msg::kNeedSelection, MB_OK | MB_ICONINFORMATION);
  return false;
}

std::vector<bool> BaseSetupDlg::SelectionFlags() const {
  std::vector<bool> flags(static_cast<size_t>(list_.Count()), false);
  for (int row : list_.SelectedRows()) flags[static_cast<size_t>(row)] = true;
  return flags;
}

void BaseSetupDlg::ApplyRowOrder(const RowOrder& order) {
  if (static_cast<int>(order.size()) != list_.Count()) {
    QV_LOG();
    return;
  }
  std::vector<widgets::ListRow> rows;
  rows.reserve(order.size());
  for (size_t i = 0; i < order.size(); ++i) rows.push_back(list_.Row(static_cast<int>(i)));
  for (size_t i = 0; i < order.size(); ++i) {
    if (order[i] == static_cast<int>(i)) continue;
    list_.SetRow(static_cast<int>(i), rows[static_cast<size_t>(order[i])]);
    RefreshRow(static_cast<int>(i));
  }
}

void BaseSetupDlg::ResetSort() {
  sortColumn_ = -1;
  list_.SetSortArrow(-1, widgets::ListView::SortArrow::None);
}

void BaseSetupDlg::SetSort(int column, bool ascending) {
  sortColumn_ = column;
  sortAscending_ = ascending;
  list_.SetSortArrow(column, ascending ? widgets::ListView::SortArrow::Up
                                       : widgets::ListView::SortArrow::Down);
}

void BaseSetupDlg::MoveRows(RowOrder (*move)(const std::vector<bool>&), bool top, bool bottom) {
  if (!RequireSelection()) return;
  const int lastRow = list_.Count() - 1;
  RowOrder order = move(SelectionFlags());
  if (IsIdentity(order)) return;
  ApplyRowOrder(order);
  if (top) list_.EnsureVisible(0);
  if (bottom) list_.EnsureVisible(lastRow);
  ResetSort();
}

void BaseSetupDlg::Remove() {
  if (!RequireSelection()) return;
  for (int row = list_.NextSelected(); row >= 0; row = list_.NextSelected()) list_.DeleteRow(row);
  list_.SetColumnWidth(0, LVSCW_AUTOSIZE);
}

void BaseSetupDlg::Clear() {
  if (list_.Count() == 0) return;
  list_.DeleteAll();
  GetChangeList().currentIndex = 0;
}

void BaseSetupDlg::SelectAll() {
  if (list_.SelectedCount() == 0) return;
  for (int row = 0; row < list_.Count(); ++row) list_.Select(row, true);
}

void BaseSetupDlg::InvertSelection() {
  for (int row = 0; row < list_.Count(); ++row) list_.Select(row, !list_.IsSelected(row));
}

void BaseSetupDlg::ShowContextMenu() {
  qv::ScopedMenu menu(::LoadMenuA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(settings_.contextMenuId)));
  HMENU popup = menu ? ::GetSubMenu(menu.Get(), 0) : nullptr;
  if (!popup) {
    QV_LOG();
    return;
  }
  LocalizeContextMenu(popup);
  POINT at{};
  ::GetCursorPos(&at);
  ::TrackPopupMenu(popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON, at.x, at.y, 0, Handle(), nullptr);
}

void BaseSetupDlg::ShowSitesMenu() {
  BaseSetupData& changeList = GetChangeList();
  if (changeList.siteLinks.empty()) changeList.FillDefaultSiteLinks();
  qv::ScopedMenu menu(::CreatePopupMenu());
  if (!menu) {
    QV_LOG();
    return;
  }
  const int count = static_cast<int>(changeList.siteLinks.size());
  for (int i = 0; i < count && i < kMaxSites; ++i)
    ::AppendMenuA(menu.Get(), MF_STRING, ID_SITE_FIRST + i, changeList.siteLinks[i].name.c_str());
  POINT at{};
  ::GetCursorPos(&at);
  RECT button = getMore_.WindowRect();
  const bool roomBelow = ::GetSystemMetrics(SM_CYSCREEN) - button.bottom >= kRoomBelowMenu;
  ::TrackPopupMenu(menu.Get(), TPM_LEFTALIGN | TPM_RIGHTBUTTON | (roomBelow ? TPM_TOPALIGN : TPM_BOTTOMALIGN),
                   at.x, roomBelow ? button.bottom : button.top, 0, Handle(), nullptr);
}

void BaseSetupDlg::OpenSite(int index) {
  const std::vector<SiteLink>& links = GetChangeList().siteLinks;
  if (index < 0 || index >= static_cast<int>(links.size())) return;
  services_.shellOpen(Handle(), links[static_cast<size_t>(index)].address, SW_SHOWMAXIMIZED);
}

void BaseSetupDlg::OnDropFiles(HDROP drop) {
  const UINT count = ::DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
  if (count == 0) QV_LOG();
  for (UINT i = 0; i < count; ++i) {
    char path[MAX_PATH] = "";
    if (::DragQueryFileA(drop, i, path, MAX_PATH) > 0) AddPath(path);
  }
  ::DragFinish(drop);
}

void BaseSetupDlg::RememberLayout() {
  RECT client = ClientRect();
  layoutWidth_ = client.right;
  layoutHeight_ = client.bottom;
}

void BaseSetupDlg::MoveControlX(int id, int dx) const {
  widgets::Window control(Item(id));
  if (!control.Handle() || dx == 0) return;
  RECT r = control.WindowRect();
  ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
  control.SetPosition(nullptr, r.left + dx, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BaseSetupDlg::MoveControlY(int id, int dy) const {
  widgets::Window control(Item(id));
  if (!control.Handle() || dy == 0) return;
  RECT r = control.WindowRect();
  ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
  control.SetPosition(nullptr, r.left, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void BaseSetupDlg::MoveButtonColumn(int dx) {
  for (int id : kButtonColumn) MoveControlX(id, dx);
}

std::vector<int> BaseSetupDlg::BottomControlIds() const {
  std::vector<int> ids = {IDC_CHANGE_MODE_LABEL, IDC_ORDER_LABEL, IDC_CHANGE_MODE, IDC_ORDER,
                          IDC_SET_CURRENT, IDC_GET_MORE};
  if (settings_.hasRestoreButton) ids.push_back(IDC_RESTORE);
  return ids;
}

void BaseSetupDlg::MoveBottomControls(int dy) {
  for (int id : BottomControlIds()) MoveControlY(id, dy);
}

void BaseSetupDlg::SpanControl(int id, int left, int right) const {
  widgets::Window control(Item(id));
  if (!control.Handle()) return;
  RECT r = control.WindowRect();
  ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
  control.Move(left, r.top, right - left, r.bottom - r.top);
}

void BaseSetupDlg::PlaceGetMoreButton(int width, int height) {
  SpanControl(IDC_SET_CURRENT, 0, width);
  if (settings_.hasRestoreButton) {
    SpanControl(IDC_RESTORE, 0, width / 2);
    SpanControl(IDC_GET_MORE, width / 2, width);
  } else {
    SpanControl(IDC_GET_MORE, 0, width);
  }
}

void BaseSetupDlg::Relayout(int width, int height) {
  if (width <= 0 || height <= 0 || layoutWidth_ <= 0) return;
  const int dx = width - layoutWidth_, dy = height - layoutHeight_;
  MoveButtonColumn(dx);
  MoveBottomControls(dy);
  PlaceGetMoreButton(width, height);
  widgets::Window list(Item(IDC_LIST));
  RECT r = list.WindowRect();
  ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&r), 2);
  list.Move(r.left, r.top, r.right - r.left + dx, r.bottom - r.top + dy);
  layoutWidth_ = width;
  layoutHeight_ = height;
}

}  // namespace qv

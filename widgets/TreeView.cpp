#include "widgets/TreeView.h"

namespace widgets {

HTREEITEM TreeView::Add(const std::string& text, LPARAM value, HTREEITEM parent) const {
  TVINSERTSTRUCTA insert{};
  insert.hParent = parent;
  insert.hInsertAfter = TVI_LAST;
  insert.item.mask = TVIF_TEXT | TVIF_PARAM;
  insert.item.pszText = const_cast<char*>(text.c_str());
  insert.item.lParam = value;
  return reinterpret_cast<HTREEITEM>(
      Send(TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

bool TreeView::SetItemText(HTREEITEM item, const std::string& text) const {
  TVITEMA entry{};
  entry.mask = TVIF_TEXT;
  entry.hItem = item;
  entry.pszText = const_cast<char*>(text.c_str());
  return Send(TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&entry)) != FALSE;
}

std::string TreeView::ItemText(HTREEITEM item) const {
  char buffer[260] = "";
  TVITEMA entry{};
  entry.mask = TVIF_TEXT;
  entry.hItem = item;
  entry.pszText = buffer;
  entry.cchTextMax = sizeof buffer;
  if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry))) return std::string();
  return entry.pszText ? std::string(entry.pszText) : std::string();
}

LPARAM TreeView::ItemValue(HTREEITEM item) const {
  if (!item) return -1;
  TVITEMA entry{};
  entry.mask = TVIF_PARAM;
  entry.hItem = item;
  if (!Send(TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&entry))) return -1;
  return entry.lParam;
}

HTREEITEM TreeView::FindByValue(LPARAM value) const {
  for (HTREEITEM item = First(); item; item = Next(item)) {
    if (ItemValue(item) == value) return item;
    for (HTREEITEM child = TreeView_GetChild(Handle(), item); child; child = Next(child))
      if (ItemValue(child) == value) return child;
  }
  return nullptr;
}

}  // namespace widgets

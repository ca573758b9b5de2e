// The tree view control: items with a text and a number of the owner's choosing.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "widgets/Window.h"

namespace widgets {

class TreeView : public Window {
 public:
  TreeView() = default;
  explicit TreeView(HWND control) : Window(control) {}

  // Appends an item below parent (TVI_ROOT for the top level); nullptr when it fails.
  HTREEITEM Add(const std::string& text, LPARAM value, HTREEITEM parent = TVI_ROOT) const;
  bool SetItemText(HTREEITEM item, const std::string& text) const;
  std::string ItemText(HTREEITEM item) const;
  // The number given to Add, or -1 for no item.
  LPARAM ItemValue(HTREEITEM item) const;
  // The first item (in tree order) whose value is value, or nullptr.
  HTREEITEM FindByValue(LPARAM value) const;

  HTREEITEM Selection() const { return TreeView_GetSelection(Handle()); }
  bool Select(HTREEITEM item) const { return TreeView_SelectItem(Handle(), item) != FALSE; }
  HTREEITEM First() const { return TreeView_GetRoot(Handle()); }
  HTREEITEM Next(HTREEITEM item) const { return TreeView_GetNextSibling(Handle(), item); }
  int Count() const { return static_cast<int>(TreeView_GetCount(Handle())); }
  bool Clear() const { return TreeView_DeleteAllItems(Handle()) != FALSE; }
};

}  // namespace widgets

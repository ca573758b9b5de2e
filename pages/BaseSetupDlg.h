// The list page that every kind of appearance shares: the list control (1040) whose rows carry
// the derived page's row records, the order and selection commands with their shortcuts, the
// context menu, the get-more button's menu of web sites, the drop target for files and folders,
// the layout on resize, and the exchange of the change mode and order combos with the page's
// change list. ImageSetupPage derives from it for picture lists; the screen saver page directly.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "core/BaseSetupData.h"
#include "pages/RowOrder.h"
#include "pages/SetupPage.h"
#include "widgets/Controls.h"
#include "widgets/ListView.h"
#include "widgets/MenuButton.h"

namespace qv {

struct ListPageSettings {
  int templateId;
  const char* helpTopic;
  int contextMenuId;        // first sub-menu is the list's context menu
  bool hasRestoreButton;    // control 1045 is a button on the bottom row
};

class BaseSetupDlg : public SetupPage {
 public:
  BaseSetupDlg(const PageServices& services, const ListPageSettings& settings);
  ~BaseSetupDlg() override;

  void Localize() override;

  // For tests and the derived pages: the list control and the sort state.
  const widgets::ListView& List() const { return list_; }
  int SortColumn() const { return sortColumn_; }

 protected:
  // Slots of the list page (the derived page provides the pure ones).
  virtual void Relayout(int width, int height);
  virtual void PlaceGetMoreButton(int width, int height);
  void MoveControlX(int id, int dx) const;
  void MoveControlY(int id, int dy) const;
  // Puts a control between left and right of the page, keeping its top and height.
  void SpanControl(int id, int left, int right) const;
  virtual void MoveButtonColumn(int dx);
  virtual void MoveBottomControls(int dy);
  virtual void SetupList() = 0;
  virtual void SavePage() = 0;
  virtual void LoadPage() = 0;
  virtual BaseSetupData& GetChangeList() = 0;
  virtual void RefreshRow(int row) = 0;
  virtual void AddPath(const std::string& path) = 0;
  virtual void LocalizeAddMenu(HMENU menu) {}
  virtual void LocalizeListModeMenu(HMENU menu);
  virtual void FillChangeModeCombo() = 0;
  // Refills the change mode combo with entries (language keys of "Change Mode Combobox", or
  // with fromLanguage false the texts themselves); a choice not applied yet stays chosen.
  void FillChangeModeEntries(const char* const* entries, size_t count, bool fromLanguage);
  virtual void FillOrderCombo();
  virtual void LocalizeContextMenu(HMENU menu);
  // The row record of a row that the list is deleting (the derived page frees it).
  virtual void RowDeleted(LPARAM data) = 0;
  // The change mode that a combo index stands for, and back (most kinds: the same number).
  virtual int ChangeModeFromIndex(int index) const { return index; }
  virtual int IndexFromChangeMode(int mode) const { return mode; }
  // Every control id that stays at the bottom edge (labels, combos, bottom buttons).
  virtual std::vector<int> BottomControlIds() const;

  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  bool OnSize(UINT type, int width, int height) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  void LoadControls() override;
  // Stores the rows and both combos into the change list (after validation).
  void StoreListControls();

  // The selection rule: false (after "0003") when no row is selected.
  bool RequireSelection() const;
  // Puts the rows in a new order (order[new] = old) with their records, images and states.
  void ApplyRowOrder(const RowOrder& order);
  void ResetSort();
  void SetSort(int column, bool ascending);
  std::vector<bool> SelectionFlags() const;

  // Commands.
  void Remove();
  void Clear();
  void MoveRows(RowOrder (*move)(const std::vector<bool>&), bool top, bool bottom);
  void SelectAll();
  void InvertSelection();
  void ShowContextMenu();
  void ShowSitesMenu();
  void OpenSite(int index);
  void OnDropFiles(HDROP drop);

  widgets::ListView list_;
  widgets::MenuButton listMode_;
  widgets::ComboBox changeMode_;
  widgets::ComboBox order_;
  widgets::Window getMore_;
  widgets::Window restore_;
  int sortColumn_ = -1;
  bool sortAscending_ = true;

 private:
  bool OnKeyDown(const NMLVKEYDOWN& key);
  void RememberLayout();

  ListPageSettings settings_;
  bool listBound_ = false;
  int layoutWidth_ = 0;   // the client size the controls are placed for
  int layoutHeight_ = 0;
};

}  // namespace qv

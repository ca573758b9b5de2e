// The screen saver page (dialog 138): the list page over the screen saver list, whose rows are
// screen-saver programs (each carries its ScreenSaverItemData), in large icons or details; the
// waiting time (1 to 100000 minutes, taken from the system when the page is made), "Preview",
// "Settings" and "Set As Current".
#pragma once

#include "core/ChangeLists.h"
#include "pages/BaseSetupDlg.h"
#include "platform/Handles.h"

namespace qv {

class ScreenSaverPage : public BaseSetupDlg {
 public:
  explicit ScreenSaverPage(const PageServices& services);
  ~ScreenSaverPage() override;

  void Localize() override;
  const ScreenSaverSetupData& Working() const { return working_; }
  // Tests: the item of a row (nullptr outside the list) and whether the icon view is shown.
  const ScreenSaverItemData* RowItem(int row) const;
  bool IconView() const { return working_.viewMode == 1; }

  static constexpr int kWaitLow = 1;
  static constexpr int kWaitHigh = 100000;

 protected:
  BaseSetupData& GetChangeList() override { return working_; }
  void TakeWorkingCopy(const PVoptionData& live) override;
  void LoadControls() override;
  bool ValidateControls() override;
  void CommitTo(PVoptionData& live) override;
  void SetupList() override;
  void LoadPage() override;
  void SavePage() override;
  void RefreshRow(int row) override;
  void AddPath(const std::string& path) override;
  void RowDeleted(LPARAM data) override;
  void FillChangeModeCombo() override;
  void LocalizeListModeMenu(HMENU menu) override;
  void LocalizeContextMenu(HMENU menu) override;
  void MoveButtonColumn(int dx) override;
  std::vector<int> BottomControlIds() const override;
  int ChangeModeFromIndex(int index) const override;
  int IndexFromChangeMode(int mode) const override;

  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;
  void OnDestroy() override;

 private:
  ScreenSaverItemData* RecordAt(int row) const;
  void AddItem(const ScreenSaverItemData& item);
  void AddFiles();
  void ShowIcons();
  void ShowDetails();
  void SetColumnWidths();
  // The selected row's program path; false (after "0003") when nothing is selected.
  bool SelectedPath(std::string* path) const;
  void SetAsCurrent();

  ScreenSaverSetupData working_;
  widgets::NumberEdit wait_;
  qv::ScopedMenu viewMenu_;
};

}  // namespace qv

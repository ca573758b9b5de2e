// The list page of picture lists (boot screen, wallpaper, IE skin, logon screen): rows of
// picture files and folders, shown as a table with size and colour depth or as a grid of
// thumbnails that a worker thread makes for the rows that are drawn. Each row carries an
// ImageRowRecord that the page owns; the worker gets copies of what it needs and its results
// are applied on the user-interface thread only to rows that still exist.
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/BaseSetupData.h"
#include "pages/BaseSetupDlg.h"
#include "pages/ImageRows.h"
#include "pages/PreviewMonitor.h"
#include "pages/ThumbnailQueue.h"
#include "platform/Handles.h"
#include "widgets/MemoryCanvas.h"

namespace qv {

enum ThumbnailState { kThumbNotMade = 1, kThumbReady = 2, kThumbNone = 3 };

struct ImageRowRecord {
  ImageRowFields fields;
  int thumbState = kThumbNotMade;
  qv::ScopedGdiObj<HBITMAP> thumbnail;
  int icon = 0;      // index in the system image lists
  uint64_t id = 0;   // the row's identity for the thumbnail worker
};

struct ImagePageSettings {
  ListPageSettings list;
  int addMenuId;        // the "Add" button's drop-down (32786 files, 32787 folder)
  int thumbWidth;
  int thumbHeight;
  // Add files, add folder and set as current, in this order: the first two label the "Add"
  // button's drop-down, all three the list's context menu.
  const ControlText* menuTexts;
  // How many entries of menuTexts the context menu has (the boot screen page adds its preview).
  int menuTextCount = 3;
  // The monitor below the button column that shows the selected row as applied.
  PreviewKind preview = PreviewKind::kNone;
};

class ImageSetupPage : public BaseSetupDlg {
 public:
  ImageSetupPage(const PageServices& services, const ImagePageSettings& settings);
  ~ImageSetupPage() override;

  void Localize() override;

  // Tests: the record of a row (nullptr outside the list), the full path of a row (false and ""
  // outside the list or without a record), the view, and the worker's queue.
  const ImageRowRecord* Record(int row) const;
  bool GetRowPath(int row, std::string* path) const;
  bool ThumbnailView() const { return GetImageList().viewMode == 1; }
  const ThumbnailQueue& Thumbnails() const { return *queue_; }
  // The preview monitor; nullptr on a page without one.
  const PreviewMonitor* Preview() const { return preview_.get(); }
  // Adds a file row or a folder row as the dialogs and the drop do.
  void AddFileRow(const std::string& path);
  // The same with the size and depth already known (a logon program's bitmap 100).
  void AddFileRow(const std::string& path, int width, int height, int depth);
  void AddFolderRow(const std::string& path, bool includeSubFolders);
  // Adds a file row with the given fields and small icon (its thumbnail still to be made);
  // the row, or -1 (logged).
  int AddRow(const ImageRowFields& fields, int icon);

 protected:
  virtual ImageSetupData& GetImageList() = 0;
  const ImageSetupData& GetImageList() const { return const_cast<ImageSetupPage*>(this)->GetImageList(); }
  BaseSetupData& GetChangeList() override { return GetImageList(); }

  void SetupList() override;
  void LoadPage() override;
  void SavePage() override;
  void RefreshRow(int row) override;
  void AddPath(const std::string& path) override;
  void MoveButtonColumn(int dx) override;
  void RowDeleted(LPARAM data) override;
  void LocalizeAddMenu(HMENU menu) override;
  void LocalizeContextMenu(HMENU menu) override;
  // The file dialog; the boot screen and logon pages replace it.
  virtual void AddFiles();
  // The filter of the file dialog ("title|patterns|...").
  virtual std::string FileFilter() const;
  // What the page adds to the preview's picture; the desktop colour and fit to screen here.
  virtual PreviewLook CurrentPreviewLook() const;
  // Shows a changed mode or colour in the preview at once.
  void RefreshPreviewLook();
  void Relayout(int width, int height) override;

  bool OnInit() override;
  bool OnCommand(int code, int id, HWND control) override;
  bool OnNotify(int id, NMHDR* header, LRESULT* result) override;
  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnDestroy() override;

  void AddFolder();
  void SetColumnWidths();
  void ShowThumbnails();
  void ShowDetails();
  void SortBy(int column);
  void OpenSelected();

  widgets::MenuButton add_;

 private:
  ImageRowRecord* NewRecord();
  int InsertRecordRow(ImageRowRecord* record);
  ImageRowRecord* RecordAt(int row) const;
  int RowOf(const ImageRowRecord* record) const;
  bool OnMenuButton(widgets::MenuButton& button, int id);
  // Thumbnails (ImageSetupPageThumbs.cpp).
  LRESULT OnCustomDraw(NMLVCUSTOMDRAW& draw);
  void DrawThumbnailCell(NMLVCUSTOMDRAW& draw);
  void QueueThumbnail(int row, ImageRowRecord& record);
  void ApplyThumbnails();
  void DropInvisibleJobs();
  void StopThumbnails();
  // The preview follows the first selected row; selection notices come one per row, so they are
  // gathered into one posted update.
  void CreatePreview();
  RECT PreviewArea() const;
  void SchedulePreview();
  void UpdatePreview();

  ImagePageSettings imageSettings_;
  qv::ScopedMenu addMenu_;
  qv::ScopedMenu listModeMenu_;
  qv::ScopedImageList thumbCells_;  // the empty image list that sizes the thumbnail cells
  widgets::MemoryCanvas cellCanvas_;  // where a thumbnail cell is put together
  std::unordered_map<uint64_t, ImageRowRecord*> records_;  // the live rows by identity
  uint64_t nextId_ = 1;
  std::atomic<HWND> notifyWindow_{nullptr};  // read by the worker's notice
  std::unique_ptr<ThumbnailQueue> queue_;
  std::unique_ptr<PreviewMonitor> preview_;
  bool previewPosted_ = false;
};

// The shell's small or large system image list (shared, never destroyed), got once.
HIMAGELIST SystemImageList(bool large);

}  // namespace qv

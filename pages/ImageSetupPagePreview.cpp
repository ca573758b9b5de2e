// The picture page's preview monitor: where it sits (below the button column, down to the
// list's bottom edge), and the row and look it shows.
#include "pages/ImageSetupPage.h"

#include "pages/PagesRes.h"
#include "platform/Log.h"

namespace qv {
namespace {

constexpr int kGap = 6;  // between the last button and the monitor

}  // namespace

void ImageSetupPage::CreatePreview() {
  if (imageSettings_.preview == PreviewKind::kNone) return;
  preview_ = std::make_unique<PreviewMonitor>(imageSettings_.preview);
  if (!preview_->Create(Handle(), PreviewArea())) {
    QV_LOG();
    return;
  }
  RefreshPreviewLook();
}

RECT ImageSetupPage::PreviewArea() const {
  RECT bottom = widgets::Window(Item(IDC_BOTTOM)).WindowRect();
  RECT list = list_.WindowRect();
  ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&bottom), 2);
  ::MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&list), 2);
  const LONG top = bottom.bottom + kGap;
  return RECT{bottom.left, top, bottom.right, list.bottom > top ? list.bottom : top};
}

void ImageSetupPage::Relayout(int width, int height) {
  BaseSetupDlg::Relayout(width, height);
  if (!preview_ || !preview_->IsWindow()) return;
  const RECT area = PreviewArea();
  preview_->Move(area.left, area.top, area.right - area.left, area.bottom - area.top);
}

PreviewLook ImageSetupPage::CurrentPreviewLook() const {
  PreviewLook look;
  look.background = ::GetSysColor(COLOR_DESKTOP);
  return look;
}

void ImageSetupPage::RefreshPreviewLook() {
  if (preview_) preview_->SetLook(CurrentPreviewLook());
}

void ImageSetupPage::SchedulePreview() {
  if (!preview_ || previewPosted_ || !IsWindow()) return;
  previewPosted_ = Post(QV_MSG_PREVIEW_SELECTION, 0, 0);
}

void ImageSetupPage::UpdatePreview() {
  if (!preview_) return;
  PreviewRow row;
  if (const ImageRowRecord* record = RecordAt(list_.NextSelected())) {
    row.path = RowFullPath(record->fields);
    row.folder = record->fields.isFolder != 0;
    row.subFolders = record->fields.includeSubFolders != 0;
    row.icon = record->icon;
  }
  preview_->ShowRow(row);
}

}  // namespace qv

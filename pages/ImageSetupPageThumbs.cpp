// The picture page's thumbnail view: custom drawing of the cells, queueing the rows that are
// drawn, and taking the worker's finished thumbnails back on the user-interface thread.
#include "pages/ImageSetupPage.h"
#include "platform/Log.h"

namespace qv {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr int kLargeIcon = 32;
constexpr int kSmallIconInset = 19;

void FillBox(HDC dc, int x, int y, int cx, int cy, COLORREF colour) {
  ::SetBkColor(dc, colour);
  RECT r{x, y, x + cx, y + cy};
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

// A frame of cx x cy at (x, y): topLeft on the top and left edges, bottomRight on the others.
void Frame3d(HDC dc, int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight) {
  FillBox(dc, x, y, cx - 1, 1, topLeft);
  FillBox(dc, x, y, 1, cy - 1, topLeft);
  FillBox(dc, x + cx - 1, y, 1, cy, bottomRight);
  FillBox(dc, x, y + cy - 1, cx, 1, bottomRight);
}

void DrawBitmapCentred(HDC dc, HBITMAP bitmap, const RECT& box) {
  BITMAP info{};
  if (!::GetObjectA(bitmap, sizeof info, &info)) return;
  HDC memory = ::CreateCompatibleDC(dc);
  if (!memory) return;
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  const int x = box.left + (box.right - box.left - info.bmWidth) / 2;
  const int y = box.top + (box.bottom - box.top - info.bmHeight) / 2;
  ::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, memory, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  ::DeleteDC(memory);
}

}  // namespace

HIMAGELIST SystemImageList(bool large) {
  static HIMAGELIST lists[2] = {nullptr, nullptr};
  HIMAGELIST& list = lists[large ? 1 : 0];
  if (!list) {
    SHFILEINFOA info{};
    list = reinterpret_cast<HIMAGELIST>(::SHGetFileInfoA(
        "C:\\", 0, &info, sizeof info,
        SHGFI_SYSICONINDEX | (large ? SHGFI_LARGEICON : SHGFI_SMALLICON)));
  }
  return list;
}

LRESULT ImageSetupPage::OnCustomDraw(NMLVCUSTOMDRAW& draw) {
  if (!ThumbnailView()) return CDRF_DODEFAULT;
  switch (draw.nmcd.dwDrawStage) {
    case CDDS_PREPAINT:
      DropInvisibleJobs();
      return CDRF_NOTIFYITEMDRAW;
    case CDDS_ITEMPREPAINT:
      DrawThumbnailCell(draw);
      return CDRF_DODEFAULT;
  }
  return CDRF_DODEFAULT;
}

void ImageSetupPage::DrawThumbnailCell(NMLVCUSTOMDRAW& draw) {
  const int row = static_cast<int>(draw.nmcd.dwItemSpec);
  ImageRowRecord* record = RecordAt(row);
  RECT icon{};
  if (!record || !list_.ItemRect(row, LVIR_ICON, &icon)) {
    QV_LOG();
    return;
  }
  HDC dc = draw.nmcd.hdc;
  const int w = imageSettings_.thumbWidth, h = imageSettings_.thumbHeight;
  const int x0 = icon.left + (icon.right - icon.left - w) / 2;
  const int y0 = icon.top + (icon.bottom - icon.top - h) / 2;
  const COLORREF oldBack = ::GetBkColor(dc);
  Frame3d(dc, x0 - 1, y0 - 1, w + 3, h + 3, kGrey, RGB(0, 0, 0));
  Frame3d(dc, x0, y0, w + 1, h + 1, RGB(255, 255, 255), kLightGrey);
  if (list_.IsSelected(row))
    for (int k = 0; k < 3; ++k)
      Frame3d(dc, x0 - 3 - k, y0 - 3 - k, w + 7 + 2 * k, h + 7 + 2 * k, kNavy, kNavy);
  if (record->thumbState == kThumbReady && record->thumbnail) {
    // The large icon drawn while the row waited may be taller than a flat thumbnail.
    FillBox(dc, x0 + 1, y0 + 1, w - 1, h - 1, ::GetSysColor(COLOR_WINDOW));
    ::SetBkColor(dc, oldBack);
    DrawBitmapCentred(dc, record->thumbnail.Get(), icon);
    ::ImageList_Draw(SystemImageList(false), record->icon, dc, x0 + w - kSmallIconInset,
                     y0 + h - kSmallIconInset, ILD_TRANSPARENT);
    return;
  }
  ::SetBkColor(dc, oldBack);
  if (record->thumbState == kThumbNotMade) QueueThumbnail(row, *record);
  ::ImageList_Draw(SystemImageList(true), record->icon, dc,
                   (icon.left + icon.right - kLargeIcon) / 2, (icon.top + icon.bottom - kLargeIcon) / 2,
                   ILD_TRANSPARENT);
}

void ImageSetupPage::QueueThumbnail(int row, ImageRowRecord& record) {
  if (record.thumbState != kThumbNotMade || row < 0 || row >= list_.Count()) {
    QV_LOG();
    return;
  }
  queue_->Add(ThumbnailJob{record.id, RowFullPath(record.fields), imageSettings_.thumbWidth,
                           imageSettings_.thumbHeight});
}

void ImageSetupPage::DropInvisibleJobs() {
  const bool shown = ThumbnailView() && ::IsWindowVisible(list_.Handle());
  queue_->RemoveIf([&](const ThumbnailJob& job) {
    if (!shown) return true;
    auto found = records_.find(job.rowId);
    if (found == records_.end()) return true;
    const int row = RowOf(found->second);
    return row < 0 || !list_.IsRowVisible(row);
  });
}

void ImageSetupPage::ApplyThumbnails() {
  for (ThumbnailResult& result : queue_->TakeResults()) {
    qv::ScopedGdiObj<HBITMAP> bitmap(reinterpret_cast<HBITMAP>(result.bitmap));
    auto found = records_.find(result.rowId);
    if (found == records_.end() || found->second->thumbState != kThumbNotMade) continue;
    ImageRowRecord& record = *found->second;
    const int row = RowOf(&record);
    if (result.ok) {
      record.thumbnail = std::move(bitmap);
      record.thumbState = kThumbReady;
      if (result.pictureWidth > 0) {
        record.fields.width = result.pictureWidth;
        record.fields.height = result.pictureHeight;
        if (row >= 0) RefreshRow(row);
      }
    } else {
      record.thumbState = kThumbNone;
    }
    RECT icon{};
    if (row >= 0 && list_.ItemRect(row, LVIR_ICON, &icon)) ::InvalidateRect(list_.Handle(), &icon, FALSE);
  }
  // The window may have been hidden or scrolled since the rows were queued.
  DropInvisibleJobs();
}

void ImageSetupPage::StopThumbnails() {
  queue_->Stop();
  // Finished thumbnails that no row took: their bitmaps go with the results.
  for (ThumbnailResult& result : queue_->TakeResults())
    qv::ScopedGdiObj<HBITMAP> bitmap(reinterpret_cast<HBITMAP>(result.bitmap));
}

}  // namespace qv

// The picture page's thumbnail view: custom drawing of the cells, queueing the rows that are
// drawn, and taking the worker's finished thumbnails back on the user-interface thread.
#include "pages/ImageSetupPage.h"

#include <algorithm>

#include "platform/Log.h"

namespace qv {
namespace {

constexpr COLORREF kGrey = RGB(128, 128, 128);
constexpr COLORREF kLightGrey = RGB(192, 192, 192);
constexpr COLORREF kNavy = RGB(0, 0, 128);
constexpr int kLargeIcon = 32;
constexpr int kSmallIconInset = 19;
constexpr int kSelectionBand = 3;

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

// The selection mark: a band of kSelectionBand pixels around the box of w x h at (x0, y0), one
// pixel of background away from its outer frame.
void SelectionBand(HDC dc, int x0, int y0, int w, int h) {
  const int left = x0 - 2 - kSelectionBand, top = y0 - 2 - kSelectionBand;
  const int outer = w + 5 + 2 * kSelectionBand, inner = h + 5;
  FillBox(dc, left, top, outer, kSelectionBand, kNavy);
  FillBox(dc, left, y0 + h + 3, outer, kSelectionBand, kNavy);
  FillBox(dc, left, y0 - 2, kSelectionBand, inner, kNavy);
  FillBox(dc, x0 + w + 3, y0 - 2, kSelectionBand, inner, kNavy);
}

RECT Union(const RECT& a, const RECT& b) {
  return RECT{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

RECT Centred(const RECT& box, int cx, int cy) {
  const int x = box.left + (box.right - box.left - cx) / 2;
  const int y = box.top + (box.bottom - box.top - cy) / 2;
  return RECT{x, y, x + cx, y + cy};
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

// The cell is put together on a memory canvas and goes to the list in one blit (see
// MemoryCanvas); the list draws the label and the focus over it afterwards.
void ImageSetupPage::DrawThumbnailCell(NMLVCUSTOMDRAW& draw) {
  const int row = static_cast<int>(draw.nmcd.dwItemSpec);
  ImageRowRecord* record = RecordAt(row);
  RECT icon{};
  if (!record || !list_.ItemRect(row, LVIR_ICON, &icon)) {
    QV_LOG();
    return;
  }
  const int w = imageSettings_.thumbWidth, h = imageSettings_.thumbHeight;
  const RECT box = Centred(icon, w, h);
  const int x0 = box.left, y0 = box.top;
  const int reach = 2 + kSelectionBand;
  const bool ready = record->thumbState == kThumbReady && record->thumbnail;
  BITMAP picture{};
  if (ready) ::GetObjectA(record->thumbnail.Get(), sizeof picture, &picture);
  // The thumbnail when it is ready, else the large icon that stands for it meanwhile.
  const RECT shown = ready ? Centred(icon, picture.bmWidth, picture.bmHeight) : Centred(icon, kLargeIcon, kLargeIcon);
  const RECT drawn = Union(RECT{x0 - reach, y0 - reach, x0 + w + reach + 1, y0 + h + reach + 1}, shown);
  HDC dc = cellCanvas_.Begin(draw.nmcd.hdc, drawn);
  if (!dc) dc = draw.nmcd.hdc;  // out of memory: straight to the list
  const COLORREF oldBack = ::GetBkColor(dc);
  Frame3d(dc, x0 - 1, y0 - 1, w + 3, h + 3, kGrey, RGB(0, 0, 0));
  Frame3d(dc, x0, y0, w + 1, h + 1, RGB(255, 255, 255), kLightGrey);
  if (list_.IsSelected(row)) SelectionBand(dc, x0, y0, w, h);
  if (ready) {
    // The large icon drawn while the row waited may be taller than a flat thumbnail.
    FillBox(dc, x0 + 1, y0 + 1, w - 1, h - 1, ::GetSysColor(COLOR_WINDOW));
    cellCanvas_.DrawBitmap(dc, record->thumbnail.Get(), shown.left, shown.top);
    ::ImageList_Draw(SystemImageList(false), record->icon, dc, x0 + w - kSmallIconInset,
                     y0 + h - kSmallIconInset, ILD_TRANSPARENT);
  } else {
    if (record->thumbState == kThumbNotMade) QueueThumbnail(row, *record);
    ::ImageList_Draw(SystemImageList(true), record->icon, dc, shown.left, shown.top, ILD_TRANSPARENT);
  }
  ::SetBkColor(dc, oldBack);
  if (dc != draw.nmcd.hdc) cellCanvas_.End();
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

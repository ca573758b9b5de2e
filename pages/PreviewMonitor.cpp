#include "pages/PreviewMonitor.h"

#include <algorithm>

#include "changers/ImagePreparation.h"
#include "changers/WallpaperPlacement.h"
#include "pages/ImageSetupPage.h"
#include "platform/Log.h"

namespace qv {
namespace {

constexpr char kClassName[] = "QuorvexPreviewMonitor";
constexpr COLORREF kBezel = RGB(56, 56, 60);
constexpr COLORREF kBezelEdge = RGB(128, 128, 136);
constexpr int kStripHeight = 56;  // about the browser's toolbars together
constexpr int kStripButton = 22;
constexpr int kLargeIcon = 32;

void Fill(HDC dc, const RECT& r, COLORREF colour) {
  ::SetBkColor(dc, colour);
  ::ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

SIZE ScreenShape() {
  int width = 0, height = 0;
  Environment().screenSize(&width, &height);
  if (width <= 0 || height <= 0) return SIZE{4, 3};
  return SIZE{width, height};
}

// The largest rectangle of the screen's shape inside width x height.
SIZE FitShape(SIZE shape, int width, int height) {
  if (int64_t(width) * shape.cy <= int64_t(height) * shape.cx)
    return SIZE{width, static_cast<LONG>(int64_t(width) * shape.cy / shape.cx)};
  return SIZE{static_cast<LONG>(int64_t(height) * shape.cx / shape.cy), height};
}

int Bezel(const RECT& client) {
  return std::max(2L, std::min(client.right - client.left, client.bottom - client.top) / 24);
}

int StandHeight(const RECT& client) { return std::max(4L, (client.bottom - client.top) / 8); }

}  // namespace

PreviewMonitor::PreviewMonitor(PreviewKind kind) : kind_(kind) {
  const PreviewScale scale = kind == PreviewKind::kSkinStrip ? PreviewScale::kStrip : PreviewScale::kScreen;
  queue_ = std::make_unique<ThumbnailQueue>(
      [scale](const ThumbnailJob& job) { return MakePreviewPicture(job, scale); },
      [this] {
        // The worker only posts: a message sent across threads would wait for this thread.
        if (HWND window = notifyWindow_.load()) ::PostMessageA(window, kPreviewReadyMessage, 0, 0);
      });
}

PreviewMonitor::~PreviewMonitor() {
  if (IsWindow()) Destroy();
  Stop();
}

bool PreviewMonitor::Create(HWND page, const RECT& area) {
  if (!CustomWindow::Create(kClassName, WS_CHILD | WS_VISIBLE, 0, area.left, area.top,
                            area.right - area.left, area.bottom - area.top, page))
    return false;
  notifyWindow_ = Handle();
  return true;
}

void PreviewMonitor::ShowRow(const PreviewRow& row) {
  if (row == row_ && state_ != kEmpty) return;
  row_ = row;
  picture_.clear();
  state_ = row.path.empty() ? kEmpty : kLoading;
  if (state_ == kLoading) Request();
  if (IsWindow()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

void PreviewMonitor::SetLook(const PreviewLook& look) {
  look_ = look;
  if (IsWindow()) ::InvalidateRect(Handle(), nullptr, FALSE);
}

// A new job for the row at the present size; a job still queued is dropped, and the result of
// one in progress is thrown away when it arrives.
void PreviewMonitor::Request() {
  RECT client{};
  if (IsWindow()) ::GetClientRect(Handle(), &client);
  const RECT screen = ScreenArea(client);
  ThumbnailJob job;
  job.rowId = ++request_;
  job.path = row_.path;
  job.folder = row_.folder;
  job.subFolders = row_.subFolders;
  job.width = std::max(1L, kind_ == PreviewKind::kSkinStrip ? client.right : screen.right - screen.left);
  job.height = std::max(1L, kind_ == PreviewKind::kSkinStrip ? LONG(kStripHeight) : screen.bottom - screen.top);
  requestedFor_ = SIZE{job.width, job.height};
  ++requests_;
  queue_->RemoveIf([](const ThumbnailJob&) { return true; });
  queue_->Add(job);
}

void PreviewMonitor::TakeResults() {
  for (ThumbnailResult& result : queue_->TakeResults()) {
    qv::ScopedGdiObj<HBITMAP> bitmap(reinterpret_cast<HBITMAP>(result.bitmap));
    if (result.rowId != request_ || row_.path.empty()) continue;
    state_ = result.ok && KeepPicture(bitmap.Get()) ? kReady : kRefused;
    ownSize_ = SIZE{result.pictureWidth, result.pictureHeight};
    ::InvalidateRect(Handle(), nullptr, FALSE);
  }
}

bool PreviewMonitor::KeepPicture(HBITMAP bitmap) {
  BITMAP info{};
  if (!::GetObjectA(bitmap, sizeof info, &info) || info.bmWidth <= 0 || info.bmHeight <= 0) return false;
  pictureInfo_ = BITMAPINFO{};
  BITMAPINFOHEADER& header = pictureInfo_.bmiHeader;
  header.biSize = sizeof header;
  header.biWidth = info.bmWidth;
  header.biHeight = -info.bmHeight;  // rows from the top
  header.biPlanes = 1;
  header.biBitCount = 32;
  header.biCompression = BI_RGB;
  picture_.assign(static_cast<size_t>(info.bmWidth) * static_cast<size_t>(info.bmHeight) * 4, 0);
  qv::ScopedDC screen(nullptr);
  if (!::GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(info.bmHeight), picture_.data(), &pictureInfo_,
                   DIB_RGB_COLORS)) {
    QV_LOG();
    picture_.clear();
    return false;
  }
  pictureSize_ = SIZE{info.bmWidth, info.bmHeight};
  return true;
}

void PreviewMonitor::Stop() {
  notifyWindow_ = nullptr;
  queue_->Stop();
  // Pictures that no request took go with their results.
  for (ThumbnailResult& result : queue_->TakeResults())
    qv::ScopedGdiObj<HBITMAP> bitmap(reinterpret_cast<HBITMAP>(result.bitmap));
}

RECT PreviewMonitor::ScreenArea(const RECT& client) const {
  const int width = client.right - client.left, height = client.bottom - client.top;
  if (kind_ == PreviewKind::kSkinStrip) {
    const int strip = std::min(height, kStripHeight);
    const int top = client.top + (height - strip) / 2;
    return RECT{client.left, top, client.right, top + strip};
  }
  const int bezel = Bezel(client);
  const SIZE size = FitShape(ScreenShape(), std::max(1, width - 2 * bezel),
                             std::max(1, height - StandHeight(client) - 2 * bezel));
  const int left = client.left + (width - size.cx) / 2;
  const int top = client.top + bezel;
  return RECT{left, top, left + size.cx, top + size.cy};
}

void PreviewMonitor::Render(HDC dc, const RECT& client) const {
  Fill(dc, client, ::GetSysColor(COLOR_3DFACE));
  const RECT screen = ScreenArea(client);
  if (kind_ == PreviewKind::kSkinStrip) {
    DrawStrip(dc, screen);
    return;
  }
  const int bezel = Bezel(client);
  RECT frame{screen.left - bezel, screen.top - bezel, screen.right + bezel, screen.bottom + bezel};
  Fill(dc, frame, kBezel);
  const int stand = StandHeight(client), width = screen.right - screen.left;
  const int neckHalf = std::max(2, width / 12), baseHalf = std::max(4, width / 5);
  const int middle = (screen.left + screen.right) / 2;
  Fill(dc, RECT{middle - neckHalf, frame.bottom, middle + neckHalf, frame.bottom + stand - 2}, kBezel);
  Fill(dc, RECT{middle - baseHalf, frame.bottom + stand - 3, middle + baseHalf, frame.bottom + stand}, kBezel);
  Fill(dc, RECT{frame.left, frame.top, frame.right, frame.top + 1}, kBezelEdge);
  DrawScreen(dc, screen);
}

// The desktop (or logon) colour, then the picture where its mode puts it, cut at the screen's
// edges; a picture that does not load shows the row's icon as its thumbnail does.
void PreviewMonitor::DrawScreen(HDC dc, const RECT& screen) const {
  Fill(dc, screen, look_.background);
  if (state_ == kRefused) {
    const int x = (screen.left + screen.right) / 2 - kLargeIcon / 2;
    const int y = (screen.top + screen.bottom) / 2 - kLargeIcon / 2;
    ::ImageList_Draw(SystemImageList(true), row_.icon, dc, x, y, ILD_TRANSPARENT);
    return;
  }
  if (state_ != kReady || picture_.empty()) return;
  const SIZE shape = ScreenShape();
  const int width = screen.right - screen.left, height = screen.bottom - screen.top;
  const int mode = kind_ == PreviewKind::kLogon ? kFitToScreen : look_.positionMode;
  const WallpaperPlacement placed = PlaceWallpaper(mode, shape.cx, shape.cy, ownSize_.cx, ownSize_.cy);
  // The screen's pixels to the monitor's: the same factor across and down.
  const auto scaled = [&](int side) { return std::max(1, static_cast<int>(int64_t(side) * width / shape.cx)); };
  const int cx = scaled(placed.picture.width), cy = scaled(placed.picture.height);
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, screen.left, screen.top, screen.right, screen.bottom);
  if (placed.systemStyle == kSystemStretched) {
    DrawPicture(dc, screen);
  } else if (placed.systemStyle == kSystemTiled) {
    for (int y = screen.top; y < screen.bottom; y += cy)
      for (int x = screen.left; x < screen.right; x += cx) DrawPicture(dc, RECT{x, y, x + cx, y + cy});
  } else {
    const int x = screen.left + (width - cx) / 2, y = screen.top + (height - cy) / 2;
    DrawPicture(dc, RECT{x, y, x + cx, y + cy});
  }
  ::RestoreDC(dc, saved);
}

// The toolbar as the browser draws it over its skin: the bitmap tiled from the top-left at its
// own size, with a few flat buttons over it.
void PreviewMonitor::DrawStrip(HDC dc, const RECT& strip) const {
  Fill(dc, strip, ::GetSysColor(COLOR_3DFACE));
  const int saved = ::SaveDC(dc);
  ::IntersectClipRect(dc, strip.left, strip.top, strip.right, strip.bottom);
  if (state_ == kReady && !picture_.empty()) {
    for (int y = strip.top; y < strip.bottom; y += pictureSize_.cy)
      for (int x = strip.left; x < strip.right; x += pictureSize_.cx)
        DrawPicture(dc, RECT{x, y, x + pictureSize_.cx, y + pictureSize_.cy});
  } else if (state_ == kRefused) {
    ::ImageList_Draw(SystemImageList(true), row_.icon, dc, strip.left + 4,
                     (strip.top + strip.bottom) / 2 - kLargeIcon / 2, ILD_TRANSPARENT);
  }
  for (int i = 0; i < 3; ++i) {
    RECT button{strip.left + 4 + i * (kStripButton + 4), strip.top + 4, 0, 0};
    button.right = button.left + kStripButton;
    button.bottom = button.top + kStripButton;
    ::DrawEdge(dc, &button, BDR_RAISEDINNER, BF_RECT);
  }
  ::RestoreDC(dc, saved);
  RECT edge = strip;
  ::DrawEdge(dc, &edge, EDGE_ETCHED, BF_TOP | BF_BOTTOM);
}

// The decoded picture over target, averaged by the system where it shrinks.
void PreviewMonitor::DrawPicture(HDC dc, const RECT& target) const {
  const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
  if (::StretchDIBits(dc, target.left, target.top, target.right - target.left, target.bottom - target.top, 0, 0,
                      pictureSize_.cx, pictureSize_.cy, picture_.data(), &pictureInfo_, DIB_RGB_COLORS,
                      SRCCOPY) == 0)
    QV_LOG();
  ::SetStretchBltMode(dc, oldMode);
}

LRESULT PreviewMonitor::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPreviewReadyMessage:
      TakeResults();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      qv::ScopedPaint paint(Handle());
      RECT client{};
      ::GetClientRect(Handle(), &client);
      // Put together off the window and shown in one blit, so a repaint never flickers.
      HDC dc = canvas_.Begin(paint.Get(), client);
      Render(dc ? dc : paint.Get(), client);
      if (dc) canvas_.End();
      return 0;
    }
    case WM_SIZE: {
      // A monitor that grew much past its picture's decode asks for a sharper one.
      RECT client{0, 0, LOWORD(lParam), HIWORD(lParam)};
      const RECT screen = ScreenArea(client);
      if (state_ == kReady && screen.right - screen.left > requestedFor_.cx * 5 / 4 &&
          kind_ != PreviewKind::kSkinStrip)
        Request();
      ::InvalidateRect(Handle(), nullptr, FALSE);
      return 0;
    }
    case WM_DESTROY:
      Stop();
      break;
  }
  return CustomWindow::OnMessage(message, wParam, lParam);
}

}  // namespace qv

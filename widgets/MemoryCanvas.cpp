#include "widgets/MemoryCanvas.h"

#include <algorithm>

namespace widgets {

MemoryCanvas::~MemoryCanvas() {
  if (dc_ && original_) ::SelectObject(dc_.Get(), original_);
}

bool MemoryCanvas::Grow(int width, int height) {
  if (width <= width_ && height <= height_ && bitmap_) return true;
  width = std::max(width, width_);
  height = std::max(height, height_);
  // Made from the screen, not from the window's context: that one would ask the server.
  if (!dc_) dc_.Reset(::CreateCompatibleDC(nullptr));
  if (!source_) source_.Reset(::CreateCompatibleDC(nullptr));
  if (!dc_ || !source_) return false;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top-down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  qv::ScopedGdiObj<HBITMAP> bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!bitmap) return false;
  HGDIOBJ previous = ::SelectObject(dc_.Get(), bitmap.Get());
  if (!previous || previous == HGDI_ERROR) return false;
  if (!original_) original_ = previous;
  bitmap_ = std::move(bitmap);  // the old one, no longer selected, goes
  width_ = width;
  height_ = height;
  return true;
}

HDC MemoryCanvas::Begin(HDC target, const RECT& area) {
  target_ = nullptr;
  const int width = area.right - area.left, height = area.bottom - area.top;
  if (!target || width <= 0 || height <= 0 || !Grow(width, height)) return nullptr;
  ::SetViewportOrgEx(dc_.Get(), -area.left, -area.top, nullptr);
  if (!::BitBlt(dc_.Get(), area.left, area.top, width, height, target, area.left, area.top, SRCCOPY))
    return nullptr;
  target_ = target;
  area_ = area;
  return dc_.Get();
}

bool MemoryCanvas::DrawBitmap(HDC dc, HBITMAP bitmap, int x, int y) {
  BITMAP info{};
  if (!::GetObjectA(bitmap, sizeof info, &info)) return false;
  if (!source_) source_.Reset(::CreateCompatibleDC(nullptr));
  qv::ScopedSelect selected(source_.Get(), bitmap);
  return selected && ::BitBlt(dc, x, y, info.bmWidth, info.bmHeight, source_.Get(), 0, 0, SRCCOPY);
}

bool MemoryCanvas::End() {
  if (!target_) return false;
  HDC target = target_;
  target_ = nullptr;
  return ::BitBlt(target, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top,
                  dc_.Get(), area_.left, area_.top, SRCCOPY) != FALSE;
}

}  // namespace widgets

// WMF and EMF through the platform's metafile player: rendered at the picture's size in screen
// pixels (at most 4000 a side) onto the window colour, then captured like a screen bitmap.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "image/Coders.h"
#include "image/MetafileHeader.h"

namespace qv {
namespace image {
namespace {

struct EmfHolder {
  HENHMETAFILE emf = nullptr;
  ~EmfHolder() {
    if (emf) DeleteEnhMetaFile(emf);
  }
};

}  // namespace

bool DecodeWmf(CoderJob& job) {
  std::vector<uint8_t> bytes;
  if (!ReadRest(job.file, bytes)) return job.Fail("corrupted WMF");
  HDC screen = GetDC(nullptr);
  const long dpiX = GetDeviceCaps(screen, LOGPIXELSX), dpiY = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  EmfHolder holder;
  const MetafileHeader header = ReadMetafileHeader(bytes.data(), bytes.size(), dpiX, dpiY);
  long w = header.width, h = header.height;
  if (header.kind == MetafileKind::kPlaceable) {
    METAFILEPICT pict{MM_ANISOTROPIC, LONG(header.extentX), LONG(header.extentY), nullptr};
    holder.emf = SetWinMetaFileBits(UINT(bytes.size() - header.bitsOffset), &bytes[header.bitsOffset], nullptr, &pict);
  } else if (header.kind == MetafileKind::kEnhanced) {
    holder.emf = SetEnhMetaFileBits(UINT(bytes.size()), bytes.data());
  } else if (header.kind == MetafileKind::kPlain) {
    // A plain metafile states no size: the player's own bounds are used.
    holder.emf = SetWinMetaFileBits(UINT(bytes.size()), bytes.data(), nullptr, nullptr);
  }
  if (!holder.emf) return job.Fail("corrupted WMF");
  if (w == 0 && h == 0) {
    ENHMETAHEADER frame;
    if (!GetEnhMetaFileHeader(holder.emf, sizeof frame, &frame)) return job.Fail("corrupted WMF");
    // The frame is in hundredths of a millimetre.
    w = (frame.rclFrame.right - frame.rclFrame.left) * dpiX / 2540;
    h = (frame.rclFrame.bottom - frame.rclFrame.top) * dpiY / 2540;
  }
  if (!LimitMetafileSize(&w, &h)) return job.Fail("empty WMF");
  screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, int(w), int(h));
  HDC mem = bitmap ? CreateCompatibleDC(screen) : nullptr;
  ReleaseDC(nullptr, screen);
  if (!mem) {
    if (bitmap) DeleteObject(bitmap);
    return job.Fail("Can't allocate memory");
  }
  HGDIOBJ old = SelectObject(mem, bitmap);
  RECT rect{0, 0, LONG(w), LONG(h)};
  FillRect(mem, &rect, GetSysColorBrush(COLOR_WINDOW));
  PlayEnhMetaFile(mem, holder.emf, &rect);
  SelectObject(mem, old);
  DeleteDC(mem);
  bool ok = job.image.CreateFromHBITMAP(bitmap);
  DeleteObject(bitmap);
  if (!ok) return job.Fail(job.image.GetLastError()[0] ? job.image.GetLastError() : "GetDIBits failed");
  return true;
}

}  // namespace image
}  // namespace qv

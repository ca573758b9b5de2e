// WMF and EMF through the platform's metafile player: rendered at the picture's size in screen
// pixels (at most 4000 a side) onto the window colour, then captured like a screen bitmap.
#include <windows.h>

#include <cstdlib>
#include <vector>

#include "image/Coders.h"
#include "platform/ByteReader.h"

namespace qv {
namespace image {
namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr long kMaxSide = 4000;


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
  long w = 0, h = 0;
  const platform::ByteReader r(bytes.data(), bytes.size());
  if (bytes.size() >= 22 + 18 && r.U32LEAt(0) == kPlaceableKey) {
    // Placeable: a bounding box in metafile units and the units per inch before the metafile.
    const long left = r.I16LEAt(6), top = r.I16LEAt(8), right = r.I16LEAt(10), bottom = r.I16LEAt(12);
    const long inch = r.U16LEAt(14);
    if (inch == 0) return job.Fail("corrupted WMF");
    w = (right - left) * dpiX / inch;
    h = (bottom - top) * dpiY / inch;
    if (w < 0) w = -w;
    if (h < 0) h = -h;
    METAFILEPICT pict{MM_ANISOTROPIC, LONG(std::abs(right - left) * 2540 / inch), LONG(std::abs(bottom - top) * 2540 / inch),
                      nullptr};
    holder.emf = SetWinMetaFileBits(UINT(bytes.size() - 22), &bytes[22], nullptr, &pict);
  } else if (bytes.size() >= 88 && r.U32LEAt(0) == 1 && r.U32LEAt(40) == 0x464D4520) {
    holder.emf = SetEnhMetaFileBits(UINT(bytes.size()), bytes.data());
  } else if (bytes.size() >= 18 && (r.U16LEAt(0) == 1 || r.U16LEAt(0) == 2) && r.U16LEAt(2) == 9) {
    // A plain metafile states no size: the player's own bounds are used.
    holder.emf = SetWinMetaFileBits(UINT(bytes.size()), bytes.data(), nullptr, nullptr);
  }
  if (!holder.emf) return job.Fail("corrupted WMF");
  if (w == 0 && h == 0) {
    ENHMETAHEADER header;
    if (!GetEnhMetaFileHeader(holder.emf, sizeof header, &header)) return job.Fail("corrupted WMF");
    // The frame is in hundredths of a millimetre.
    w = (header.rclFrame.right - header.rclFrame.left) * dpiX / 2540;
    h = (header.rclFrame.bottom - header.rclFrame.top) * dpiY / 2540;
  }
  if (w <= 0 || h <= 0) return job.Fail("empty WMF");
  if (w > kMaxSide) {
    h = h * kMaxSide / w;
    w = kMaxSide;
  }
  if (h > kMaxSide) {
    w = w * kMaxSide / h;
    h = kMaxSide;
  }
  if (w <= 0 || h <= 0) return job.Fail("empty WMF");
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

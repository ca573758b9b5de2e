#include "changers/LoadModuleBitmap.h"

#include <vfw.h>

#include <cstring>

#include "changers/ImagePreparation.h"
#include "changers/ProgramPatch.h"
#include "platform/Handles.h"
#include "platform/Log.h"

namespace qv {
namespace {

class DrawDibContext {
 public:
  DrawDibContext() : dd_(DrawDibOpen()) {}
  ~DrawDibContext() {
    if (dd_) DrawDibClose(dd_);
  }
  DrawDibContext(const DrawDibContext&) = delete;
  DrawDibContext& operator=(const DrawDibContext&) = delete;
  HDRAWDIB get() const { return dd_; }

 private:
  HDRAWDIB dd_;
};

// Where the pixels of a packed bitmap start: after the header, the three colour masks of a
// 16-bit bit-field bitmap, and the colour table of a bitmap of fewer than 16 bits.
std::size_t PixelOffset(const BITMAPINFOHEADER& h) {
  std::size_t offset = h.biSize;
  if (h.biBitCount == 16 && h.biCompression == BI_BITFIELDS) offset += 12;
  if (h.biBitCount < 16) {
    std::size_t colours = std::size_t(1) << h.biBitCount;
    // A table may state fewer entries than the depth allows; then only those are there.
    if (h.biClrUsed != 0 && h.biClrUsed < colours) colours = h.biClrUsed;
    offset += 4 * colours;
  }
  return offset;
}

}  // namespace

HBITMAP LoadModuleBitmap(const std::string& path, LPCSTR name, int boxWidth, int boxHeight,
                         RGBQUAD* palette) {
  DataModule module(path);
  if (!module.get()) {
    QV_LOG_MSG(path.c_str());
    return nullptr;
  }
  const std::uint8_t* data = nullptr;
  std::size_t size = 0;
  PEResourceId id = IS_INTRESOURCE(name) ? PEResourceId(static_cast<std::uint16_t>(
                                               reinterpret_cast<ULONG_PTR>(name)))
                                         : PEResourceId(name);
  if (!module.Resource(kResourceTypeBitmap, id, &data, &size) ||
      size < sizeof(BITMAPINFOHEADER)) {
    QV_LOG_MSG(path.c_str());
    return nullptr;
  }
  DrawDibContext drawing;
  if (!drawing.get()) {
    QV_LOG();
    return nullptr;
  }
  const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
  const int width = header->biWidth;
  const int height = header->biHeight < 0 ? -header->biHeight : header->biHeight;
  const std::size_t offset = PixelOffset(*header);
  const std::size_t stride = ((std::size_t(width) * header->biBitCount + 31) / 32) * 4;
  // A header that claims more rows than the resource holds is refused, not read past its end.
  if (header->biSize < sizeof(BITMAPINFOHEADER) || width <= 0 || height == 0 ||
      offset > size || (header->biCompression == BI_RGB && stride * height > size - offset)) {
    QV_LOG_MSG(path.c_str());
    return nullptr;
  }
  if (palette && header->biBitCount == 4 && offset >= header->biSize + 64)
    std::memcpy(palette, data + header->biSize, 64);
  Size target = FitIntoBox(boxWidth, boxHeight, width, height);

  ScopedDC desktop(GetDesktopWindow());
  ScopedMemoryDC memory(desktop ? CreateCompatibleDC(desktop.Get()) : nullptr);
  ScopedGdiObj<HBITMAP> bitmap(
      memory ? CreateCompatibleBitmap(desktop.Get(), target.width, target.height) : nullptr);
  bool drawn = false;
  if (bitmap) {
    ScopedSelect selected(memory.Get(), bitmap.Get());
    drawn = DrawDibDraw(drawing.get(), memory.Get(), 0, 0, target.width, target.height,
                        const_cast<BITMAPINFOHEADER*>(header),
                        const_cast<std::uint8_t*>(data + offset), 0, 0, width, height,
                        DDF_HALFTONE) != FALSE;
  }
  if (!drawn) {
    QV_LOG();
    return nullptr;
  }
  return bitmap.Release();
}

}  // namespace qv

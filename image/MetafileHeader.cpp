#include "image/MetafileHeader.h"

#include <cstdlib>

#include "platform/ByteReader.h"

namespace qv {
namespace image {
namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr long kMaxSide = 4000;

}  // namespace

MetafileHeader ReadMetafileHeader(const uint8_t* bytes, size_t size, long dpiX, long dpiY) {
  MetafileHeader h;
  const platform::ByteReader r(bytes, size);
  if (size >= 22 + 18 && r.U32LEAt(0) == kPlaceableKey) {
    // Placeable: a bounding box in metafile units and the units per inch before the metafile.
    const long left = r.I16LEAt(6), top = r.I16LEAt(8), right = r.I16LEAt(10), bottom = r.I16LEAt(12);
    const long inch = r.U16LEAt(14);
    if (inch == 0) return h;
    h.kind = MetafileKind::kPlaceable;
    h.bitsOffset = 22;
    h.width = std::labs((right - left) * dpiX / inch);
    h.height = std::labs((bottom - top) * dpiY / inch);
    h.extentX = std::labs(right - left) * 2540 / inch;
    h.extentY = std::labs(bottom - top) * 2540 / inch;
  } else if (size >= 88 && r.U32LEAt(0) == 1 && r.U32LEAt(40) == 0x464D4520) {
    h.kind = MetafileKind::kEnhanced;
  } else if (size >= 18 && (r.U16LEAt(0) == 1 || r.U16LEAt(0) == 2) && r.U16LEAt(2) == 9) {
    h.kind = MetafileKind::kPlain;
  }
  return h;
}

bool LimitMetafileSize(long* width, long* height) {
  long& w = *width;
  long& h = *height;
  if (w <= 0 || h <= 0) return false;
  if (w > kMaxSide) {
    h = h * kMaxSide / w;
    w = kMaxSide;
  }
  if (h > kMaxSide) {
    w = w * kMaxSide / h;
    h = kMaxSide;
  }
  return w > 0 && h > 0;
}

}  // namespace image
}  // namespace qv

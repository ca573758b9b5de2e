#include "image/MetafileHeader.h"

#include <cstdlib>

namespace qv {
namespace image {
namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr long kMaxSide = 4000;

inline uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }
inline int16_t Le16(const uint8_t* p) { return int16_t(p[0] | (p[1] << 8)); }

}  // namespace

MetafileHeader ReadMetafileHeader(const uint8_t* bytes, size_t size, long dpiX, long dpiY) {
  MetafileHeader h;
  if (size >= 22 + 18 && Le32(bytes) == kPlaceableKey) {
    // Placeable: a bounding box in metafile units and the units per inch before the metafile.
    const long left = Le16(bytes + 6), top = Le16(bytes + 8), right = Le16(bytes + 10), bottom = Le16(bytes + 12);
    const long inch = uint16_t(Le16(bytes + 14));
    if (inch == 0) return h;
    h.kind = MetafileKind::kPlaceable;
    h.bitsOffset = 22;
    h.width = std::labs((right - left) * dpiX / inch);
    h.height = std::labs((bottom - top) * dpiY / inch);
    h.extentX = std::labs(right - left) * 2540 / inch;
    h.extentY = std::labs(bottom - top) * 2540 / inch;
  } else if (size >= 88 && Le32(bytes) == 1 && Le32(bytes + 40) == 0x464D4520) {
    h.kind = MetafileKind::kEnhanced;
  } else if (size >= 18 && (Le16(bytes) == 1 || Le16(bytes) == 2) && Le16(bytes + 2) == 9) {
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

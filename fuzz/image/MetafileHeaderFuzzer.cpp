// libFuzzer target: the metafile header checks on any bytes, at the screen resolutions that
// Windows offers; what they let through must be a size the coder can allocate.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/MetafileHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const long kDpi[] = {72, 96, 120, 144, 192, 480};
  const long dpi = size ? kDpi[data[size - 1] % 6] : 96;
  const qv::image::MetafileHeader h = qv::image::ReadMetafileHeader(data, size, dpi, dpi);
  if (h.kind == qv::image::MetafileKind::kNone) return 0;
  if (h.bitsOffset > size || h.width < 0 || h.height < 0 || h.extentX < 0 || h.extentY < 0) std::abort();
  long w = h.width, hh = h.height;
  if (qv::image::LimitMetafileSize(&w, &hh) && (w <= 0 || hh <= 0 || w > 4000 || hh > 4000)) std::abort();
  return 0;
}

#include "fuzz/imageinfo/InfoFuzz.h"
#include "imageinfo/BmpInfoPicker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::int32_t props[3];
  if (qvfuzz::FuzzReader<qv::BmpInfoPicker>(data, size, props)) {
    qvfuzz::Require(size >= 26 && data[0] == 'B' && data[1] == 'M');
    // Only the first 54 bytes count: the rest of the file must not change the answer.
    if (size > 54) {
      qv::BmpInfoPicker head;
      qv::MemoryByteSource first(data, 54);
      std::int32_t width = 0, height = 0, depth = 0;
      qvfuzz::Require(head.ReadHeaderFrom(first) && head.GetProperty(qv::kInfoWidth, width) &&
                      head.GetProperty(qv::kInfoHeight, height) &&
                      head.GetProperty(qv::kInfoDepth, depth));
      qvfuzz::Require(width == props[0] && height == props[1] && depth == props[2]);
    }
  }
  return 0;
}

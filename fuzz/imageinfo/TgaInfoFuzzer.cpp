#include "fuzz/imageinfo/InfoFuzz.h"
#include "imageinfo/TGASummaryInfoPicker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::int32_t props[3];
  if (qvfuzz::FuzzReader<qv::TGASummaryInfoPicker>(data, size, props)) {
    qvfuzz::Require(size >= 18 && props[2] >= -128 && props[2] <= 127);
  }
  return 0;
}

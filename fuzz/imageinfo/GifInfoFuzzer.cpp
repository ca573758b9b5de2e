#include "fuzz/imageinfo/InfoFuzz.h"
#include "imageinfo/GifSummaryInfoPicker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::int32_t props[3];
  if (qvfuzz::FuzzReader<qv::GifSummaryInfoPicker>(data, size, props)) {
    qvfuzz::Require(props[2] >= 1 && props[2] <= 8);
    qvfuzz::Require(props[0] == (data[6] | (data[7] << 8)));
  }
  return 0;
}

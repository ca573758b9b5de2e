#include "fuzz/imageinfo/InfoFuzz.h"
#include "imageinfo/PCXSummaryInfoPicker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::int32_t props[3];
  if (qvfuzz::FuzzReader<qv::PCXSummaryInfoPicker>(data, size, props)) {
    qvfuzz::Require(size >= 128 && data[0] == 0x0A);
    qvfuzz::Require(props[0] >= -65534 && props[0] <= 65536);
  }
  return 0;
}

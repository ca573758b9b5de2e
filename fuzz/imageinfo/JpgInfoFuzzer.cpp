#include "fuzz/imageinfo/InfoFuzz.h"
#include "imageinfo/JpgSummaryInfoPicker.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::int32_t props[3];
  if (qvfuzz::FuzzReader<qv::JpgSummaryInfoPicker>(data, size, props)) {
    const auto& frames = qvfuzz::SharedPicker<qv::JpgSummaryInfoPicker>().frames();
    qvfuzz::Require(!frames.empty());
    qvfuzz::Require(props[0] == frames.front().width && props[1] == frames.front().height);
    qvfuzz::Require(props[2] == 24);
    for (const auto& frame : frames) qvfuzz::Require(!frame.components.empty());
  }
  return 0;
}

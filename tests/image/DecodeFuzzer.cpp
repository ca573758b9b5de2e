// libFuzzer target for one decoder (QV_FUZZ_FORMAT): any input must decode or fail cleanly, and
// a decoded picture must survive the operations the changers apply.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "image/CxImage.h"
#include "image/ImageLimits.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static bool init = [] {
    // 4 MP: enough for every branch, small enough to keep each run fast.
    qv::image::SetPixelLimit(uint64_t(1) << 22);
    return true;
  }();
  (void)init;
  CxImage image;
  // The first byte picks a frame, so that frame selection is fuzzed too.
  if (size > 0) image.SetFrame(data[0] & 3);
  if (!image.Decode(const_cast<uint8_t*>(data), uint32_t(size), QV_FUZZ_FORMAT)) return 0;
  if (image.GetWidth() * uint64_t(image.GetHeight()) <= 4096) {
    image.Resample(17, 13, 0);
    image.DecreaseBpp(4, true, nullptr);
    uint8_t* out = nullptr;
    long outSize = 0;
    if (image.Encode(out, outSize, QV_FUZZ_FORMAT == 2 ? 0 : QV_FUZZ_FORMAT)) std::free(out);
  }
  return 0;
}

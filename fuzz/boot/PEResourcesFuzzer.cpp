// libFuzzer target: the PE resource reader and the patched-file check on any bytes, as a file the
// user picks as a kernel or logon program would reach them. Every resource found must lie inside
// the image.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "changers/PEResources.h"

namespace {

void Find(const uint8_t* data, size_t size, const qv::PEResourceId& type, const qv::PEResourceId& name) {
  std::vector<qv::PEResourceData> found;
  if (!qv::FindPEResource(data, size, type, name, &found)) return;
  volatile uint8_t sink = 0;
  for (const qv::PEResourceData& r : found) {
    if (r.data < data || r.size > size || r.data + r.size > data + size) std::abort();
    if (r.size) sink = sink + r.data[0] + r.data[r.size - 1];
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // The resources the boot screen and logon changers look for.
  Find(data, size, qv::kResourceTypeBitmap, 1);
  Find(data, size, qv::kResourceTypeBitmap, 100);
  Find(data, size, "UIFILE", 1000);
  Find(data, size, 6, 1);  // a string block
  std::vector<qv::ExpectedResource> expected;
  expected.push_back({qv::kResourceTypeBitmap, 1, 0x409, {}, 1});
  expected.push_back({"UIFILE", 1000, 0x409, {'<', 'd'}, 1});
  std::string why;
  qv::CheckPatchedImage(data, size, expected, &why);
  return 0;
}

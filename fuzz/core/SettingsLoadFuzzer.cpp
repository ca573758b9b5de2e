// Feeds arbitrary bytes to the settings loader. Besides not crashing, whatever it loads must
// survive a save and a second load unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "core/PVoptionData.h"
#include "platform/Log.h"

namespace {
void Quiet(const char*) {}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::SetLogSink(&Quiet);
  qv::PVoptionData settings;
  if (!settings.LoadFromBytes(data, size)) return 0;
  const std::string saved = settings.SaveToBytes();
  qv::PVoptionData again;
  if (!again.LoadFromBytes(saved.data(), saved.size()) || again.SaveToBytes() != saved) std::abort();
  return 0;
}

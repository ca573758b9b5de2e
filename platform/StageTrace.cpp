#include "platform/StageTrace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace platform {
namespace {

// Read once: the trace is a property of the run, not something to look up at every stage.
const std::string& TraceFile() {
  static const std::string file = [] {
    const char* name = std::getenv("QV_STAGE_TRACE");
    return std::string(name ? name : "");
  }();
  return file;
}

}  // namespace

void TraceStage(const char* name, std::uint32_t millisecondsAgo) {
  const std::string& file = TraceFile();
  if (file.empty() || !name) return;
  const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                            std::chrono::system_clock::now().time_since_epoch())
                            .count();
  // Opened and closed for each line, so that a killed or crashed run keeps what it traced.
  std::FILE* out = std::fopen(file.c_str(), "a");
  if (!out) return;
  std::fprintf(out, "%s %lld\n", name, now - static_cast<long long>(millisecondsAgo) * 1000000LL);
  std::fclose(out);
}

}  // namespace platform

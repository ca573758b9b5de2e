// Timestamps of the steps of a user action, so that a benchmark timing the action from outside
// (bench/hotkey-wallpaper.sh) can tell where the time goes. Off unless the environment variable
// QV_STAGE_TRACE names a file when the program starts; then each stage appends a line
// "NAME UNIX_NANOSECONDS" to it (the clock `date +%s%N` reads).
#pragma once

#include <cstdint>

namespace platform {

// Records that the stage NAME was reached millisecondsAgo before now (0: now).
void TraceStage(const char* name, std::uint32_t millisecondsAgo = 0);

}  // namespace platform

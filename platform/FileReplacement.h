// The system's half of a file replacement (SafeFile.h has the whole): the move of a complete new
// file over the old one in one step, where the system has it.
#pragma once

#include <string>

namespace platform {

enum class MoveResult {
  kMoved,
  kFailed,        // the system's error stays for the caller
  kNotSupported,  // no such call here (Windows 95, 98 and Me): the renames take over
};

MoveResult MoveInOneStep(const std::string& fresh, const std::string& path);

}  // namespace platform

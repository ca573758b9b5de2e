// The screen saver changer.
#pragma once

#include <string>

namespace qv {

// Names the program as the system's screen saver, switches screen saving on and sets the
// waiting time (0 or less: 300 seconds).
bool SetScreenSaver(const std::string& path, int seconds);

}  // namespace qv

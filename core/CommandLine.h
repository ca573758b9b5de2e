// The two command-line switches of the program.
#pragma once

#include <string>

namespace qv {

enum class StartMode {
  Normal,
  Undo,        // "-u": put the system appearance back, end a running agent, show nothing
  StartupRun,  // "-r": change every list that is due, stay resident only when the agent is on
};

// The whole line is lower-cased and searched for "-u" and "-r" anywhere; "-u" wins.
StartMode ParseStartMode(const std::string& commandLine);

}  // namespace qv

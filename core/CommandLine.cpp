#include "core/CommandLine.h"

#include "platform/AsciiText.h"

namespace qv {

StartMode ParseStartMode(const std::string& commandLine) {
  const std::string lower = platform::LowerAscii(commandLine);
  if (lower.find("-u") != std::string::npos) return StartMode::Undo;
  if (lower.find("-r") != std::string::npos) return StartMode::StartupRun;
  return StartMode::Normal;
}

}  // namespace qv

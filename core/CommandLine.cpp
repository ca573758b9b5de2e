#include "core/CommandLine.h"

#include <cctype>

namespace qv {

StartMode ParseStartMode(const std::string& commandLine) {
  std::string lower(commandLine);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower.find("-u") != std::string::npos) return StartMode::Undo;
  if (lower.find("-r") != std::string::npos) return StartMode::StartupRun;
  return StartMode::Normal;
}

}  // namespace qv

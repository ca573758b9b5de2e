// The parts of the platform seam that are the same on every system.
#include "platform/Platform.h"

namespace platform {
namespace {

char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  char last = folder.back();
  if (last == kPathSeparator || last == '/') return folder + name;
  return folder + kPathSeparator + name;
}

bool MatchesFilePattern(const char* name, const char* pattern) {
  // Iterative matching with one back-track point: linear in practice, no recursion depth.
  const char* star = nullptr;
  const char* resume = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      resume = name;
    } else if (*pattern == '?' || (*pattern && Lower(*pattern) == Lower(*name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return *pattern == '\0';
}

}  // namespace platform

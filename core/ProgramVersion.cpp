#include "core/ProgramVersion.h"

#include <cstdio>

namespace qv {

std::string VersionText(uint32_t version) {
  unsigned major = version >> 16, minor = (version >> 8) & 0xFF, revision = version & 0xFF;
  char text[32];
  if (revision != 0)
    std::snprintf(text, sizeof text, "%u.%u.%u", major, minor, revision);
  else
    std::snprintf(text, sizeof text, "%u.%02u", major, minor);
  return text;
}

}  // namespace qv

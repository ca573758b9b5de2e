// The program's version number: major in bits 16 to 31, minor in bits 8 to 15, revision in
// bits 0 to 7 (also the version word of the settings file).
#pragma once

#include <cstdint>
#include <string>

namespace qv {

constexpr uint32_t kProgramVersion = 0x00010400;

// "major.minor.revision" when the revision is not 0, else "major.minor" with two minor digits:
// 0x10400 reads "1.04", 0x10401 "1.4.1".
std::string VersionText(uint32_t version);

}  // namespace qv

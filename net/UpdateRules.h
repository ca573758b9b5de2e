// The decisions of the update check and the site-list refresh, free of any system call so that
// native tests pin them down: what counts as a newer version, when the site list is due, and how
// far a server's announced content length is believed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv {

// This program's version: major in bits 16-31, minor in bits 8-15, revision in bits 0-7 (1.04).
constexpr uint32_t kProgramVersion = 0x10400;

// The largest body a fetch accepts. The update files are a few lines; anything announcing more
// is not one of them, and its length is not allocated.
constexpr std::size_t kMaxBodyBytes = 1024 * 1024;

// Reads the version file's text as hexadecimal (leading blanks and a "0x" are allowed). False
// when the text does not begin with a hexadecimal number or the number needs more than 32 bits.
bool ParseVersionText(const std::string& text, uint32_t* version);

// True when the version file's text names a version above own (unsigned comparison). Text that is
// no version is not newer.
bool IsNewerVersion(const std::string& text, uint32_t own = kProgramVersion);

// Whether the site list is fetched today: today is the day of the month (1-31), refreshDay the
// settings' refresh day (0: never fetched). Due when more than four days have passed, counting a
// month as 30 days, or when the refresh day is 0 or no day of a month.
bool SiteListDue(int today, int refreshDay);

// Reads an HTTP content length: decimal digits only, blanks around them allowed, at most cap.
// False for an empty, signed, non-numeric or too large value, so that nothing is allocated for it.
bool ParseContentLength(const char* text, std::size_t cap, std::size_t* length);

}  // namespace qv

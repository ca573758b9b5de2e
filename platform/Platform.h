// The few operating-system services that the portable modules need. Everything else in the
// portable modules is plain C++; this header is their only door to the system.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

// Writes one finished line (already ending in "\r\n") to the debugger's output: the system's
// debug output on Windows, standard error natively.
void DebugOutput(const char* text);

// Milliseconds since the system started; wraps after 49.7 days like GetTickCount.
uint32_t TickCount();

// The low 32 bits of the high-resolution performance counter.
uint32_t PerformanceCounterLow();

// The local date and time, as GetLocalTime gives it (month 1-12, day of week 0 = Sunday).
struct LocalTime {
  int year, month, day, hour, minute, second, dayOfWeek;
};
LocalTime Now();

// The separator between a folder and a name in a path: "\\" on Windows, "/" natively.
#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

// folder + separator + name (no second separator when folder already ends in one).
std::string JoinPath(const std::string& folder, const std::string& name);

// True when name matches pattern: "*" any run of characters, "?" one character, letters
// compared without regard to case, as the Windows file search does.
bool MatchesFilePattern(const char* name, const char* pattern);

// Appends the names (not paths) of the files in folder that match pattern, in the order the
// file system returns them; folders are left out. False when the folder cannot be searched.
bool FindFiles(const std::string& folder, const char* pattern, std::vector<std::string>* names);

}  // namespace platform

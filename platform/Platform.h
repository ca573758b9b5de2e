// The few operating-system services that the portable modules need. Everything else in the
// portable modules is plain C++; this header is their only door to the system.
#pragma once

#include <cstdint>

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

}  // namespace platform

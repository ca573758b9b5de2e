#include "platform/Platform.h"

#include <windows.h>

namespace platform {

void DebugOutput(const char* text) { OutputDebugStringA(text); }

uint32_t TickCount() { return GetTickCount(); }

uint32_t PerformanceCounterLow() {
  LARGE_INTEGER counter;
  if (!QueryPerformanceCounter(&counter)) return 0;
  return static_cast<uint32_t>(counter.LowPart);
}

LocalTime Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek};
}

}  // namespace platform

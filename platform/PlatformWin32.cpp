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

bool FindFiles(const std::string& folder, const char* pattern, std::vector<std::string>* names) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(JoinPath(folder, pattern).c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) {
    DWORD error = GetLastError();
    // An empty folder is a successful search with no result.
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
  }
  do {
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    // The system also matches the 8.3 names ("qveng.lngx" is QVENG~1.LNG): check the long name.
    if (!MatchesFilePattern(found.cFileName, pattern)) continue;
    names->push_back(found.cFileName);
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return true;
}

}  // namespace platform

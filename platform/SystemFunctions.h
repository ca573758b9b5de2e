// Every system function that the program takes by name at run time instead of importing it:
// those some Windows versions lack (the caller then has a fallback), and those of libraries that
// only a few commands need. The one table of them is in the .cpp; the import check reads it, and
// nothing else in the program looks a system function up by name.
#pragma once

namespace platform {

enum class SystemFunction {
  kSHGetSpecialFolderPathA,  // shell32 4.71: not on NT 4.0 or 95 without the desktop update
  kEndMenu,                  // user32: from 98 and 2000 on
  kMapFileAndCheckSumA,      // imagehlp
  kHtmlHelpA,                // hhctrl.ocx
  kDirectDrawCreate,         // ddraw
  kOpenThemeData,            // uxtheme: XP
  kCloseThemeData,
  kDrawThemeBackground,
  kIsAppThemed,
  kWSAStartup,  // ws2_32
  kWSACleanup,
  kGetHostByName,
  kInternetOpenA,  // wininet
  kInternetOpenUrlA,
  kHttpQueryInfoA,
  kInternetReadFile,
  kInternetCloseHandle,
  kCount
};

// The function's address, from its library in the system folder (loaded on first use and kept
// for the life of the process), or nullptr where this Windows lacks the library or the function
// (logged once). Any thread may ask.
void* SystemFunctionAddress(SystemFunction which);

template <typename Fn>
Fn LoadSystemFunction(SystemFunction which) {
  // Through void*: the generic procedure type is no function type the callers have.
  return reinterpret_cast<Fn>(SystemFunctionAddress(which));
}

// Tests: the function counts as missing (or no longer), so that the callers' fallbacks for
// older Windows versions run here.
void SetSystemFunctionMissing(SystemFunction which, bool missing);

// The library and the name of an entry of the table (for the log and the tests).
const char* SystemFunctionLibrary(SystemFunction which);
const char* SystemFunctionName(SystemFunction which);

}  // namespace platform

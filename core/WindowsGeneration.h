// Which Windows the program runs on, as one small number that many modules test.
#pragma once

namespace qv {

enum WindowsGenerationCode {
  kWin95 = 0,
  kWin98 = 1,
  kWinMe = 2,
  kWinNT4 = 3,
  kWin2000 = 4,
  kWinXP = 5,
  kWinUnknown = 100,
};

// Set once at start-up, before the application object is initialised; kWinUnknown until then.
extern int WindowsGeneration;

// The generation for what GetVersionEx reported. Anything unrecognised is kWinUnknown and logged.
int WindowsGenerationFromVersion(unsigned long platformId, unsigned long major, unsigned long minor);

#ifdef _WIN32
// Asks GetVersionEx (structure of 148 bytes); a failure is logged and gives kWinUnknown.
int DetermineWindowsGeneration();
#endif

}  // namespace qv

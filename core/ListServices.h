// What the change lists need from outside themselves: the clock, the random pick, the changers
// their apply hands an item to, and what the resets ask of the system. The lists reach all of it
// through Services(), so that tests can put doubles in place and the program the real changers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class Clock;
struct ScreenSaverItemData;

struct ListServices {
  const Clock* clock;
  int (*randomIndex)(int n);  // a number in 0..n-1, 0 for n <= 0

  // The changers, one per kind; each returns true when the item is in effect.
  bool (*changeBootScreen)(const std::string& path);
  bool (*modifyWallpaper)(const std::string& path, int positionMode);
  bool (*modifyIESkin)(const std::string& path);
  bool (*modifyLogonScreen)(const std::string& path, int32_t backgroundColour);
  bool (*setScreenSaver)(const std::string& path, int seconds);
  bool (*screenSaverRunning)();

  // For the resets: the Windows and system folders ("" when unknown) and the scan that appends
  // the screen savers of one folder.
  std::string (*windowsFolder)();
  std::string (*systemFolder)();
  void (*scanScreenSavers)(const std::string& folder, std::vector<ScreenSaverItemData>& list);
};

// The services in effect. Until the program installs its changers, every changer call fails
// (and logs that no changer is linked), so no list ever records a change that did not happen.
const ListServices& Services();

// Puts services in effect and returns the ones that were.
ListServices SetServices(const ListServices& services);

// The system clock, the rotation's random numbers, the platform's folders and screen-saver state,
// and changers that fail.
ListServices DefaultServices();

}  // namespace qv

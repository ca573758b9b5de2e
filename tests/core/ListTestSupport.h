// Doubles for the change lists' services: a clock that stands where a test puts it (local time is
// UTC, so that dates are exact), scripted random picks, and changers that record their calls.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "core/Clock.h"
#include "core/ListServices.h"
#include "core/ScreenSaverItemData.h"
#include "core/WindowsGeneration.h"

namespace qvtest {

class FakeClock final : public qv::Clock {
 public:
  int64_t Now() const override { return now; }
  platform::LocalTime ToLocal(int64_t t) const override;
  int64_t FromLocal(const platform::LocalTime& local) const override;

  // Sets the clock to a date and time.
  void Set(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) {
    now = At(year, month, day, hour, minute, second);
  }
  int64_t At(int year, int month, int day, int hour = 12, int minute = 0, int second = 0) const {
    return FromLocal(platform::LocalTime{year, month, day, hour, minute, second, 0});
  }

  int64_t now = 0;
};

// One call that reached a changer double.
struct ChangerCall {
  std::string changer;
  std::string path;
  int64_t argument;
};

// Puts doubles in place of every service for the life of the object and restores the previous
// services afterwards. Changers succeed unless `changerResult` says otherwise.
class FakeServices {
 public:
  FakeServices();
  ~FakeServices();
  FakeServices(const FakeServices&) = delete;
  FakeServices& operator=(const FakeServices&) = delete;

  static FakeServices& Current();

  FakeClock clock;
  bool changerResult = true;
  bool screenSaverRunning = false;
  std::deque<int> randomPicks;  // consumed by randomIndex; empty: 0
  std::vector<int> randomRanges;
  std::vector<ChangerCall> calls;
  std::string windowsFolder = "C:\\WINDOWS";
  std::string systemFolder = "C:\\WINDOWS\\system32";
  std::vector<std::string> scannedFolders;

 private:
  qv::ListServices previous_;
  int previousGeneration_;
};

}  // namespace qvtest

// The clock of the change lists' schedules: the current time and the local calendar. The lists
// ask it through their services, so that tests can put them at any moment without waiting.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace qv {

class Clock {
 public:
  virtual ~Clock() = default;
  // Seconds since 1970-01-01 00:00 UTC.
  virtual int64_t Now() const = 0;
  // The local date and time of a time value.
  virtual platform::LocalTime ToLocal(int64_t t) const = 0;
  // The time value of a local date and time; dayOfWeek is ignored.
  virtual int64_t FromLocal(const platform::LocalTime& local) const = 0;
};

// The system's clock and time zone.
const Clock& SystemClock();

}  // namespace qv

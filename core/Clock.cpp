#include "core/Clock.h"

namespace qv {
namespace {

class PlatformClock final : public Clock {
 public:
  int64_t Now() const override { return platform::TimeNow(); }
  platform::LocalTime ToLocal(int64_t t) const override { return platform::ToLocalTime(t); }
  int64_t FromLocal(const platform::LocalTime& local) const override {
    return platform::FromLocalTime(local);
  }
};

}  // namespace

const Clock& SystemClock() {
  static const PlatformClock clock;
  return clock;
}

}  // namespace qv

#include "core/RotationRandom.h"

#include <cstdlib>

namespace qv {

unsigned RotationSeed(uint32_t ticks, const platform::LocalTime& now) {
  return ticks + 100u * static_cast<unsigned>(now.month + now.day + now.hour + now.minute + now.second) +
         static_cast<unsigned>(now.year);
}

void SeedRotationRandom() { std::srand(RotationSeed(platform::TickCount(), platform::Now())); }

int RandomIndexFrom(int randomValue, uint32_t counterLow, int n) {
  if (n <= 0) return 0;
  // The 32-bit sum wraps; its magnitude is taken without the overflow of abs(INT_MIN).
  uint32_t sum = static_cast<uint32_t>(randomValue) + counterLow;
  uint32_t magnitude = (sum & 0x80000000u) ? 0u - sum : sum;
  return static_cast<int>(magnitude % static_cast<uint32_t>(n));
}

int RandomIndex(int n) { return RandomIndexFrom(std::rand(), platform::PerformanceCounterLow(), n); }

}  // namespace qv

// The pseudo-random numbers behind the random order of the change lists.
#pragma once

#include <cstdint>

#include "platform/Platform.h"

namespace qv {

// The seed: ticks + 100 x (month + day + hour + minute + second) + year of the local time.
unsigned RotationSeed(uint32_t ticks, const platform::LocalTime& now);

// Seeds the standard generator once, when the application object is constructed.
void SeedRotationRandom();

// A number in 0..n-1 (0 for n <= 0): the next standard pseudo-random number plus the low 32 bits
// of the performance counter, taken as a magnitude, modulo n.
int RandomIndex(int n);
int RandomIndexFrom(int randomValue, uint32_t counterLow, int n);

}  // namespace qv

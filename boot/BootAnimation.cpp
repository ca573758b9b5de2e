#include "boot/BootAnimation.h"

namespace qv {
namespace {

struct Band {
  int height;
  int paletteIndex;
};
using Slot = std::array<Band, 5>;

// The three lit slots, trailing first: a bright core that grows towards the leading slot.
constexpr Slot kLit[3] = {
    {{{1, 3}, {1, 8}, {2, 10}, {1, 8}, {4, 3}}},
    {{{1, 3}, {1, 8}, {2, 10}, {2, 8}, {3, 3}}},
    {{{1, 3}, {1, 8}, {3, 10}, {2, 8}, {2, 3}}},
};

}  // namespace

std::vector<PaletteBox> XpProgressBoxes(unsigned tick) {
  const int lead = static_cast<int>(tick % kXpCycle);
  std::vector<PaletteBox> boxes;
  for (int slot = 0; slot < kXpSlotCount; ++slot) {
    const int x = kXpSlotLeft + kXpSlotPitch * slot;
    const int lit = slot - (lead - 2);  // 0, 1, 2 for the trailing, middle and leading slot
    if (lit < 0 || lit > 2) {
      boxes.push_back({x, kXpSlotTop, kXpSlotWidth, kXpSlotHeight, 0});
      continue;
    }
    int y = kXpSlotTop;
    for (const Band& band : kLit[lit]) {
      boxes.push_back({x, y, kXpSlotWidth, band.height, band.paletteIndex});
      y += band.height;
    }
  }
  return boxes;
}

std::array<StripPiece, 2> StripPieces(unsigned tick) {
  // The offset repeats every 64 ticks; taking the tick modulo 64 first keeps it from overflowing.
  const int v = static_cast<int>(tick % (kStripWidth / 10)) * 10;
  return {{{0, v, kStripWidth - v}, {kStripWidth - v, 0, v}}};
}

}  // namespace qv

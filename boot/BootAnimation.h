// The moving progress marks of the Windows 2000 and XP start screens, as the boot screen
// preview draws them over the picture: where each piece goes for a given timer tick.
#pragma once

#include <array>
#include <vector>

namespace qv {

// Windows XP: 15 slots of 6 x 9 pixels from x = 260, 8 pixels apart, at y = 354. Three of them are
// lit and move one slot to the right per tick; the cycle has 18 ticks.
constexpr int kXpSlotCount = 15;
constexpr int kXpSlotLeft = 260;
constexpr int kXpSlotPitch = 8;
constexpr int kXpSlotWidth = 6;
constexpr int kXpSlotTop = 354;
constexpr int kXpSlotHeight = 9;
constexpr unsigned kXpCycle = 18;

// One filled rectangle in the colour of entry paletteIndex of the picture's palette.
struct PaletteBox {
  int x, y, width, height;
  int paletteIndex;
  bool operator==(const PaletteBox& o) const {
    return x == o.x && y == o.y && width == o.width && height == o.height &&
           paletteIndex == o.paletteIndex;
  }
};

// Every rectangle of the slot row for the tick, slot by slot from the left, each slot's
// rectangles from the top.
std::vector<PaletteBox> XpProgressBoxes(unsigned tick);

// Windows 2000: a 640 x 10 band of the painted picture at y = 416 that moves 10 pixels to the
// right per tick and wraps around (back in place after 64 ticks).
constexpr int kStripTop = 416;
constexpr int kStripHeight = 10;
constexpr int kStripWidth = 640;

// A piece of the band: its columns from sourceX, width wide, drawn at destX. A piece of width 0
// is not drawn.
struct StripPiece {
  int sourceX, destX, width;
};
std::array<StripPiece, 2> StripPieces(unsigned tick);

}  // namespace qv

// The preview's progress marks: which palette entry each row of each slot shows per tick, and
// where the Windows 2000 band's two pieces go.
#include <gtest/gtest.h>

#include <string>

#include "boot/BootAnimation.h"

namespace {

// The palette entries of the nine rows of each of the 15 slots, "0" for an unlit slot, else the
// entry of each row from the top ("3 8 a a 8 3 3 3 3", a = 10).
std::vector<std::string> SlotColumns(unsigned tick) {
  std::vector<std::string> slots(qv::kXpSlotCount);
  for (const qv::PaletteBox& box : qv::XpProgressBoxes(tick)) {
    const int slot = (box.x - qv::kXpSlotLeft) / qv::kXpSlotPitch;
    EXPECT_EQ(box.x, qv::kXpSlotLeft + slot * qv::kXpSlotPitch);
    EXPECT_EQ(box.width, 6);
    if (box.paletteIndex == 0 && box.height == 9) {
      slots[slot] = "0";
      continue;
    }
    for (int row = 0; row < box.height; ++row) slots[slot] += "0123456789a"[box.paletteIndex];
  }
  return slots;
}

TEST(BootAnimation, XpSlotsLightThreeBlocksMovingOneSlotPerTickOverEighteenTicks) {
  const std::string trailing = "38aa83333", middle = "38aa88333", leading = "38aaa8833";
  for (unsigned tick = 0; tick < 40; ++tick) {
    const int p = static_cast<int>(tick % 18);
    const std::vector<std::string> slots = SlotColumns(tick);
    int covered = 0;
    for (int slot = 0; slot < 15; ++slot) {
      const std::string expected = slot == p - 2 ? trailing : slot == p - 1 ? middle
                                   : slot == p   ? leading : "0";
      EXPECT_EQ(slots[slot], expected) << "tick " << tick << " slot " << slot;
      covered += expected == "0" ? 9 : static_cast<int>(slots[slot].size());
    }
    EXPECT_EQ(covered, 15 * 9) << "every slot covers rows 354 to 362";
  }
  // Tick 17 ends the cycle with no lit block; tick 0 lights only slot 0, tick 16 only slot 14.
  EXPECT_EQ(SlotColumns(17), std::vector<std::string>(15, "0"));
  EXPECT_EQ(SlotColumns(0)[0], leading);
  EXPECT_EQ(SlotColumns(16)[14], trailing);
  EXPECT_EQ(qv::XpProgressBoxes(5).front().y, 354);
}

TEST(BootAnimation, The2000BandMovesTenPixelsRightPerTickAndWraps) {
  struct Case {
    unsigned tick;
    int v;
  } cases[] = {{0, 0}, {1, 10}, {2, 20}, {63, 630}, {64, 0}, {65, 10}, {4294967295u, 630}};
  for (const Case& c : cases) {
    const auto pieces = qv::StripPieces(c.tick);
    EXPECT_EQ(pieces[0].sourceX, 0) << c.tick;
    EXPECT_EQ(pieces[0].destX, c.v) << c.tick;
    EXPECT_EQ(pieces[0].width, 640 - c.v) << c.tick;
    EXPECT_EQ(pieces[1].sourceX, 640 - c.v) << c.tick;
    EXPECT_EQ(pieces[1].destX, 0) << c.tick;
    EXPECT_EQ(pieces[1].width, c.v) << c.tick;
  }
}

}  // namespace

// The XP kernel keeps a 64-byte copy of its boot palette outside the bitmap resources. It is
// found by its default content and overwritten with the new picture's palette.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

constexpr std::size_t kBootPaletteSize = 64;
// The two places where XP kernels keep the palette; anywhere else is found by a search.
constexpr std::size_t kBootPaletteOffset1 = 425104;  // 0x67C90
constexpr std::size_t kBootPaletteOffset2 = 433424;  // 0x69D10
constexpr std::size_t kBootPaletteNotFound = static_cast<std::size_t>(-1);

// The default boot palette: 16 entries of blue, green, red, reserved.
const std::array<std::uint8_t, kBootPaletteSize>& DefaultBootPalette();

// Where the default palette lies: the first fixed offset, else the second, else the first match
// of a search from offset 0. kBootPaletteNotFound without a match.
std::size_t FindBootPalette(const std::uint8_t* data, std::size_t size);

// Writes palette over the default palette of a whole kernel image in memory. False (and
// nothing changed) when the default palette is not there.
bool PatchBootPalette(std::vector<std::uint8_t>& image,
                      const std::array<std::uint8_t, kBootPaletteSize>& palette);

}  // namespace qv

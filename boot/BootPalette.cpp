#include "boot/BootPalette.h"

#include <algorithm>
#include <cstring>

namespace qv {

const std::array<std::uint8_t, kBootPaletteSize>& DefaultBootPalette() {
  static const std::array<std::uint8_t, kBootPaletteSize> palette = {
      0,   0,   0,   0, 21,  26,  32,  0, 70,  70,  70,  0, 210, 62,  45,  0,
      1,   101, 83,  0, 5,   53,  178, 0, 126, 126, 126, 0, 0,   146, 137, 0,
      252, 127, 94,  0, 32,  107, 247, 0, 255, 166, 141, 0, 4,   220, 142, 0,
      27,  188, 243, 0, 188, 188, 188, 0, 252, 252, 252, 0, 255, 255, 255, 0,
  };
  return palette;
}

std::size_t FindBootPalette(const std::uint8_t* data, std::size_t size) {
  const auto& wanted = DefaultBootPalette();
  auto matchesAt = [&](std::size_t offset) {
    return offset <= size && size - offset >= kBootPaletteSize &&
           std::memcmp(data + offset, wanted.data(), kBootPaletteSize) == 0;
  };
  if (matchesAt(kBootPaletteOffset1)) return kBootPaletteOffset1;
  if (matchesAt(kBootPaletteOffset2)) return kBootPaletteOffset2;
  if (size < kBootPaletteSize) return kBootPaletteNotFound;
  const std::uint8_t* end = data + size;
  const std::uint8_t* found = std::search(data, end, wanted.begin(), wanted.end());
  return found == end ? kBootPaletteNotFound : static_cast<std::size_t>(found - data);
}

bool PatchBootPalette(std::vector<std::uint8_t>& image,
                      const std::array<std::uint8_t, kBootPaletteSize>& palette) {
  std::size_t at = FindBootPalette(image.data(), image.size());
  if (at == kBootPaletteNotFound) return false;
  std::copy(palette.begin(), palette.end(), image.begin() + static_cast<std::ptrdiff_t>(at));
  return true;
}

}  // namespace qv

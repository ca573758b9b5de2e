// Plain, pixel by pixel models of area averaging and of lowering the depth with error diffusion:
// the arithmetic written out the slow way, for the tests to hold the fast code to.
#pragma once

#include <cstdint>
#include <vector>

#include "image/CxImage.h"

namespace qvtest {

// The 24-bit rows (bottom-up, without the row padding) of src shrunk to newW x newH.
std::vector<uint8_t> AreaAverageModel(const CxImage& src, long newW, long newH);

// The palette index of every pixel (bottom row first) after lowering the 24-bit src onto the
// palette of n entries, with or without error diffusion.
std::vector<uint8_t> DiffusionModel(const CxImage& src, const CxRgbQuad* palette, uint32_t n, bool diffuse);

// The first nearest palette entry by squared distance; 0 for an empty palette.
uint8_t NearestModel(const CxRgbQuad* palette, uint32_t n, CxRgbQuad c);

}  // namespace qvtest

// Lowering a picture's colours onto a palette, with or without error diffusion: the pixel loop
// of the image object's DecreaseBpp.
#pragma once

class CxImage;

namespace qv {
namespace image {

// Writes into dst (src's size, 1, 4 or 8 bits, its palette set) the nearest palette entry of
// every pixel of src, rows from the first stored one, left to right. With diffuse, each pixel's
// error is spread per channel over pixels not visited yet: 7/16 to the right, 2/16, 4/16 and
// 1/16 below left, below and below right, each share truncated toward zero and each sum clamped
// to 0..255. False when src's escape flag is raised.
bool LowerOntoPalette(const CxImage& src, CxImage& dst, bool diffuse);

}  // namespace image
}  // namespace qv

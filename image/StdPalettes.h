// The standard palettes DecreaseBpp takes when it is given none.
#pragma once

#include "image/CxDefs.h"

namespace qv {
namespace image {

// The 16 colours of the classic display adapter, as the platform's system palette has them.
extern const CxRgbQuad kStdPalette16[16];
// Fills 256 entries: a 6 x 6 x 6 colour cube, then 40 greys.
void StdPalette256(CxRgbQuad* pal);

}  // namespace image
}  // namespace qv

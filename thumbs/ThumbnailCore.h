// The thumbnail maker behind kz.dll, portable so that it is tested and measured natively.
#pragma once

#include <cstdint>

#include "image/CxImage.h"

namespace qv {
namespace thumbs {

// The format type of a file: from its first bytes where they tell, else from its extension.
uint32_t FormatOf(const char* path, const uint8_t* head, size_t headSize);

// Makes a 24-bit thumbnail of the picture at path fitted into boxWidth x boxHeight (aspect
// kept, never enlarged; transparent parts over white). JPEG pictures are decoded at the
// smallest DCT scale that keeps the fitted size. The picture's real size goes to realWidth and
// realHeight. False when the file cannot be read as a picture.
bool MakeThumbnail(const char* path, uint32_t boxWidth, uint32_t boxHeight, CxImage& out, uint32_t* realWidth,
                   uint32_t* realHeight);

}  // namespace thumbs
}  // namespace qv

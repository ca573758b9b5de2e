// The header checks of the metafile coder, apart from the platform's player so that they run
// (and are fuzzed) on any byte buffer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {
namespace image {

enum class MetafileKind { kNone, kPlaceable, kEnhanced, kPlain };

struct MetafileHeader {
  MetafileKind kind = MetafileKind::kNone;
  size_t bitsOffset = 0;   // where the player's metafile bytes begin
  long width = 0;          // a placeable file's size in screen pixels (0 for the other kinds:
  long height = 0;         // the player's frame decides)
  long extentX = 0;        // a placeable file's size in hundredths of a millimetre
  long extentY = 0;
};

// Recognises a placeable WMF (key 0x9AC6CDD7), an EMF or a plain WMF, and measures a placeable
// one with its units per inch at the screen's pixels per inch. kNone for anything else, and for
// a placeable file that states 0 units per inch.
MetafileHeader ReadMetafileHeader(const uint8_t* bytes, size_t size, long dpiX, long dpiY);

// Reduces a size over 4000 pixels a side proportionally, in integer arithmetic (width first).
// False when the size is or becomes empty.
bool LimitMetafileSize(long* width, long* height);

}  // namespace image
}  // namespace qv

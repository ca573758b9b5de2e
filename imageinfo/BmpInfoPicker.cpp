#include "imageinfo/BmpInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/Log.h"
#include "platform/Log.h"

namespace qv {

BmpInfoPicker::BmpInfoPicker() : FixedHeaderPicker(SourceName(__FILE__), __LINE__) {}

bool BmpInfoPicker::InitExtensions() {
  extensions_ = {"bmp", "dib"};
  return true;
}

bool BmpInfoPicker::Parse(ByteSource& source) {
  if (ReadInto(source, 0, kFileHeaderSize) != kFileHeaderSize) return false;
  if (header_[0] != 'B' || header_[1] != 'M') return false;
  std::size_t got = ReadInto(source, kFileHeaderSize, kInfoHeaderSize);
  if (got == kInfoHeaderSize) return true;
  // A small bitmap with a core header may end before 40 header bytes; its 12 are enough.
  return got >= kCoreHeaderSize && IsCoreHeader();
}

bool BmpInfoPicker::IsCoreHeader() const {
  return Fields().I32LEAt(kFileHeaderSize) == static_cast<std::int32_t>(kCoreHeaderSize);
}

std::int32_t BmpInfoPicker::Property(InfoProperty id) const {
  const platform::ByteReader fields = Fields();
  // The core header of OS/2 bitmaps holds 16-bit width and height and no negative height.
  if (IsCoreHeader()) return fields.U16LEAt(id == kInfoWidth ? 18 : id == kInfoHeight ? 20 : 24);
  switch (id) {
    case kInfoWidth:
      return fields.I32LEAt(18);
    case kInfoHeight:
      // As stored: a top-down bitmap reports its negative height.
      return fields.I32LEAt(22);
    default:
      return fields.U16LEAt(28);
  }
}

}  // namespace qv

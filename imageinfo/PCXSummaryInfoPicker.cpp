#include "imageinfo/PCXSummaryInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/Log.h"
#include "platform/Log.h"

namespace qv {

PCXSummaryInfoPicker::PCXSummaryInfoPicker() : FixedHeaderPicker(SourceName(__FILE__), __LINE__) {}

bool PCXSummaryInfoPicker::InitExtensions() {
  extensions_ = {"pcx"};
  return true;
}

bool PCXSummaryInfoPicker::Parse(ByteSource& source) {
  if (ReadInto(source, 0, kHeaderSize) != kHeaderSize) return false;
  return header_[0] == 0x0A;
}

std::int32_t PCXSummaryInfoPicker::Property(InfoProperty id) const {
  const platform::ByteReader fields = Fields();
  switch (id) {
    case kInfoWidth:
      // Signed, so an inverted window gives 0 or less.
      return static_cast<std::int32_t>(fields.U16LEAt(8)) - fields.U16LEAt(4) + 1;
    case kInfoHeight:
      return static_cast<std::int32_t>(fields.U16LEAt(10)) - fields.U16LEAt(6) + 1;
    default:
      // Bits per plane times planes, so a three-plane 8-bit file is the 24-bit picture it is.
      return fields.U8At(3) * (fields.U8At(65) ? fields.U8At(65) : 1);
  }
}

}  // namespace qv

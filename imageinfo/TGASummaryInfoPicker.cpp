#include "imageinfo/TGASummaryInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/Log.h"
#include "platform/Log.h"

namespace qv {

TGASummaryInfoPicker::TGASummaryInfoPicker() : FixedHeaderPicker(SourceName(__FILE__), __LINE__) {}

bool TGASummaryInfoPicker::InitExtensions() {
  extensions_ = {"tga"};
  return true;
}

bool TGASummaryInfoPicker::Parse(ByteSource& source) {
  return ReadInto(source, 0, kHeaderSize) == kHeaderSize;
}

std::int32_t TGASummaryInfoPicker::Property(InfoProperty id) const {
  const platform::ByteReader fields = Fields();
  switch (id) {
    case kInfoWidth:
      return fields.U16LEAt(12);
    case kInfoHeight:
      return fields.U16LEAt(14);
    default:
      // The pixel-depth byte taken as a signed value.
      return static_cast<std::int8_t>(fields.U8At(16));
  }
}

}  // namespace qv

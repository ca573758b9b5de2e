#include "imageinfo/GifSummaryInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/Log.h"
#include "platform/Log.h"

namespace qv {

GifSummaryInfoPicker::GifSummaryInfoPicker() : FixedHeaderPicker(SourceName(__FILE__), __LINE__) {}

bool GifSummaryInfoPicker::InitExtensions() {
  extensions_ = {"gif"};
  return true;
}

bool GifSummaryInfoPicker::Parse(ByteSource& source) {
  if (ReadInto(source, 0, kHeaderSize) != kHeaderSize) return false;
  // The version ("87a", "89a") is not checked.
  return header_[0] == 'G' && header_[1] == 'I' && header_[2] == 'F';
}

std::int32_t GifSummaryInfoPicker::Property(InfoProperty id) const {
  const platform::ByteReader fields = Fields();
  switch (id) {
    case kInfoWidth:
      return fields.U16LEAt(6);
    case kInfoHeight:
      return fields.U16LEAt(8);
    default:
      // The size field of the global colour table, even when the table's flag is clear.
      return (fields.U8At(10) & 7) + 1;
  }
}

}  // namespace qv

#include "imageinfo/TGASummaryInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/Log.h"

namespace qv {

bool TGASummaryInfoPicker::InitExtensions() {
  extensions_ = {"tga"};
  return true;
}

void TGASummaryInfoPicker::ClearHeader() { header_.fill(0); }

bool TGASummaryInfoPicker::Parse(ByteSource& source) {
  return source.Read(header_.data(), kHeaderSize) == kHeaderSize;
}

bool TGASummaryInfoPicker::GetProperty(int id, std::int32_t& value) {
  if (state_ != kReadDone) {
    QV_LOG();
    return false;
  }
  ByteView view(header_.data(), header_.size());
  switch (id) {
    case kInfoWidth:
      value = view.U16LE(12);
      return true;
    case kInfoHeight:
      value = view.U16LE(14);
      return true;
    case kInfoDepth:
      // The pixel-depth byte taken as a signed value.
      value = static_cast<std::int8_t>(view.U8(16));
      return true;
    default:
      return false;
  }
}

}  // namespace qv

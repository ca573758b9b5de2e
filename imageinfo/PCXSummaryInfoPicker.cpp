#include "imageinfo/PCXSummaryInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/Log.h"

namespace qv {

bool PCXSummaryInfoPicker::InitExtensions() {
  extensions_ = {"pcx"};
  return true;
}

void PCXSummaryInfoPicker::ClearHeader() { header_.fill(0); }

bool PCXSummaryInfoPicker::Parse(ByteSource& source) {
  if (source.Read(header_.data(), kHeaderSize) != kHeaderSize) return false;
  return header_[0] == 0x0A;
}

bool PCXSummaryInfoPicker::GetProperty(int id, std::int32_t& value) {
  if (state_ != kReadDone) {
    QV_LOG();
    return false;
  }
  ByteView view(header_.data(), header_.size());
  switch (id) {
    case kInfoWidth:
      // Signed, so an inverted window gives 0 or less.
      value = static_cast<std::int32_t>(view.U16LE(8)) - view.U16LE(4) + 1;
      return true;
    case kInfoHeight:
      value = static_cast<std::int32_t>(view.U16LE(10)) - view.U16LE(6) + 1;
      return true;
    case kInfoDepth:
      // Bits per plane times planes, so a three-plane 8-bit file is the 24-bit picture it is.
      value = view.U8(3) * (view.U8(65) ? view.U8(65) : 1);
      return true;
    default:
      return false;
  }
}

}  // namespace qv

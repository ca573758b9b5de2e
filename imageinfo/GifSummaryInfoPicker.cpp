#include "imageinfo/GifSummaryInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/Log.h"

namespace qv {

bool GifSummaryInfoPicker::InitExtensions() {
  extensions_ = {"gif"};
  return true;
}

void GifSummaryInfoPicker::ClearHeader() { header_.fill(0); }

bool GifSummaryInfoPicker::Parse(ByteSource& source) {
  if (source.Read(header_.data(), kHeaderSize) != kHeaderSize) return false;
  // The version ("87a", "89a") is not checked.
  return header_[0] == 'G' && header_[1] == 'I' && header_[2] == 'F';
}

bool GifSummaryInfoPicker::GetProperty(int id, std::int32_t& value) {
  if (state_ != kReadDone) {
    QV_LOG();
    return false;
  }
  ByteView view(header_.data(), header_.size());
  switch (id) {
    case kInfoWidth:
      value = view.U16LE(6);
      return true;
    case kInfoHeight:
      value = view.U16LE(8);
      return true;
    case kInfoDepth:
      // The size field of the global colour table, even when the table's flag is clear.
      value = (view.U8(10) & 7) + 1;
      return true;
    default:
      return false;
  }
}

}  // namespace qv

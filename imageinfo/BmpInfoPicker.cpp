#include "imageinfo/BmpInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/Log.h"

namespace qv {

bool BmpInfoPicker::InitExtensions() {
  extensions_ = {"bmp", "dib"};
  return true;
}

void BmpInfoPicker::ClearHeader() { header_.fill(0); }

bool BmpInfoPicker::Parse(ByteSource& source) {
  if (source.Read(header_.data(), kFileHeaderSize) != kFileHeaderSize) return false;
  if (header_[0] != 'B' || header_[1] != 'M') return false;
  std::size_t got = source.Read(header_.data() + kFileHeaderSize, kInfoHeaderSize);
  if (got == kInfoHeaderSize) return true;
  // A small bitmap with a core header may end before 40 header bytes; its 12 are enough.
  return got >= kCoreHeaderSize && IsCoreHeader();
}

bool BmpInfoPicker::IsCoreHeader() const {
  ByteView view(header_.data(), header_.size());
  return view.I32LE(kFileHeaderSize) == static_cast<std::int32_t>(kCoreHeaderSize);
}

bool BmpInfoPicker::GetProperty(int id, std::int32_t& value) {
  if (state_ != kReadDone) {
    QV_LOG();
    return false;
  }
  ByteView view(header_.data(), header_.size());
  if (IsCoreHeader()) {
    // The core header of OS/2 bitmaps holds 16-bit width and height and no negative height.
    switch (id) {
      case kInfoWidth:
        value = view.U16LE(18);
        return true;
      case kInfoHeight:
        value = view.U16LE(20);
        return true;
      case kInfoDepth:
        value = view.U16LE(24);
        return true;
      default:
        return false;
    }
  }
  switch (id) {
    case kInfoWidth:
      value = view.I32LE(18);
      return true;
    case kInfoHeight:
      // As stored: a top-down bitmap reports its negative height.
      value = view.I32LE(22);
      return true;
    case kInfoDepth:
      value = view.U16LE(28);
      return true;
    default:
      return false;
  }
}

}  // namespace qv

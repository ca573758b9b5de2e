#include "imageinfo/SummaryInfoPicker.h"

#include "imageinfo/ByteSource.h"
#include "platform/AsciiText.h"
#include "platform/Log.h"

namespace qv {

SummaryInfoPicker::~SummaryInfoPicker() { SummaryInfoPicker::Close(); }

bool SummaryInfoPicker::Close() { return true; }

bool SummaryInfoPicker::ReadHeader(const char* path) {
  FileByteSource file(path);
  if (!file.IsOpen()) {
    // Even an unopenable file is a read that was started: the last result no longer holds.
    state_ = kReadStarted;
    ClearHeader();
    return false;
  }
  return ReadHeaderFrom(file);
}

bool SummaryInfoPicker::ReadHeaderFrom(ByteSource& source) {
  state_ = kReadStarted;
  ClearHeader();
  if (!Parse(source)) return false;
  state_ = kReadDone;
  return true;
}

bool SummaryInfoPicker::GetProperty(int id, std::int32_t& value) {
  if (state_ != kReadDone) {
    LogError(logSource_, logLine_);
    return false;
  }
  if (id != kInfoWidth && id != kInfoHeight && id != kInfoDepth) return false;
  value = Property(static_cast<InfoProperty>(id));
  return true;
}

bool SummaryInfoPicker::MatchExtension(const char* path) const {
  if (!path) return false;
  // Windows accepts "/" as a folder separator as well as "\".
  const std::string extension = platform::LowerAscii(std::string(platform::FileNameExtension(path)));
  if (extension.empty()) return false;
  for (const std::string& known : extensions_)
    if (known == extension) return true;
  return false;
}

}  // namespace qv

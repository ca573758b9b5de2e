#include "imageinfo/SummaryInfoPicker.h"

#include <cstring>

#include "imageinfo/ByteSource.h"

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

bool SummaryInfoPicker::MatchExtension(const char* path) const {
  if (!path) return false;
  const char* dot = nullptr;
  for (const char* p = path + std::strlen(path); p != path;) {
    --p;
    if (*p == '.') {
      dot = p;
      break;
    }
    // Both separators end the file name: Windows accepts "/" as well.
    if (*p == '\\' || *p == '/') return false;
  }
  if (!dot) return false;
  std::string extension(dot + 1);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  for (const std::string& known : extensions_)
    if (known == extension) return true;
  return false;
}

}  // namespace qv

// One fuzz step for a header reader: read from the buffer, then check what every reader must
// keep to whatever the bytes are.
#pragma once

#include <cstdint>
#include <cstdlib>

#include "imageinfo/ByteSource.h"
#include "imageinfo/SummaryInfoPicker.h"

namespace qvfuzz {

inline void Require(bool condition) {
  if (!condition) std::abort();
}

// The reader lives across inputs, as the real ones do, so that stale state would show.
template <class Picker>
Picker& SharedPicker() {
  static Picker picker;
  return picker;
}

template <class Picker>
bool FuzzReader(const std::uint8_t* data, std::size_t size, std::int32_t* props) {
  Picker& picker = SharedPicker<Picker>();
  qv::MemoryByteSource source(data, size);
  bool ok = picker.ReadHeaderFrom(source);
  Require(picker.state() ==
          (ok ? qv::SummaryInfoPicker::kReadDone : qv::SummaryInfoPicker::kReadStarted));
  if (!ok) return false;
  Require(picker.GetProperty(qv::kInfoWidth, props[0]));
  Require(picker.GetProperty(qv::kInfoHeight, props[1]));
  Require(picker.GetProperty(qv::kInfoDepth, props[2]));
  std::int32_t unused = 0;
  Require(!picker.GetProperty(304, unused));
  return true;
}

}  // namespace qvfuzz

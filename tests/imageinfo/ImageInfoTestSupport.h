// Byte builders and temporary files for the header reader tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tests/support/TempDir.h"

namespace qvtest {

using Bytes = std::vector<std::uint8_t>;

inline void PutLE16(Bytes& b, std::size_t at, unsigned v) {
  if (b.size() < at + 2) b.resize(at + 2);
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void PutLE32(Bytes& b, std::size_t at, std::uint32_t v) {
  PutLE16(b, at, v & 0xFFFF);
  PutLE16(b, at + 2, v >> 16);
}
inline void Append(Bytes& b, std::initializer_list<int> bytes) {
  for (int v : bytes) b.push_back(static_cast<std::uint8_t>(v));
}
inline void AppendBE16(Bytes& b, unsigned v) { Append(b, {int(v >> 8) & 0xFF, int(v & 0xFF)}); }
inline void AppendText(Bytes& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

}  // namespace qvtest

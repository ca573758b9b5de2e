// The shape of the readers whose whole header is a fixed number of bytes, kept as read until
// the next read.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "imageinfo/ByteSource.h"
#include "imageinfo/SummaryInfoPicker.h"
#include "platform/ByteReader.h"

namespace qv {

template <std::size_t N>
class FixedHeaderPicker : public SummaryInfoPicker {
 public:
  static constexpr std::size_t kHeaderSize = N;

 protected:
  using SummaryInfoPicker::SummaryInfoPicker;

  void ClearHeader() override { header_.fill(0); }
  // Reads count header bytes from offset on; gives how many came.
  std::size_t ReadInto(ByteSource& source, std::size_t offset, std::size_t count) {
    return source.Read(header_.data() + offset, count);
  }
  // The little-endian fields of the header as read.
  platform::ByteReader Fields() const { return platform::ByteReader(header_.data(), N); }

  std::array<std::uint8_t, N> header_{};
};

}  // namespace qv

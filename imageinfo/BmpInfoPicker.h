// Width, height and depth from the first 54 bytes of a bitmap file.
#pragma once

#include <array>
#include <cstdint>

#include "imageinfo/SummaryInfoPicker.h"

namespace qv {

class BmpInfoPicker : public SummaryInfoPicker {
 public:
  static constexpr std::size_t kFileHeaderSize = 14;
  static constexpr std::size_t kInfoHeaderSize = 40;
  static constexpr std::size_t kCoreHeaderSize = 12;

  bool InitExtensions() override;
  bool GetProperty(int id, std::int32_t& value) override;

 protected:
  void ClearHeader() override;
  bool Parse(ByteSource& source) override;

 private:
  // True when the header-size field names the 12-byte core header (16-bit fields).
  bool IsCoreHeader() const;

  // File header and information header (or core header) as read.
  std::array<std::uint8_t, kFileHeaderSize + kInfoHeaderSize> header_{};
};

}  // namespace qv

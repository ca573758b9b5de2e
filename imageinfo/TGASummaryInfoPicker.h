// Width, height and depth from the 18-byte header of a TGA file. TGA has no signature, so any
// 18 bytes are accepted.
#pragma once

#include <array>
#include <cstdint>

#include "imageinfo/SummaryInfoPicker.h"

namespace qv {

class TGASummaryInfoPicker : public SummaryInfoPicker {
 public:
  static constexpr std::size_t kHeaderSize = 18;

  bool InitExtensions() override;
  bool GetProperty(int id, std::int32_t& value) override;

 protected:
  void ClearHeader() override;
  bool Parse(ByteSource& source) override;

 private:
  std::array<std::uint8_t, kHeaderSize> header_{};
};

}  // namespace qv

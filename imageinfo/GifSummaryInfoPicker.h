// Width, height and depth from the first 13 bytes of a GIF file (the logical screen).
#pragma once

#include <array>
#include <cstdint>

#include "imageinfo/SummaryInfoPicker.h"

namespace qv {

class GifSummaryInfoPicker : public SummaryInfoPicker {
 public:
  static constexpr std::size_t kHeaderSize = 13;

  bool InitExtensions() override;
  bool GetProperty(int id, std::int32_t& value) override;

 protected:
  void ClearHeader() override;
  bool Parse(ByteSource& source) override;

 private:
  // Signature, version and logical screen descriptor as read.
  std::array<std::uint8_t, kHeaderSize> header_{};
};

}  // namespace qv

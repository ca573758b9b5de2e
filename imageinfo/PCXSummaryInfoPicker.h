// Width, height and depth from the 128-byte header of a PCX file.
#pragma once

#include <array>
#include <cstdint>

#include "imageinfo/SummaryInfoPicker.h"

namespace qv {

class PCXSummaryInfoPicker : public SummaryInfoPicker {
 public:
  static constexpr std::size_t kHeaderSize = 128;

  bool InitExtensions() override;
  bool GetProperty(int id, std::int32_t& value) override;

 protected:
  void ClearHeader() override;
  bool Parse(ByteSource& source) override;

 private:
  std::array<std::uint8_t, kHeaderSize> header_{};
};

}  // namespace qv

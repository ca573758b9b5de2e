// Width and height of a JPEG file from a walk over its markers that stops at the first start of
// scan. The depth is always reported as 24.
#pragma once

#include <cstdint>
#include <vector>

#include "imageinfo/SummaryInfoPicker.h"

namespace qv {

class JpgSummaryInfoPicker : public SummaryInfoPicker {
 public:
  struct Component {
    std::uint8_t id = 0;
    std::uint8_t horizontalFactor = 0;
    std::uint8_t verticalFactor = 0;
    std::uint8_t quantTable = 0;
  };
  // One per frame header (SOFn), in file order.
  struct FrameRecord {
    std::int32_t frameType = 0;  // marker code minus 0xC0
    std::uint16_t length = 0;
    std::uint8_t precision = 0;
    std::uint16_t height = 0;
    std::uint16_t width = 0;
    std::vector<Component> components;
  };

  JpgSummaryInfoPicker();
  bool InitExtensions() override;

  const std::vector<FrameRecord>& frames() const { return frames_; }
  std::uint8_t jfifUnits() const { return jfifUnits_; }
  std::uint16_t jfifDensityX() const { return jfifDensityX_; }
  std::uint16_t jfifDensityY() const { return jfifDensityY_; }

 protected:
  void ClearHeader() override;
  bool Parse(ByteSource& source) override;
  std::int32_t Property(InfoProperty id) const override;

 private:
  bool ReadFrameHeader(ByteSource& source, std::uint8_t marker);
  static bool ReadHuffmanTables(ByteSource& source);
  static bool ReadQuantTables(ByteSource& source);
  static bool ReadScanHeader(ByteSource& source);
  bool ReadJfifHeader(ByteSource& source);

  std::vector<FrameRecord> frames_;
  std::uint8_t jfifUnits_ = 0;
  std::uint16_t jfifDensityX_ = 0;
  std::uint16_t jfifDensityY_ = 0;
  std::int32_t width_ = 0;
  std::int32_t height_ = 0;
};

}  // namespace qv

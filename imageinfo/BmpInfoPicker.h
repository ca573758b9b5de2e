// Width, height and depth from the first 54 bytes of a bitmap file.
#pragma once

#include <cstdint>

#include "imageinfo/FixedHeaderPicker.h"

namespace qv {

class BmpInfoPicker : public FixedHeaderPicker<54> {
 public:
  static constexpr std::size_t kFileHeaderSize = 14;
  static constexpr std::size_t kInfoHeaderSize = 40;
  static constexpr std::size_t kCoreHeaderSize = 12;
  static_assert(kFileHeaderSize + kInfoHeaderSize == kHeaderSize, "file and information header");

  BmpInfoPicker();
  bool InitExtensions() override;

 protected:
  bool Parse(ByteSource& source) override;
  std::int32_t Property(InfoProperty id) const override;

 private:
  // True when the header-size field names the 12-byte core header (16-bit fields).
  bool IsCoreHeader() const;
};

}  // namespace qv

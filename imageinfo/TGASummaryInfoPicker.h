// Width, height and depth from the 18-byte header of a TGA file. TGA has no signature, so any
// 18 bytes are accepted.
#pragma once

#include <cstdint>

#include "imageinfo/FixedHeaderPicker.h"

namespace qv {

class TGASummaryInfoPicker : public FixedHeaderPicker<18> {
 public:
  TGASummaryInfoPicker();
  bool InitExtensions() override;

 protected:
  bool Parse(ByteSource& source) override;
  std::int32_t Property(InfoProperty id) const override;
};

}  // namespace qv

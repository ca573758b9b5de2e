// Width, height and depth from the first 13 bytes of a GIF file (the logical screen).
#pragma once

#include <cstdint>

#include "imageinfo/FixedHeaderPicker.h"

namespace qv {

class GifSummaryInfoPicker : public FixedHeaderPicker<13> {
 public:
  GifSummaryInfoPicker();
  bool InitExtensions() override;

 protected:
  bool Parse(ByteSource& source) override;
  std::int32_t Property(InfoProperty id) const override;
};

}  // namespace qv

// Width, height and depth from the 128-byte header of a PCX file.
#pragma once

#include <cstdint>

#include "imageinfo/FixedHeaderPicker.h"

namespace qv {

class PCXSummaryInfoPicker : public FixedHeaderPicker<128> {
 public:
  PCXSummaryInfoPicker();
  bool InitExtensions() override;

 protected:
  bool Parse(ByteSource& source) override;
  std::int32_t Property(InfoProperty id) const override;
};

}  // namespace qv

#include "imageinfo/InfoPickers.h"

#include "imageinfo/BmpInfoPicker.h"
#include "imageinfo/GifSummaryInfoPicker.h"
#include "imageinfo/JpgSummaryInfoPicker.h"
#include "imageinfo/PCXSummaryInfoPicker.h"
#include "imageinfo/TGASummaryInfoPicker.h"

namespace qv {
namespace {

std::vector<std::unique_ptr<SummaryInfoPicker>>& List() {
  static std::vector<std::unique_ptr<SummaryInfoPicker>> list;
  return list;
}

}  // namespace

void InitInfoPickers() {
  auto& list = List();
  if (!list.empty()) return;
  list.push_back(std::make_unique<BmpInfoPicker>());
  list.push_back(std::make_unique<JpgSummaryInfoPicker>());
  list.push_back(std::make_unique<GifSummaryInfoPicker>());
  list.push_back(std::make_unique<TGASummaryInfoPicker>());
  list.push_back(std::make_unique<PCXSummaryInfoPicker>());
  for (auto& picker : list) picker->InitExtensions();
}

void FreeInfoPickers() { List().clear(); }

const std::vector<std::unique_ptr<SummaryInfoPicker>>& InfoPickers() { return List(); }

void GetImageInfo(const char* path, std::int32_t& width, std::int32_t& height,
                  std::int32_t& depth) {
  width = 0;
  for (auto& picker : List()) {
    if (!picker->MatchExtension(path)) continue;
    if (picker->ReadHeader(path)) {
      picker->GetProperty(kInfoWidth, width);
      picker->GetProperty(kInfoHeight, height);
      picker->GetProperty(kInfoDepth, depth);
    }
    return;
  }
}

}  // namespace qv

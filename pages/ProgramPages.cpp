#include "pages/ProgramPages.h"

#include "core/ShowMessage.h"
#include "imageinfo/InfoPickers.h"
#include "pages/PageServices.h"
#include "pages/ThumbnailGenerator.h"
#include "pages/WallpaperPage.h"
#include "platform/ProgramFolder.h"

namespace qv {
namespace {

const PageServices& Services() {
  static const PageServices services = ProgramPageServices();
  return services;
}

}  // namespace

std::unique_ptr<ConfigPage> MakeProgramPage(PageKind kind) {
  switch (kind) {
    case PageKind::Wallpaper:
      return std::make_unique<WallpaperPage>(Services());
    default:
      return nullptr;
  }
}

bool PrepareProgramPages() {
  InitInfoPickers();
  return ThumbnailGenerator::Shared().Load(ProgramFolderFile("kz.dll"), &ShowMessage);
}

}  // namespace qv

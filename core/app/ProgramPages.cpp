#include "core/app/ProgramPages.h"

#include "boot/ui/BootScreenPage.h"
#include "core/ShowMessage.h"
#include "imageinfo/InfoPickers.h"
#include "pages/AboutPage.h"
#include "pages/IESkinPage.h"
#include "pages/LogonScreenPage.h"
#include "pages/PageServices.h"
#include "pages/PreferencesPage.h"
#include "pages/ScreenSaverPage.h"
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
    case PageKind::BootScreen:
      return std::make_unique<BootScreenPage>(Services());
    case PageKind::Wallpaper:
      return std::make_unique<WallpaperPage>(Services());
    case PageKind::IESkin:
      return std::make_unique<IESkinPage>(Services());
    case PageKind::LogonScreen:
      return std::make_unique<LogonScreenPage>(Services());
    case PageKind::ScreenSaver:
      return std::make_unique<ScreenSaverPage>(Services());
    case PageKind::Preferences:
      return std::make_unique<PreferencesPage>(Services());
    case PageKind::About:
      return std::make_unique<AboutPage>(Services());
    default:
      return nullptr;
  }
}

bool PrepareProgramPages() {
  InitInfoPickers();
  return ThumbnailGenerator::Shared().Load(ProgramFolderFile("kz.dll"), &ShowMessage);
}

}  // namespace qv

// The helper of bootpage-shots.sh: plants the program's settings with a boot screen list in one
// language and view, or shows the boot screen preview of a picture for one Windows generation.
//   qv_bootpage_shots settings qveng.lng|qvdeu.lng 0|1 PICTURE...
//   qv_bootpage_shots preview xp|2000 PICTURE
#include <windows.h>

#include <cstring>
#include <string>

#include "boot/ui/BootScreenPreviewDlg.h"
#include "core/WindowsGeneration.h"
#include "i18n/LanguageManager.h"
#include "imageinfo/InfoPickers.h"
#include "pages/PageServices.h"
#include "tests/support/WinProgramSettings.h"

namespace {

int PlantSettings(int argc, char** argv) {
  qv::InitInfoPickers();
  qv::PVoptionData settings;
  settings.languageFile = qvtest::DistFolder() + "language\\" + argv[2];
  settings.checkNewVersion = 0;
  settings.bootScreen.viewMode = std::strcmp(argv[3], "1") == 0 ? 1 : 0;
  settings.bootScreen.items.clear();
  for (int i = 4; i < argc; ++i) {
    qv::SetupItem item;
    item.path = argv[i];
    const DWORD attributes = GetFileAttributesA(argv[i]);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
      item.isFolder = 1;
    } else if (item.path.size() > 4 && _stricmp(item.path.c_str() + item.path.size() - 4, ".exe") == 0) {
      item.width = 640;
      item.height = 480;
      item.depth = 4;
    } else {
      qv::GetImageInfo(argv[i], item.width, item.height, item.depth);
    }
    settings.bootScreen.items.push_back(item);
  }
  return platform::ReplaceFileContent(qvtest::ProgramSettingsPath(), settings.SaveToBytes(), std::string())
             ? 0
             : 1;
}

int ShowPreview(char** argv) {
  qv::Languages().LoadLanguage(qvtest::DistFolder() + "language\\qveng.lng");
  static const qv::PageServices services = qv::ProgramPageServices();
  qv::BootScreenPreviewDlg preview(services, std::strcmp(argv[2], "2000") == 0 ? qv::kWin2000 : qv::kWinXP);
  if (!preview.Load(argv[3])) return 1;
  preview.Show(nullptr);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 4 && std::strcmp(argv[1], "settings") == 0) return PlantSettings(argc, argv);
  if (argc == 4 && std::strcmp(argv[1], "preview") == 0) return ShowPreview(argv);
  return 2;
}

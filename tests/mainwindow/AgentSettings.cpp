#include "tests/mainwindow/AgentSettings.h"

#include "platform/Platform.h"
#include "platform/SafeFile.h"
#include "tests/support/WinTestSupport.h"

namespace qvtest {

std::string AgentSettingsPath() {
  return qv::SettingsFilePath(platform::AppDataFolder(), "Quorvex", DistFolder() + "Quorvex.exe");
}

qv::PVoptionData AgentSettings(const std::vector<std::string>& wallpapers) {
  qv::PVoptionData s;
  s.agentEnabled = 1;
  s.wallpaper.items.clear();
  for (const std::string& path : wallpapers) {
    qv::SetupItem item;
    item.path = path;
    s.wallpaper.items.push_back(item);
  }
  s.wallpaper.positionMode = 0;
  s.ieSkin.items.clear();
  s.bootScreen.enabled = 0;
  s.logonScreen.enabled = 0;
  s.screenSaver.items.clear();
  return s;
}

bool PlantAgentSettings(const qv::PVoptionData& settings) {
  return platform::ReplaceFileContent(AgentSettingsPath(), settings.SaveToBytes(), std::string());
}

}  // namespace qvtest

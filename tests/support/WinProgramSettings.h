// The settings file of the program beside the test programs, for the tests that start it. A
// start without a readable settings file runs the first-start wizard; tests that are about
// something else plant settings first. Needs qv_core_portable.
#pragma once

#include <string>

#include "core/PVoptionData.h"
#include "platform/Platform.h"
#include "platform/SafeFile.h"
#include "tests/support/WinTestSupport.h"

namespace qvtest {

inline std::string ProgramSettingsPath() {
  return qv::SettingsFilePath(platform::AppDataFolder(), "Quorvex", DistFolder() + "Quorvex.exe");
}

// The default settings, written where the program reads them.
inline bool PlantDefaultSettings() {
  return platform::ReplaceFileContent(ProgramSettingsPath(), qv::PVoptionData().SaveToBytes(),
                                      std::string());
}

}  // namespace qvtest

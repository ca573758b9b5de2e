// The settings file of the real program for the tests that start it as the resident agent.
#pragma once

#include <string>
#include <vector>

#include "core/PVoptionData.h"

namespace qvtest {

// Where the program beside the test programs keeps its settings.
std::string AgentSettingsPath();
// The agent on, the wallpaper list holding only `wallpapers` (centred), and nothing else that a
// start-up run would change.
qv::PVoptionData AgentSettings(const std::vector<std::string>& wallpapers = {});
bool PlantAgentSettings(const qv::PVoptionData& settings);

}  // namespace qvtest

// The quick setup wizard that a first start (no readable settings file) runs.
#pragma once

#include "core/StartupRun.h"

namespace qv {

// Shows the wizard over settings preset with the defaults.
WizardOutcome RunQuickSetupWizard(PVoptionData& settings);

}  // namespace qv

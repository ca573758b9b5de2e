// Until the quick setup wizard is built, a first start has no wizard to show: it says so in the
// debug log and start-up keeps the defaults. The wizard's module replaces this file.
#include "core/QuickSetupSeam.h"
#include "platform/Log.h"

namespace qv {

WizardOutcome RunQuickSetupWizard(PVoptionData&) {
  QV_LOG_MSG("quick setup wizard not built yet");
  return WizardOutcome::NotAvailable;
}

}  // namespace qv

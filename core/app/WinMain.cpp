#include <windows.h>

#include "core/QuickSetupSeam.h"
#include "core/WindowsGeneration.h"
#include "core/app/Pivora.h"
#include "platform/SafeFile.h"

namespace {
// Static construction: the generation is known before the application object is initialised,
// and with it how files are replaced (95, 98 and Me cannot move a file over another).
struct GenerationAtStart {
  GenerationAtStart() {
    qv::WindowsGeneration = qv::DetermineWindowsGeneration();
    platform::SetReplaceByRenaming(qv::WindowsGeneration <= qv::kWinMe);
  }
} g_generationAtStart;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  qv::Pivora application(&qv::RunQuickSetupWizard);
  return application.Run(instance, commandLine);
}

#include <windows.h>

#include "core/QuickSetupSeam.h"
#include "core/WindowsGeneration.h"
#include "core/app/Pivora.h"

namespace {
// Static construction: the generation is known before the application object is initialised.
struct GenerationAtStart {
  GenerationAtStart() { qv::WindowsGeneration = qv::DetermineWindowsGeneration(); }
} g_generationAtStart;
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  qv::Pivora application(&qv::RunQuickSetupWizard);
  return application.Run(instance, commandLine);
}

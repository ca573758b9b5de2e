#include <windows.h>

#include "core/Pivora.h"
#include "core/QuickSetupSeam.h"
#include "core/WindowsGeneration.h"

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

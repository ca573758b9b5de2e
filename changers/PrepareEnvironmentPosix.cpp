// The native build has no desktop: no depth to match and no screen to fit, so pictures keep
// their depth and size. Folders and files are the host's.
#include <sys/stat.h>

#include <cstdlib>

#include "changers/ImagePreparation.h"
#include "platform/Platform.h"

namespace qv {
namespace {

int NoDisplayDepth() { return 0; }

void NoScreen(int* width, int* height) { *width = *height = 0; }

std::string TempFolder() {
  const char* tmp = std::getenv("TMPDIR");
  return std::string(tmp && *tmp ? tmp : "/tmp") + "/";
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0;
}

}  // namespace

PrepareEnvironment SystemEnvironment() {
  return PrepareEnvironment{&NoDisplayDepth,          &NoScreen,  &platform::AppDataFolder,
                            &platform::WindowsFolder, &TempFolder, &platform::TickCount,
                            &FileExists};
}

}  // namespace qv

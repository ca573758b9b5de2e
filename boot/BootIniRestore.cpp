#include "boot/BootIniRestore.h"

#include "boot/BootINI.h"

namespace qv {

bool RestoreBootIni() {
  BootINI model;
  return model.UnmarkAll(BootINI::kPath);
}

}  // namespace qv

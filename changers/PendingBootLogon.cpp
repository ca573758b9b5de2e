// The boot and logon screen changers need the picture preparation steps; a tree without them
// builds these failing entries instead.
#include "boot/ModifyBootScreen.h"
#include "changers/ModifyLogonScreen.h"
#include "core/Log.h"

namespace qv {

bool ChangeBootScreen(const std::string&) {
  QV_LOG_MSG("boot screen changer needs the picture preparation");
  return false;
}
bool RestoreBootScreen() {
  QV_LOG_MSG("boot screen changer needs the picture preparation");
  return false;
}
bool ModifyLogonScreen(const std::string&, uint32_t) {
  QV_LOG_MSG("logon screen changer needs the picture preparation");
  return false;
}
bool RestoreLogonHost() {
  QV_LOG_MSG("logon screen changer needs the picture preparation");
  return false;
}

}  // namespace qv

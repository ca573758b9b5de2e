// Changers that are not built yet. Each entry fails honestly -- nothing is changed and nothing is
// reported as done -- and says so in the debug log. The issue that builds a changer deletes its
// entry here and adds its own module.
#include "changers/ModifyIESkin.h"
#include "core/Log.h"

namespace qv {
namespace {

bool NotBuiltYet(const char* what) {
  QV_LOG_MSG(what);
  return false;
}

}  // namespace

bool ModifyIESkin(const std::string&) { return NotBuiltYet("toolbar skin changer not built yet"); }
bool RemoveIESkin() { return NotBuiltYet("toolbar skin removal not built yet"); }

}  // namespace qv

#include "core/ScreenSaverItemData.h"

namespace qv {

// Natively a screen-saver program is never loaded: its file name names it.
std::string ScreenSaverResourceName(const std::string&) { return std::string(); }

}  // namespace qv

// Until the language manager exists, the program starts without one: no language is loaded, and
// every text keeps the resource's own English.
#include "core/MainWindowSeam.h"

namespace qv {

bool InitLanguages() { return true; }

}  // namespace qv

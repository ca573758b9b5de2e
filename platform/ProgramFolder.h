// Files beside the running program: the language folder, the hook library, and the like.
#pragma once

#include <string>

namespace qv {

// The full path of a file beside the program ("<program folder>\<name>"); name alone when the
// program's own path cannot be had.
std::string ProgramFolderFile(const char* name);

}  // namespace qv

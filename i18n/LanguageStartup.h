// Start-up of the language manager from the "language" folder beside the program.
#pragma once

namespace qv {

// False when no language file can be used: start-up then shows string 103 and ends.
bool InitLanguages();

}  // namespace qv

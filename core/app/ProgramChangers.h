// Puts the program's changers behind the change lists' apply.
#pragma once

namespace qv {

void InstallProgramChangers();

}  // namespace qv

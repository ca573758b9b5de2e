// The undo run's boot.ini step: the program's entries are taken out of "c:\boot.ini" again.
#pragma once

namespace qv {

// Reads "c:\boot.ini", removes every entry this program marked or backed up, and writes it back.
bool RestoreBootIni();

}  // namespace qv

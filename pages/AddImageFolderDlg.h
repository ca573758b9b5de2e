// The add-image-folder dialog: the shell's folder browser (file-system folders only), titled
// from the language file, with an "include sub folders" check box laid over the bottom of its
// folder tree. OK is enabled only for folders with a file-system path outside the network
// neighbourhood.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

// Shows the dialog; false when cancelled. includeSubFolders gets the check box (ticked at first).
bool PickImageFolder(HWND owner, std::string* folder, bool* includeSubFolders);

// OK's rule: a file-system path, not inside the network neighbourhood folder (compared in lower
// case; an unknown neighbourhood folder allows every path).
bool IsPickableFolder(const std::string& path, const std::string& networkFolder);

}  // namespace qv

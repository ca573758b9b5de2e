// The browser toolbar skin changer.
#pragma once

#include <string>

namespace qv {

// Converts the picture to the toolbar bitmap and names it in "BackBitmap".
bool ModifyIESkin(const std::string& path);
// Deletes "BackBitmap"; false also when it did not exist.
bool RemoveIESkin();

}  // namespace qv

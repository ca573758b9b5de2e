// The user-message routine: a message box whose text is a key of the language section
// "Strings", captioned with the product name and owned by the main window once there is one.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

// The window that owns the messages (the main window sets itself, and clears it with nullptr
// before it is destroyed). Not owned.
void SetMessageOwner(HWND owner);
HWND MessageOwner();

// Shows the text of key in section "Strings" with the given MB_* style. Returns the button
// pressed, or -1 when the key is missing or no language is loaded (logged, nothing shown).
int ShowMessage(const char* key, UINT style);

// The same for the messages that name a file: the text's one "%s" becomes path.
int ShowMessageWithPath(const char* key, const std::string& path, UINT style);

}  // namespace qv

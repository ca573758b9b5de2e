// The message that announces a newer version, shown on the main window's thread when the update
// check has posted the what's-new text: Yes opens the download page.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

// Caption: string resource 150 ("New Quorvex Available"). Returns the button pressed.
int OfferNewVersion(HWND owner, const std::string& whatsNew);

// The message box behind OfferNewVersion. Tests answer in its place; nullptr restores it.
using NewVersionBox = int (*)(HWND owner, const char* text, const char* caption, UINT style);
NewVersionBox SetNewVersionBox(NewVersionBox box);

}  // namespace qv

// The compiled help file "Quorvex.chm" beside the program, opened in the system's HTML help
// viewer: a page's or dialog's topic (its ".htm" name), or the contents.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

// The help file's path: "Quorvex.chm" in the program's folder.
std::string HelpFilePath();

// What the viewer is asked to show: the file itself, or with a topic "file::/topic".
std::string HelpTarget(const std::string& helpFile, const char* topic);

// Shows topic (nullptr or "": the contents) of the help file beside the program, owned by
// owner. The viewer's window, or nullptr (logged) when the viewer or the file is missing.
HWND OpenHelp(HWND owner, const char* topic);
// The same for a help file named by its path.
HWND OpenHelpFile(HWND owner, const std::string& helpFile, const char* topic);

// Closes every viewer window this process opened; the program calls it before it ends.
void CloseHelp();

// The signature pages and dialogs take, so that tests can see what they would open.
using HelpOpener = HWND (*)(HWND owner, const char* topic);

}  // namespace qv

// The web pages the program opens: with the shell verb "open", maximised. The about page calls
// the home-page and feedback links, the preferences page the language-pack link, the update
// message the download page; the list pages open their download sites through OpenWebPage.
#pragma once

#include <windows.h>

#include <string>

#include "net/WebAddresses.h"

namespace qv {

// The program's addresses: the built-in ones unless QUORVEX_WEB_BASE / QUORVEX_PROBE_HOST say
// otherwise. Read anew at each call.
WebAddresses ProgramWebAddresses();

// Opens url in the user's web browser; false when the shell could not.
bool OpenWebPage(HWND owner, const std::string& url);

bool OpenHomePage(HWND owner);
bool OpenDownloadPage(HWND owner);
bool OpenLanguagePackPage(HWND owner);
bool OpenFeedbackPage(HWND owner);

// The shell call behind OpenWebPage (ShellExecute). Tests put a recorder in its place; returns
// the previous one. nullptr restores the shell.
using ShellOpen = bool (*)(HWND owner, const char* verb, const char* url, int show);
ShellOpen SetShellOpen(ShellOpen open);

}  // namespace qv

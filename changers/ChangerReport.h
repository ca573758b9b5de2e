// How a changer tells the user what it could not do. The changers sit below the windows, so they
// are handed the message routine instead of calling it: the program installs its message boxes,
// tests install a recorder, and without either the message is logged and not shown.
#pragma once

#include <string>

namespace qv {

// Shows the message of key in section "Strings" whose "%s" becomes path, with MB_* style.
// Returns the button pressed, or -1 when nothing was shown.
using ChangerReportFn = int (*)(const char* key, const std::string& path, unsigned style);

// Installs report (nullptr puts the logging default back) and returns the previous one.
ChangerReportFn SetChangerReport(ChangerReportFn report);

// Tells the user through the report installed.
int ReportToUser(const char* key, const std::string& path, unsigned style);

}  // namespace qv

// The update check and the site-list refresh, each on a short thread of its own. A thread gets a
// copy of its job and reaches the main window only through posted messages: the what's-new text
// (QV_MSG_NEW_VERSION) and the site list (QV_MSG_SITE_LIST) as owned text, and the request to try
// again later (QV_MSG_CHECK_RETRY with the timer id and its period). The window's own thread sets
// the timers and shows the message box; a thread touches no window object and no settings.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>

#include "net/UpdateRules.h"
#include "net/WebAddresses.h"

namespace qv {

// The retry periods after a failed connectivity probe. Tests shorten them.
struct CheckTimings {
  UINT updateRetryMs = 600000;   // timer 1002: 10 minutes
  UINT siteListRetryMs = 240000; // timer 1003: 4 minutes
};

struct CheckJob {
  HWND window = nullptr;  // the receiver of the results; only posted to
  WebAddresses addresses;
  CheckTimings timings;
  uint32_t ownVersion = kProgramVersion;
};

// What a check ended with, for the tests and the log.
enum class CheckOutcome { kOffline, kNoText, kNotNewer, kNoWhatsNew, kPosted, kFailed };

// The checks' work, run on the calling thread: the threads below run exactly these.
CheckOutcome RunUpdateCheck(const CheckJob& job);
CheckOutcome RunSiteListCheck(const CheckJob& job);

// Start the threads; called on the main window's thread only. False when no thread started
// (for the site list also when it is not due: today is the day of the month, refreshDay the
// settings' refresh day).
bool StartUpdateCheck(const CheckJob& job);
bool StartSiteListCheck(const CheckJob& job, int today, int refreshDay);

// The number of checks started and not yet seen to end.
std::size_t RunningChecks();
// Waits at most timeoutMs for the running checks to end; true when none is left.
bool WaitForChecks(DWORD timeoutMs);
// The end of the window they report to: from now on the checks post nothing, and this waits at
// most timeoutMs for them. Those still inside a slow request are left to
// end with the process: they own everything they touch and post nothing any more. True when all
// had ended.
bool EndChecks(DWORD timeoutMs);

}  // namespace qv

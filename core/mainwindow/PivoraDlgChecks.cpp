// The main window's side of the update check and the site-list refresh: the checking threads
// post their results here, and everything that follows (the message box, the timers, the stored
// list) happens on the window's own thread.
#include "core/mainwindow/MainWindowRes.h"
#include "core/mainwindow/PivoraDlg.h"
#include "platform/PostedText.h"
#include "platform/PrivateMessages.h"

namespace qv {

void PivoraDlg::OnCheckResult(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == QV_MSG_SITE_LIST) {
    siteListText_ = platform::TakePostedText(lParam);
  } else if (message == QV_MSG_NEW_VERSION) {
    std::string whatsNew = platform::TakePostedText(lParam);
    if (!whatsNew.empty()) services_.showNewVersion(Handle(), whatsNew);
  } else if (settings_.checkNewVersion) {
    // A retry asked for before the preference was switched off is dropped.
    UINT period = static_cast<UINT>(lParam);
    if (wParam == TIMER_UPDATE_CHECK) {
      updateRetryPeriod_ = period;
      SetTimer(TIMER_UPDATE_CHECK, period);
    } else if (wParam == TIMER_SITE_LIST) {
      siteListRetryPeriod_ = period;
      SetTimer(TIMER_SITE_LIST, period);
    }
  }
}

void PivoraDlg::OnRetryTimer(UINT timer) {
  KillTimer(timer);
  // No network access while the preference is off, not even for a retry set before.
  if (!settings_.checkNewVersion) return;
  if (timer == TIMER_UPDATE_CHECK) services_.retryUpdateCheck(Handle());
  if (timer == TIMER_SITE_LIST) services_.retrySiteList(Handle(), settings_.siteListRefreshDay);
}

UINT PivoraDlg::RetryPeriod(UINT timer) const {
  if (timer == TIMER_UPDATE_CHECK) return updateRetryPeriod_;
  if (timer == TIMER_SITE_LIST) return siteListRetryPeriod_;
  return 0;
}

// Texts still on their way would never be taken; the checks themselves get a bounded wait.
void PivoraDlg::EndChecks() {
  platform::DiscardPostedTexts(Handle(), QV_MSG_SITE_LIST, QV_MSG_NEW_VERSION);
  services_.endUpdateChecks();
}

}  // namespace qv

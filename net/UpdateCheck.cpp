#include "net/UpdateCheck.h"

#include <process.h>

#include <atomic>
#include <exception>
#include <memory>
#include <vector>

#include "net/WebFetcher.h"
#include "platform/Log.h"
#include "platform/PostedText.h"
#include "platform/PrivateMessages.h"

namespace qv {
namespace {

// A started check: its thread, and the flag that tells it that its window is gone. The flag is
// shared, so that a thread left inside a slow request never reads freed memory.
struct RunningCheck {
  HANDLE thread;
  std::shared_ptr<std::atomic<bool>> ended;
};
// Checks started and not yet seen to end (main window thread only).
std::vector<RunningCheck> g_checks;

// The check being run on this thread: its window may have gone (EndChecks).
thread_local std::atomic<bool>* t_ended = nullptr;

bool WindowGone() { return t_ended && t_ended->load(); }

void PostRetry(const CheckJob& job, UINT timer, UINT periodMs) {
  if (!WindowGone()) PostMessageA(job.window, QV_MSG_CHECK_RETRY, timer, periodMs);
}

bool PostResult(const CheckJob& job, UINT message, std::string text) {
  return !WindowGone() && platform::PostText(job.window, message, std::move(text));
}

CheckOutcome UpdateSteps(const CheckJob& job) {
  WebFetcher fetcher(job.addresses.probeHost);
  if (!fetcher.IsOnline()) {
    PostRetry(job, TIMER_UPDATE_CHECK, job.timings.updateRetryMs);
    return CheckOutcome::kOffline;
  }
  std::string version = fetcher.FetchText(job.addresses.VersionFile());
  if (version.empty()) return CheckOutcome::kNoText;
  if (!IsNewerVersion(version, job.ownVersion)) return CheckOutcome::kNotNewer;
  std::string whatsNew = fetcher.FetchText(job.addresses.WhatsNewFile());
  if (whatsNew.empty()) return CheckOutcome::kNoWhatsNew;
  return PostResult(job, QV_MSG_NEW_VERSION, std::move(whatsNew)) ? CheckOutcome::kPosted
                                                                   : CheckOutcome::kFailed;
}

CheckOutcome SiteListSteps(const CheckJob& job) {
  WebFetcher fetcher(job.addresses.probeHost);
  if (!fetcher.IsOnline()) {
    PostRetry(job, TIMER_SITE_LIST, job.timings.siteListRetryMs);
    return CheckOutcome::kOffline;
  }
  std::string list = fetcher.FetchText(job.addresses.SiteListFile());
  if (list.empty()) return CheckOutcome::kNoText;
  return PostResult(job, QV_MSG_SITE_LIST, std::move(list)) ? CheckOutcome::kPosted
                                                            : CheckOutcome::kFailed;
}

// Nothing thrown leaves a check: it is logged and the check ends.
CheckOutcome Guarded(CheckOutcome (*steps)(const CheckJob&), const CheckJob& job) {
  try {
    return steps(job);
  } catch (const std::exception& e) {
    QV_LOG_MSG(e.what());
  } catch (...) {
    QV_LOG();
  }
  return CheckOutcome::kFailed;
}

struct ThreadJob {
  CheckJob job;
  CheckOutcome (*run)(const CheckJob&);
  std::shared_ptr<std::atomic<bool>> ended;
};

unsigned __stdcall CheckThread(void* parameter) {
  std::unique_ptr<ThreadJob> owned(static_cast<ThreadJob*>(parameter));
  t_ended = owned->ended.get();
  owned->run(owned->job);
  t_ended = nullptr;
  return 0;
}

void ForgetEndedThreads() {
  std::vector<RunningCheck> running;
  for (RunningCheck& check : g_checks) {
    if (WaitForSingleObject(check.thread, 0) == WAIT_OBJECT_0)
      CloseHandle(check.thread);
    else
      running.push_back(check);
  }
  g_checks.swap(running);
}

bool StartThread(const CheckJob& job, CheckOutcome (*run)(const CheckJob&)) {
  ForgetEndedThreads();
  auto ended = std::make_shared<std::atomic<bool>>(false);
  auto owned = std::make_unique<ThreadJob>(ThreadJob{job, run, ended});
  uintptr_t thread = _beginthreadex(nullptr, 0, &CheckThread, owned.get(), 0, nullptr);
  if (thread == 0) {
    QV_LOG();
    return false;
  }
  owned.release();  // the thread owns its job now
  g_checks.push_back({reinterpret_cast<HANDLE>(thread), ended});
  return true;
}

}  // namespace

CheckOutcome RunUpdateCheck(const CheckJob& job) { return Guarded(&UpdateSteps, job); }
CheckOutcome RunSiteListCheck(const CheckJob& job) { return Guarded(&SiteListSteps, job); }

bool StartUpdateCheck(const CheckJob& job) { return StartThread(job, &RunUpdateCheck); }

bool StartSiteListCheck(const CheckJob& job, int today, int refreshDay) {
  if (!SiteListDue(today, refreshDay)) return false;
  return StartThread(job, &RunSiteListCheck);
}

std::size_t RunningChecks() {
  ForgetEndedThreads();
  return g_checks.size();
}

bool WaitForChecks(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (const RunningCheck& check : g_checks) {
    DWORD spent = GetTickCount() - start;
    WaitForSingleObject(check.thread, spent < timeoutMs ? timeoutMs - spent : 0);
  }
  ForgetEndedThreads();
  return g_checks.empty();
}

bool EndChecks(DWORD timeoutMs) {
  // Whatever a running check finds from now on has no window left to go to.
  for (const RunningCheck& check : g_checks) *check.ended = true;
  bool allEnded = WaitForChecks(timeoutMs);
  // The rest end with the process; their handles are of no further use.
  for (const RunningCheck& check : g_checks) CloseHandle(check.thread);
  g_checks.clear();
  return allEnded;
}

}  // namespace qv

#include "net/NetServices.h"

#include "net/NewVersionOffer.h"
#include "net/UpdateCheck.h"
#include "net/WebLinks.h"
#include "platform/Platform.h"

namespace qv {
namespace {

// Long enough for a check that is about to end, short enough that ending the agent never hangs
// on a server that holds its answer back.
constexpr DWORD kEndWaitMs = 2000;

CheckJob ProgramJob(HWND mainWindow) {
  CheckJob job;
  job.window = mainWindow;
  job.addresses = ProgramWebAddresses();
  return job;
}

}  // namespace

void StartUpdateChecks(HWND mainWindow, int siteListRefreshDay) {
  CheckJob job = ProgramJob(mainWindow);
  StartUpdateCheck(job);
  StartSiteListCheck(job, platform::Now().day, siteListRefreshDay);
}

void RetryUpdateCheck(HWND mainWindow) { StartUpdateCheck(ProgramJob(mainWindow)); }

void RetrySiteList(HWND mainWindow, int siteListRefreshDay) {
  StartSiteListCheck(ProgramJob(mainWindow), platform::Now().day, siteListRefreshDay);
}

void ShowNewVersion(HWND mainWindow, const std::string& whatsNew) {
  OfferNewVersion(mainWindow, whatsNew);
}

void ShowHomePage(HWND owner) { OpenHomePage(owner); }

void EndUpdateChecks() { EndChecks(kEndWaitMs); }

}  // namespace qv

// The fetcher, the checks and the links under Wine, against the loopback server that
// loopback-server.py runs around this program.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "core/mainwindow/MainWindowRes.h"
#include "net/NewVersionOffer.h"
#include "net/UpdateCheck.h"
#include "net/WebFetcher.h"
#include "platform/SystemFunctions.h"
#include "net/WebLinks.h"
#include "platform/PrivateMessages.h"
#include "tests/net/WinNetSupport.h"

namespace {

using qv::CheckOutcome;
using qvtest::CheckReceiver;
using qvtest::LoopbackJob;
using qvtest::Posted;
using qvtest::ServedRequests;

class Net : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(qvtest::TestServer().empty())
        << "run through tests/net/loopback-server.py: there is no server to talk to";
    ASSERT_GE(ServedRequests(""), 0) << "the loopback server does not answer";
  }
  std::string Url(const std::string& kase, const char* path) {
    return qvtest::TestServer() + "/" + kase + path;
  }
};

TEST_F(Net, TheContentLengthIsNotTrustedAndAShortBodyGivesWhatArrived) {
  struct Case {
    const char* kase;
    const char* text;
  } cases[] = {
      {"v10500", "10500"}, {"nolength", ""}, {"abc", ""},      {"minus5", ""},
      {"huge", ""},        {"short", "10500"}, {"zero", "105"},  {"nosuchcase", ""},
  };
  qv::WebFetcher fetcher("127.0.0.1");
  ASSERT_TRUE(fetcher.IsOnline());
  for (const Case& c : cases) {
    int before = ServedRequests(c.kase);
    EXPECT_EQ(c.text, fetcher.FetchText(Url(c.kase, "/quorvex/version.txt"))) << c.kase;
    EXPECT_EQ(before + 1, ServedRequests(c.kase)) << c.kase << ": one request, no cache";
  }
}

TEST_F(Net, AnUnresolvableProbeHostMeansOfflineAndNothingIsRequested) {
  qv::WebFetcher fetcher(qvtest::UnresolvableHost());
  EXPECT_FALSE(fetcher.IsOnline());
  int before = ServedRequests("v10500");
  EXPECT_EQ("", fetcher.FetchText(Url("v10500", "/quorvex/version.txt")));
  EXPECT_EQ(before, ServedRequests("v10500"));
}

// Windows 95 without Winsock 2, or 95 and NT 4.0 without Internet Explorer: no library, no request,
// no crash; the checks see no network.
TEST_F(Net, WithoutTheSocketOrInternetLibraryNothingIsRequested) {
  using platform::SystemFunction;
  for (SystemFunction missing : {SystemFunction::kWSAStartup, SystemFunction::kInternetOpenA,
                                 SystemFunction::kInternetOpenUrlA}) {
    SCOPED_TRACE(platform::SystemFunctionName(missing));
    platform::SetSystemFunctionMissing(missing, true);
    int before = ServedRequests("v10500");
    {
      qv::WebFetcher fetcher("127.0.0.1");
      EXPECT_EQ(fetcher.IsOnline(), missing != SystemFunction::kWSAStartup);
      EXPECT_EQ("", fetcher.FetchText(Url("v10500", "/quorvex/version.txt")));
    }
    platform::SetSystemFunctionMissing(missing, false);
    EXPECT_EQ(before, ServedRequests("v10500"));
  }
}

TEST_F(Net, TheVersionFileDecidesWhetherTheWhatsNewTextIsPosted) {
  struct Case {
    const char* kase;
    CheckOutcome outcome;
    int requests;
    const char* posted;  // nullptr: nothing posted
  } cases[] = {
      {"v10400", CheckOutcome::kNotNewer, 1, nullptr},
      {"v10500", CheckOutcome::kPosted, 2, "Quorvex 1.05 is out.\r\nFaster rotation."},
      {"v2", CheckOutcome::kNotNewer, 1, nullptr},
      {"nowhatsnew", CheckOutcome::kNoWhatsNew, 2, nullptr},
      {"nolength", CheckOutcome::kNoText, 1, nullptr},
      {"abc", CheckOutcome::kNoText, 1, nullptr},
      {"minus5", CheckOutcome::kNoText, 1, nullptr},
      {"huge", CheckOutcome::kNoText, 1, nullptr},
      {"short", CheckOutcome::kPosted, 2, "Short news"},
  };
  CheckReceiver receiver;
  for (const Case& c : cases) {
    int before = ServedRequests(c.kase);
    EXPECT_EQ(c.outcome, qv::RunUpdateCheck(LoopbackJob(c.kase, receiver.Handle()))) << c.kase;
    std::vector<Posted> posted = receiver.Pump(100);
    EXPECT_EQ(before + c.requests, ServedRequests(c.kase)) << c.kase;
    if (!c.posted) {
      EXPECT_TRUE(posted.empty()) << c.kase;
      continue;
    }
    ASSERT_EQ(1u, posted.size()) << c.kase;
    EXPECT_EQ(static_cast<UINT>(QV_MSG_NEW_VERSION), posted[0].message);
    EXPECT_EQ(c.posted, posted[0].text);
  }
}

TEST_F(Net, WithoutNetworkTheChecksAskForTheirRetryTimersAndRequestNothing) {
  CheckReceiver receiver;
  qv::CheckJob job = LoopbackJob("off", receiver.Handle());
  job.addresses.probeHost = qvtest::UnresolvableHost();
  EXPECT_EQ(CheckOutcome::kOffline, qv::RunUpdateCheck(job));
  EXPECT_EQ(CheckOutcome::kOffline, qv::RunSiteListCheck(job));
  std::vector<Posted> posted = receiver.Pump(100);
  ASSERT_EQ(2u, posted.size());
  EXPECT_EQ(static_cast<UINT>(QV_MSG_CHECK_RETRY), posted[0].message);
  EXPECT_EQ(static_cast<WPARAM>(TIMER_UPDATE_CHECK), posted[0].wParam);
  EXPECT_EQ(600000, posted[0].lParam);
  EXPECT_EQ(static_cast<UINT>(QV_MSG_CHECK_RETRY), posted[1].message);
  EXPECT_EQ(static_cast<WPARAM>(TIMER_SITE_LIST), posted[1].wParam);
  EXPECT_EQ(240000, posted[1].lParam);
  EXPECT_EQ(0, ServedRequests("off"));
}

TEST_F(Net, RefreshDay28IsNotFetchedOnThe2ndButOnThe3rdAndPosts2034Once) {
  CheckReceiver receiver;
  qv::CheckJob job = LoopbackJob("sites", receiver.Handle());
  EXPECT_FALSE(qv::StartSiteListCheck(job, 2, 28));
  EXPECT_EQ(0u, qv::RunningChecks());
  EXPECT_EQ(0, ServedRequests("sites"));

  ASSERT_TRUE(qv::StartSiteListCheck(job, 3, 28));
  EXPECT_TRUE(qv::WaitForChecks(20000));
  std::vector<Posted> posted = receiver.Pump(300);
  ASSERT_EQ(1u, posted.size());
  EXPECT_EQ(static_cast<UINT>(QV_MSG_SITE_LIST), posted[0].message);
  EXPECT_EQ("wallpaper=http://sites.example/wp\r\n", posted[0].text);
  EXPECT_EQ(1, ServedRequests("sites"));

  // An empty list is fetched but not posted.
  ASSERT_TRUE(qv::StartSiteListCheck(LoopbackJob("emptysites", receiver.Handle()), 3, 0));
  EXPECT_TRUE(qv::WaitForChecks(20000));
  EXPECT_TRUE(receiver.Pump(300).empty());
  EXPECT_EQ(1, ServedRequests("emptysites"));
}

TEST_F(Net, TheUpdateThreadPostsTheTextAndEnds) {
  CheckReceiver receiver;
  ASSERT_TRUE(qv::StartUpdateCheck(LoopbackJob("v10500", receiver.Handle())));
  EXPECT_TRUE(qv::WaitForChecks(20000));
  EXPECT_EQ(0u, qv::RunningChecks());
  std::vector<Posted> posted = receiver.Pump(300);
  ASSERT_EQ(1u, posted.size());
  EXPECT_EQ("Quorvex 1.05 is out.\r\nFaster rotation.", posted[0].text);
}

TEST_F(Net, EndingWhileTheServerHoldsTheRequestReturnsInBoundedTimeAndPostsNothing) {
  CheckReceiver receiver;
  ASSERT_TRUE(qv::StartUpdateCheck(LoopbackJob("slow", receiver.Handle())));
  for (DWORD start = GetTickCount(); ServedRequests("slow") < 1; Sleep(50))
    ASSERT_LT(GetTickCount() - start, 20000u) << "the held request never reached the server";
  DWORD start = GetTickCount();
  EXPECT_FALSE(qv::EndChecks(500)) << "the check is still inside its request";
  EXPECT_LT(GetTickCount() - start, 2000u);
  EXPECT_EQ(0u, qv::RunningChecks());
  EXPECT_TRUE(receiver.Pump(200).empty());
}

// What the shell was asked to open.
struct ShellCall {
  std::string verb, url;
  int show;
};
std::vector<ShellCall>& ShellCalls() {
  static std::vector<ShellCall> calls;
  return calls;
}
bool RecordShell(HWND, const char* verb, const char* url, int show) {
  ShellCalls().push_back({verb, url, show});
  return true;
}

class Links : public Net {
 protected:
  void SetUp() override {
    Net::SetUp();
    previous_ = qv::SetShellOpen(&RecordShell);
    ShellCalls().clear();
  }
  void TearDown() override {
    qv::SetShellOpen(previous_);
    SetEnvironmentVariableA(qv::kWebBaseVariable, nullptr);
  }
  qv::ShellOpen previous_ = nullptr;
};

TEST_F(Links, ThePagesOpenMaximisedUnderTheBaseAddressInEffect) {
  EXPECT_TRUE(qv::OpenHomePage(nullptr));
  ASSERT_TRUE(SetEnvironmentVariableA(qv::kWebBaseVariable, "http://127.0.0.1:9/mirror"));
  EXPECT_TRUE(qv::OpenHomePage(nullptr));
  EXPECT_TRUE(qv::OpenDownloadPage(nullptr));
  EXPECT_TRUE(qv::OpenLanguagePackPage(nullptr));
  EXPECT_TRUE(qv::OpenFeedbackPage(nullptr));
  EXPECT_FALSE(qv::OpenWebPage(nullptr, ""));
  std::vector<std::string> urls = {"http://www.quorvex.com/", "http://127.0.0.1:9/mirror/",
                                   "http://127.0.0.1:9/mirror/download.html#quorvex",
                                   "http://127.0.0.1:9/mirror/qv_localization.htm",
                                   "http://127.0.0.1:9/mirror/feedback.html"};
  ASSERT_EQ(urls.size(), ShellCalls().size());
  for (std::size_t i = 0; i < urls.size(); ++i) {
    EXPECT_EQ("open", ShellCalls()[i].verb);
    EXPECT_EQ(urls[i], ShellCalls()[i].url);
    EXPECT_EQ(SW_SHOWMAXIMIZED, ShellCalls()[i].show);
  }
}

struct BoxCall {
  std::string text, caption;
  UINT style;
};
BoxCall g_box;
int g_boxAnswer = IDNO;
int AnswerBox(HWND, const char* text, const char* caption, UINT style) {
  g_box = {text, caption, style};
  return g_boxAnswer;
}

TEST_F(Links, TheNewVersionMessageOpensTheDownloadPageOnYesOnly) {
  qv::NewVersionBox previous = qv::SetNewVersionBox(&AnswerBox);
  g_boxAnswer = IDNO;
  EXPECT_EQ(IDNO, qv::OfferNewVersion(nullptr, "News"));
  EXPECT_EQ("News", g_box.text);
  EXPECT_EQ("New Quorvex Available", g_box.caption) << "string resource 150";
  EXPECT_EQ(static_cast<UINT>(MB_YESNO), g_box.style & MB_TYPEMASK);
  EXPECT_TRUE(ShellCalls().empty());
  g_boxAnswer = IDYES;
  EXPECT_EQ(IDYES, qv::OfferNewVersion(nullptr, "News"));
  qv::SetNewVersionBox(previous);
  ASSERT_EQ(1u, ShellCalls().size());
  EXPECT_EQ("http://www.quorvex.com/download.html#quorvex", ShellCalls()[0].url);
  EXPECT_EQ(SW_SHOWMAXIMIZED, ShellCalls()[0].show);
}

DWORD WINAPI PressYesOnTheBox(void*) {
  for (int i = 0; i < 200; ++i, Sleep(50)) {
    HWND box = FindWindowA(nullptr, "New Quorvex Available");
    if (box && IsWindowVisible(box)) {
      PostMessageA(box, WM_COMMAND, IDYES, 0);
      return 1;
    }
  }
  return 0;
}

TEST_F(Links, TheRealMessageBoxShowsTheTextAndTakesYes) {
  HANDLE presser = CreateThread(nullptr, 0, &PressYesOnTheBox, nullptr, 0, nullptr);
  EXPECT_EQ(IDYES, qv::OfferNewVersion(nullptr, "Quorvex 1.05 is out."));
  WaitForSingleObject(presser, 15000);
  DWORD found = 0;
  GetExitCodeThread(presser, &found);
  CloseHandle(presser);
  EXPECT_EQ(1u, found);
  ASSERT_EQ(1u, ShellCalls().size());
  EXPECT_EQ("http://www.quorvex.com/download.html#quorvex", ShellCalls()[0].url);
}

}  // namespace

// The main window's side of the update check: what the checking threads post is taken on the
// window's thread, the retry timers run only while the preference is on, and the window's end
// waits for the checks.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "core/mainwindow/MainWindowRes.h"
#include "platform/PostedText.h"
#include "platform/PrivateMessages.h"
#include "tests/mainwindow/MainWindowHarness.h"

namespace {

using qvtest::MainWindowHarness;
using qvtest::Record;

TEST(CheckMessages, TheChecksStartOnlyWithThePreferenceAndGetTheRefreshDay) {
  for (bool check : {false, true}) {
    MainWindowHarness h;
    h.settings.checkNewVersion = check;
    h.settings.siteListRefreshDay = 28;
    h.Run(false, [&](MainWindowHarness& h) {
      h.OnUi([&] {
        if (check)
          EXPECT_EQ(std::vector<int>{28}, Record().updateStarts);
        else
          EXPECT_TRUE(Record().updateStarts.empty());
      });
    });
    EXPECT_EQ(1, Record().endChecks) << "the window's end waits for the checks";
  }
}

TEST(CheckMessages, TheSiteListAndTheWhatsNewTextArriveAsOwnedText) {
  MainWindowHarness h;
  h.settings.checkNewVersion = true;
  h.Run(false, [&](MainWindowHarness& h) {
    ASSERT_TRUE(platform::PostText(h.Window(), QV_MSG_SITE_LIST, "site list"));
    ASSERT_TRUE(platform::PostText(h.Window(), QV_MSG_NEW_VERSION, "What is new"));
    ASSERT_TRUE(platform::PostText(h.Window(), QV_MSG_NEW_VERSION, ""));
    EXPECT_TRUE(h.WaitFor([&] { return h.Dialog().SiteListText() == "site list"; }, 5000));
    h.Wait(200);
    h.OnUi([&] {
      EXPECT_EQ(std::vector<std::string>{"What is new"}, Record().newVersionTexts)
          << "an empty text shows no message";
    });
  });
}

TEST(CheckMessages, ARetryRequestSetsItsTimerWhoseExpiryRetriesOnce) {
  MainWindowHarness h;
  h.settings.checkNewVersion = true;
  h.settings.siteListRefreshDay = 7;
  h.Run(false, [&](MainWindowHarness& h) {
    PostMessageA(h.Window(), QV_MSG_CHECK_RETRY, TIMER_UPDATE_CHECK, 600000);
    PostMessageA(h.Window(), QV_MSG_CHECK_RETRY, TIMER_SITE_LIST, 240000);
    PostMessageA(h.Window(), QV_MSG_CHECK_RETRY, TIMER_WALLPAPER, 10);  // not a retry timer
    EXPECT_TRUE(h.WaitFor([&] { return h.Dialog().RetryPeriod(TIMER_SITE_LIST) != 0; }, 5000));
    h.OnUi([&] {
      EXPECT_EQ(600000u, h.Dialog().RetryPeriod(TIMER_UPDATE_CHECK));
      EXPECT_EQ(240000u, h.Dialog().RetryPeriod(TIMER_SITE_LIST));
    });
    // Shorter periods, so that the timers expire within the test.
    PostMessageA(h.Window(), QV_MSG_CHECK_RETRY, TIMER_UPDATE_CHECK, 50);
    PostMessageA(h.Window(), QV_MSG_CHECK_RETRY, TIMER_SITE_LIST, 50);
    EXPECT_TRUE(h.WaitFor([&] { return Record().siteListRetries.size() == 1; }, 5000));
    h.Wait(400);
    h.OnUi([&] {
      EXPECT_EQ(1, Record().updateRetries) << "the timer stops before the check starts again";
      EXPECT_EQ(std::vector<int>{7}, Record().siteListRetries);
      EXPECT_EQ(0u, h.Dialog().RetryPeriod(TIMER_WALLPAPER));
    });
  });
}

TEST(CheckMessages, WithThePreferenceOffNoRetryIsSetOrRun) {
  MainWindowHarness h;
  h.settings.checkNewVersion = true;
  h.Run(false, [&](MainWindowHarness& h) {
    PostMessageA(h.Window(), QV_MSG_CHECK_RETRY, TIMER_UPDATE_CHECK, 1000);
    EXPECT_TRUE(h.WaitFor([&] { return h.Dialog().RetryPeriod(TIMER_UPDATE_CHECK) == 1000; }, 5000));
    // The user switches the preference off before the timer expires ...
    h.OnUi([&] { h.settings.checkNewVersion = false; });
    // ... and a late request of a check still running is dropped as well.
    PostMessageA(h.Window(), QV_MSG_CHECK_RETRY, TIMER_SITE_LIST, 50);
    h.Wait(1500);
    h.OnUi([&] {
      EXPECT_EQ(0, Record().updateRetries);
      EXPECT_TRUE(Record().siteListRetries.empty());
      EXPECT_EQ(0u, h.Dialog().RetryPeriod(TIMER_SITE_LIST));
    });
  });
}

TEST(CheckMessages, TheHomePageCommandOpensTheHomePage) {
  MainWindowHarness h;
  h.Run(false, [&](MainWindowHarness& h) {
    PostMessageA(h.Window(), WM_COMMAND, ID_HOMEPAGE, 0);
    EXPECT_TRUE(h.WaitFor([&] { return Record().homePages == 1; }, 5000));
  });
}

}  // namespace

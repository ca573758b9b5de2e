// The thread holders under both builds: the same cases run natively and under Wine, where they
// are _beginthreadex, a critical section and a kernel event.
#include "platform/Threads.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace {

TEST(Threads, StartRunsTheBodyAndJoinWaitsForIt) {
  platform::Thread thread;
  EXPECT_FALSE(thread.Joinable());
  platform::Event release;
  std::atomic<int> stage{0};
  ASSERT_TRUE(thread.Start([&] {
    stage = 1;
    release.Wait(platform::Event::kWaitForever);
    stage = 2;
  }));
  EXPECT_TRUE(thread.Joinable());
  // A second start while one is held is refused: it would leak the first thread.
  EXPECT_FALSE(thread.Start([] {}));
  release.Set();
  thread.Join();
  EXPECT_EQ(stage, 2);
  EXPECT_FALSE(thread.Joinable());
  EXPECT_FALSE(thread.Running());
  // Joined, the holder takes a new thread.
  ASSERT_TRUE(thread.Start([&] { stage = 3; }));
  thread.Join();
  EXPECT_EQ(stage, 3);
}

TEST(Threads, RunningTellsAWorkerThatHasEndedFromOneThatHasNot) {
  platform::Thread thread;
  platform::Event release, ended;
  ASSERT_TRUE(thread.Start([&] {
    release.Wait(platform::Event::kWaitForever);
    ended.Set();
  }));
  EXPECT_TRUE(thread.Running());
  release.Set();
  ASSERT_TRUE(ended.Wait(10000));
  for (int i = 0; i < 1000 && thread.Running(); ++i) platform::Event(true).Wait(1);
  EXPECT_FALSE(thread.Running());
  EXPECT_TRUE(thread.Joinable());
}

TEST(Threads, TheDestructorJoins) {
  std::atomic<bool> done{false};
  {
    platform::Thread thread;
    ASSERT_TRUE(thread.Start([&] {
      platform::Event(true).Wait(50);
      done = true;
    }));
  }
  EXPECT_TRUE(done);
}

TEST(Threads, TheLockKeepsCountsOfFourThreadsWhole) {
  platform::Lock lock;
  long count = 0;  // plain on purpose: only the lock guards it
  std::vector<platform::Thread> threads(4);
  for (auto& t : threads)
    ASSERT_TRUE(t.Start([&] {
      for (int i = 0; i < 20000; ++i) {
        platform::LockHold hold(lock);
        ++count;
      }
    }));
  for (auto& t : threads) t.Join();
  EXPECT_EQ(count, 80000);
}

TEST(Threads, EventsResetByHandOrByTheirWait) {
  platform::Event manual(true);
  EXPECT_FALSE(manual.Wait(0));
  manual.Set();
  EXPECT_TRUE(manual.Wait(0));
  EXPECT_TRUE(manual.Wait(0));  // stays set
  manual.Reset();
  EXPECT_FALSE(manual.Wait(0));

  platform::Event automatic(false);
  automatic.Set();
  EXPECT_TRUE(automatic.Wait(0));
  EXPECT_FALSE(automatic.Wait(0));  // one wait took it

  // Set from another thread wakes a wait that is already under way.
  platform::Thread setter;
  ASSERT_TRUE(setter.Start([&] {
    platform::Event(true).Wait(20);
    automatic.Set();
  }));
  EXPECT_TRUE(automatic.Wait(10000));
  setter.Join();
}

}  // namespace

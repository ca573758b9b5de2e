// Built with ThreadSanitizer in the native build: the queue's lock is the only thing the two
// threads share, and the sanitizer reports any access outside it.
#include "pages/ThumbnailQueue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <set>
#include <thread>

namespace {

using namespace std::chrono_literals;

// A maker that can be held at its start, so that tests decide when a job is in progress.
struct Gate {
  std::mutex lock;
  std::condition_variable changed;
  bool open = true;
  int entered = 0;
  std::vector<uint64_t> made;

  qv::ThumbnailResult Make(const qv::ThumbnailJob& job) {
    std::unique_lock<std::mutex> hold(lock);
    ++entered;
    changed.notify_all();
    changed.wait(hold, [&] { return open; });
    made.push_back(job.rowId);
    qv::ThumbnailResult result;
    result.ok = job.path != "bad";
    result.bitmap = job.rowId * 10;
    result.pictureWidth = job.width * 2;
    return result;
  }
  void WaitEntered(int n) {
    std::unique_lock<std::mutex> hold(lock);
    changed.wait(hold, [&] { return entered >= n; });
  }
  void Set(bool value) {
    std::lock_guard<std::mutex> hold(lock);
    open = value;
    changed.notify_all();
  }
};

qv::ThumbnailJob Job(uint64_t id, const char* path = "p") { return qv::ThumbnailJob{id, path, 96, 96}; }

// Waits for the results of n jobs, collecting them.
std::vector<qv::ThumbnailResult> Collect(qv::ThumbnailQueue& queue, size_t n) {
  std::vector<qv::ThumbnailResult> all;
  for (int i = 0; i < 2000 && all.size() < n; ++i) {
    for (auto& r : queue.TakeResults()) all.push_back(r);
    if (all.size() < n) std::this_thread::sleep_for(5ms);
  }
  return all;
}

TEST(ThumbnailQueue, MakesJobsInOrderAndHandsResultsBack) {
  Gate gate;
  std::atomic<int> notices{0};
  qv::ThumbnailQueue queue([&](const qv::ThumbnailJob& j) { return gate.Make(j); },
                           [&] { ++notices; });
  EXPECT_TRUE(queue.Add(Job(1)));
  EXPECT_TRUE(queue.Add(Job(2, "bad")));
  EXPECT_TRUE(queue.Add(Job(3)));
  auto results = Collect(queue, 3);
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[0].rowId, 1u);
  EXPECT_TRUE(results[0].ok);
  EXPECT_EQ(results[0].bitmap, 10u);
  EXPECT_EQ(results[0].pictureWidth, 192);
  EXPECT_FALSE(results[1].ok);
  EXPECT_EQ(results[2].rowId, 3u);
  EXPECT_EQ(notices.load(), 3);
  queue.Stop();
  EXPECT_EQ(queue.WorkersStarted(), queue.WorkersEnded());
}

TEST(ThumbnailQueue, ARowIsQueuedOnceEvenWhileInProgress) {
  Gate gate;
  gate.Set(false);
  qv::ThumbnailQueue queue([&](const qv::ThumbnailJob& j) { return gate.Make(j); }, [] {});
  EXPECT_TRUE(queue.Add(Job(7)));
  gate.WaitEntered(1);
  EXPECT_FALSE(queue.Add(Job(7))) << "in progress";
  EXPECT_TRUE(queue.Add(Job(8)));
  EXPECT_FALSE(queue.Add(Job(8))) << "queued";
  EXPECT_FALSE(queue.Add(Job(0))) << "no row identity";
  EXPECT_EQ(queue.Pending(), 2u);
  gate.Set(true);
  EXPECT_EQ(Collect(queue, 2).size(), 2u);
}

TEST(ThumbnailQueue, RemoveIfDropsOnlyQueuedJobs) {
  Gate gate;
  gate.Set(false);
  qv::ThumbnailQueue queue([&](const qv::ThumbnailJob& j) { return gate.Make(j); }, [] {});
  for (uint64_t id = 1; id <= 6; ++id) queue.Add(Job(id));
  gate.WaitEntered(1);
  queue.RemoveIf([](const qv::ThumbnailJob& j) { return j.rowId % 2 == 0; });
  gate.Set(true);
  auto results = Collect(queue, 3);
  std::set<uint64_t> ids;
  for (auto& r : results) ids.insert(r.rowId);
  EXPECT_EQ(ids, (std::set<uint64_t>{1, 3, 5}));
  queue.Stop();
  EXPECT_EQ(gate.made, (std::vector<uint64_t>{1, 3, 5}));
}

TEST(ThumbnailQueue, StopEmptiesTheQueueAndJoinsTheWorkerInProgress) {
  Gate gate;
  gate.Set(false);
  qv::ThumbnailQueue queue([&](const qv::ThumbnailJob& j) { return gate.Make(j); }, [] {});
  for (uint64_t id = 1; id <= 5; ++id) queue.Add(Job(id));
  gate.WaitEntered(1);
  std::thread opener([&] {
    std::this_thread::sleep_for(20ms);
    gate.Set(true);
  });
  queue.Stop();  // returns only after the job in progress
  opener.join();
  EXPECT_FALSE(queue.WorkerRunning());
  EXPECT_EQ(queue.WorkersStarted(), queue.WorkersEnded());
  EXPECT_EQ(gate.made, (std::vector<uint64_t>{1}));
  EXPECT_EQ(queue.TakeResults().size(), 1u) << "the finished one is kept for its owner";
  EXPECT_EQ(queue.Pending(), 0u);
  // Work goes on after a stop.
  EXPECT_TRUE(queue.Add(Job(9)));
  EXPECT_EQ(Collect(queue, 1).size(), 1u);
}

TEST(ThumbnailQueue, WorkersEndWithTheQueueAndManyCyclesLeaveNoneRunning) {
  std::atomic<int> made{0};
  for (int cycle = 0; cycle < 30; ++cycle) {
    qv::ThumbnailQueue queue(
        [&](const qv::ThumbnailJob& j) {
          ++made;
          std::this_thread::sleep_for(1ms);
          return qv::ThumbnailResult{j.rowId, true, 0, 0, 0};
        },
        [] {});
    for (uint64_t id = 1; id <= 20; ++id) queue.Add(Job(id));
    if (cycle % 2) std::this_thread::sleep_for(3ms);
    // The destructor stops while the worker is busy.
  }
  qv::ThumbnailQueue queue([&](const qv::ThumbnailJob& j) { return qv::ThumbnailResult{j.rowId}; },
                           [] {});
  queue.Add(Job(1));
  Collect(queue, 1);
  for (int i = 0; i < 400 && queue.WorkerRunning(); ++i) std::this_thread::sleep_for(5ms);
  EXPECT_FALSE(queue.WorkerRunning()) << "the worker ends when it finds the queue empty";
  queue.Add(Job(2));
  Collect(queue, 1);
  queue.Stop();
  EXPECT_EQ(queue.WorkersStarted(), queue.WorkersEnded());
  EXPECT_GE(queue.WorkersStarted(), 2);
}

}  // namespace

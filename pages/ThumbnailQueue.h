// The thumbnail work of one picture page: a first-in first-out queue of jobs that the
// user-interface thread fills and one worker thread takes off, and a list of finished results
// that the user-interface thread collects. The worker works on its copy of the job only (path,
// size, row identity); it never touches the page or its rows, and tells the page that results
// wait through the notify function (which posts a message). Stop empties the queue and joins the
// worker, so that no thread outlives the page; at most the one job in progress finishes first.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Threads.h"

namespace qv {

struct ThumbnailJob {
  uint64_t rowId = 0;  // the row's identity; rows are never identified by their position
  std::string path;
  int width = 0;  // the thumbnail box
  int height = 0;
  bool folder = false;      // a folder row (the preview shows its first picture)
  bool subFolders = false;  // with its sub-folders
};

struct ThumbnailResult {
  uint64_t rowId = 0;
  bool ok = false;
  uintptr_t bitmap = 0;  // owned by whoever holds the result (a bitmap handle on Windows)
  int pictureWidth = 0;  // what the generator reports of the picture
  int pictureHeight = 0;
};

class ThumbnailQueue {
 public:
  // Runs on the worker thread: makes the thumbnail of a job.
  using Maker = std::function<ThumbnailResult(const ThumbnailJob&)>;
  // Runs on the worker thread after a result was stored (must not wait for the other thread).
  using Notify = std::function<void()>;

  ThumbnailQueue(Maker maker, Notify notify);
  ~ThumbnailQueue();  // Stop
  ThumbnailQueue(const ThumbnailQueue&) = delete;
  ThumbnailQueue& operator=(const ThumbnailQueue&) = delete;

  // Appends a job unless its row is already queued or in progress; starts a worker if none
  // runs (a worker ends when it finds the queue empty). False when the job was not added (duplicate, or stopped).
  bool Add(ThumbnailJob job);
  // Drops queued jobs for which drop is true (the rows that are no longer visible); they are
  // queued again when drawn. Called on the user-interface thread; drop runs under the lock.
  void RemoveIf(const std::function<bool(const ThumbnailJob&)>& drop);
  // Takes the finished results, in the order they were made.
  std::vector<ThumbnailResult> TakeResults();
  // Empties the queue and joins the worker. Results made so far stay for TakeResults. Add works
  // again afterwards (a new worker starts).
  void Stop();

  size_t Pending() const;
  bool WorkerRunning() const;
  // Workers this queue started and those that have ended.
  int WorkersStarted() const { return started_; }
  int WorkersEnded() const { return ended_; }
  // The same over every queue of the process, also those already destroyed.
  static int AllWorkersStarted() { return allStarted_; }
  static int AllWorkersEnded() { return allEnded_; }

 private:
  void Run();
  void StartWorkerIfIdle();
  bool IsQueuedLocked(uint64_t rowId) const;

  Maker maker_;
  Notify notify_;
  mutable platform::Lock lock_;
  std::vector<ThumbnailJob> jobs_;           // guarded by lock_
  std::vector<ThumbnailResult> results_;     // guarded by lock_
  uint64_t inProgress_ = 0;                  // guarded by lock_; 0: none
  bool stopping_ = false;                    // guarded by lock_
  bool running_ = false;                     // guarded by lock_: a worker is in its loop
  platform::Thread worker_;                  // user-interface thread only
  std::atomic<int> started_{0};
  std::atomic<int> ended_{0};
  static std::atomic<int> allStarted_;
  static std::atomic<int> allEnded_;
};

}  // namespace qv

#include "pages/ThumbnailQueue.h"

#include <algorithm>
#include <utility>

namespace qv {

std::atomic<int> ThumbnailQueue::allStarted_{0};
std::atomic<int> ThumbnailQueue::allEnded_{0};

ThumbnailQueue::ThumbnailQueue(Maker maker, Notify notify)
    : maker_(std::move(maker)), notify_(std::move(notify)) {}

ThumbnailQueue::~ThumbnailQueue() { Stop(); }

bool ThumbnailQueue::IsQueuedLocked(uint64_t rowId) const {
  if (inProgress_ == rowId) return true;
  for (const ThumbnailJob& job : jobs_)
    if (job.rowId == rowId) return true;
  return false;
}

bool ThumbnailQueue::Add(ThumbnailJob job) {
  {
    platform::LockHold hold(lock_);
    if (job.rowId == 0 || IsQueuedLocked(job.rowId)) return false;
    jobs_.push_back(std::move(job));
  }
  StartWorkerIfIdle();
  return true;
}

void ThumbnailQueue::StartWorkerIfIdle() {
  {
    platform::LockHold hold(lock_);
    if (running_) return;
    running_ = true;
  }
  // The previous worker has left its loop (running_ was false): joining it is immediate.
  worker_.Join();
  if (!worker_.Start([this] { Run(); })) {
    platform::LockHold hold(lock_);
    running_ = false;
    return;
  }
  ++started_;
  ++allStarted_;
}

void ThumbnailQueue::RemoveIf(const std::function<bool(const ThumbnailJob&)>& drop) {
  platform::LockHold hold(lock_);
  jobs_.erase(std::remove_if(jobs_.begin(), jobs_.end(), drop), jobs_.end());
}

std::vector<ThumbnailResult> ThumbnailQueue::TakeResults() {
  platform::LockHold hold(lock_);
  std::vector<ThumbnailResult> taken;
  taken.swap(results_);
  return taken;
}

void ThumbnailQueue::Stop() {
  {
    platform::LockHold hold(lock_);
    jobs_.clear();
    stopping_ = true;
  }
  worker_.Join();
  platform::LockHold hold(lock_);
  stopping_ = false;
}

size_t ThumbnailQueue::Pending() const {
  platform::LockHold hold(lock_);
  return jobs_.size() + (inProgress_ ? 1 : 0);
}

bool ThumbnailQueue::WorkerRunning() const {
  platform::LockHold hold(lock_);
  return running_;
}

void ThumbnailQueue::Run() {
  for (;;) {
    ThumbnailJob job;
    {
      platform::LockHold hold(lock_);
      // The worker ends with the queue; the next Add starts another.
      if (stopping_ || jobs_.empty()) {
        running_ = false;
        break;
      }
      job = std::move(jobs_.front());
      jobs_.erase(jobs_.begin());
      inProgress_ = job.rowId;
    }
    ThumbnailResult result;
    try {
      result = maker_(job);
    } catch (...) {
      result = ThumbnailResult();
    }
    result.rowId = job.rowId;
    {
      platform::LockHold hold(lock_);
      results_.push_back(result);
      inProgress_ = 0;
    }
    notify_();
  }
  ++ended_;
  ++allEnded_;
}

}  // namespace qv

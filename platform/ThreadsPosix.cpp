#include "platform/Threads.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "platform/Log.h"

namespace platform {

struct Thread::State {
  std::thread thread;
  std::shared_ptr<std::atomic<bool>> ended;
};

Thread::Thread() : state_(new State) {}

Thread::~Thread() { Join(); }

bool Thread::Start(std::function<void()> body) {
  if (state_->thread.joinable()) {
    QV_LOG_MSG("thread already started");
    return false;
  }
  auto ended = std::make_shared<std::atomic<bool>>(false);
  try {
    state_->thread = std::thread([body = std::move(body), ended] {
      try {
        body();
      } catch (...) {
        QV_LOG_MSG("thread body threw");
      }
      *ended = true;
    });
  } catch (const std::system_error&) {
    QV_LOG_MSG("Unable to create thread");
    return false;
  }
  state_->ended = std::move(ended);
  return true;
}

void Thread::Join() {
  if (state_->thread.joinable()) state_->thread.join();
  state_->ended.reset();
}

bool Thread::Joinable() const { return state_->thread.joinable(); }

bool Thread::Running() const { return state_->ended && !*state_->ended; }

struct Lock::State {
  std::mutex mutex;
};

Lock::Lock() : state_(new State) {}
Lock::~Lock() = default;
void Lock::Enter() { state_->mutex.lock(); }
void Lock::Leave() { state_->mutex.unlock(); }

struct Event::State {
  std::mutex mutex;
  std::condition_variable changed;
  bool set = false;
  bool manualReset = true;
};

Event::Event(bool manualReset) : state_(new State) { state_->manualReset = manualReset; }
Event::~Event() = default;

void Event::Set() {
  {
    std::lock_guard<std::mutex> hold(state_->mutex);
    state_->set = true;
  }
  if (state_->manualReset)
    state_->changed.notify_all();
  else
    state_->changed.notify_one();
}

void Event::Reset() {
  std::lock_guard<std::mutex> hold(state_->mutex);
  state_->set = false;
}

bool Event::Wait(unsigned milliseconds) {
  std::unique_lock<std::mutex> hold(state_->mutex);
  auto isSet = [this] { return state_->set; };
  bool ok = milliseconds == kWaitForever
                ? (state_->changed.wait(hold, isSet), true)
                : state_->changed.wait_for(hold, std::chrono::milliseconds(milliseconds), isSet);
  if (ok && !state_->manualReset) state_->set = false;
  return ok;
}

void* Event::NativeHandle() const { return nullptr; }

}  // namespace platform

#include "core/mainwindow/Watch.h"

#include <memory>

#include "platform/Log.h"
#include "platform/PrivateMessages.h"

namespace qv {
namespace {

// What one worker owns: its folders, the shared stop event (kept open by the watcher until the
// worker has ended) and the receiver.
struct WorkerJob {
  std::vector<std::string> folders;
  HANDLE stopEvent;
  HWND receiver;
};

void CloseNotifications(std::vector<HANDLE>& handles) {
  for (std::size_t i = 1; i < handles.size(); ++i) {
    if (handles[i] != INVALID_HANDLE_VALUE) FindCloseChangeNotification(handles[i]);
    handles[i] = INVALID_HANDLE_VALUE;
  }
}

void WorkerMain(std::unique_ptr<WorkerJob> job) {
  const std::size_t n = job->folders.size();
  std::vector<HANDLE> handles(2 * n + 1, INVALID_HANDLE_VALUE);
  handles[0] = job->stopEvent;
  for (;;) {
    for (std::size_t j = 0; j < n; ++j) {
      const char* folder = job->folders[j].c_str();
      handles[2 * j + 1] = FindFirstChangeNotificationA(
          folder, TRUE, FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE);
      handles[2 * j + 2] = FindFirstChangeNotificationA(folder, TRUE, FILE_NOTIFY_CHANGE_DIR_NAME);
      if (handles[2 * j + 1] == INVALID_HANDLE_VALUE ||
          handles[2 * j + 2] == INVALID_HANDLE_VALUE) {
        // An invalid handle would not fail the wait (it names the current process), so the
        // worker ends here instead of waiting on folders it can no longer see.
        QV_LOG_MSG(folder);
        CloseNotifications(handles);
        return;
      }
    }
    DWORD result = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(),
                                          FALSE, INFINITE);
    if (result == WAIT_FAILED || result < WAIT_OBJECT_0 ||
        result - WAIT_OBJECT_0 >= handles.size()) {
      if (result == WAIT_FAILED) QV_LOG();
      break;
    }
    WatchSlot slot = DecodeWatchSlot(result - WAIT_OBJECT_0);
    if (slot.stop) break;
    if (slot.folder >= n) {
      QV_LOG();
    } else {
      PostMessageA(job->receiver, QV_MSG_FOLDER_CHANGED, static_cast<WPARAM>(slot.kind), 0);
    }
    CloseNotifications(handles);
  }
  CloseNotifications(handles);
}

}  // namespace

Watch::~Watch() { Reset(); }

int Watch::AddFolder(const std::string& path) {
  if (path.empty() || path.size() >= MAX_PATH) {
    QV_LOG();
    return -1;
  }
  std::string lower = path;
  CharLowerBuffA(&lower[0], static_cast<DWORD>(lower.size()));
  bool wasRunning = running_;
  if (wasRunning) Stop();
  folders_.Insert(lower);
  if (wasRunning) Start();
  return 0;
}

void Watch::Start() {
  if (running_) return;
  if (stopEvent_) {
    stopEvent_->Reset();
  } else {
    stopEvent_.reset(new platform::Event(true));  // logs "Unable to create event" itself
    if (!stopEvent_->NativeHandle()) {
      stopEvent_.reset();
      return;
    }
  }
  HANDLE stop = static_cast<HANDLE>(stopEvent_->NativeHandle());
  for (auto& group : folders_.Groups()) {
    // The job is a copy for the worker alone; a shared pointer only because std::function copies.
    auto job = std::make_shared<std::unique_ptr<WorkerJob>>(
        new WorkerJob{std::move(group), stop, receiver_});
    workers_.emplace_back(new platform::Thread);
    if (!workers_.back()->Start([job] { WorkerMain(std::move(*job)); })) {  // logged
      workers_.pop_back();
      running_ = !workers_.empty();
      Stop();
      return;
    }
  }
  running_ = true;
}

void Watch::Stop() {
  if (!running_ || !stopEvent_) {
    running_ = false;
    return;
  }
  stopEvent_->Set();
  // The workers only close their notifications once released; waiting for them keeps the stop
  // event and the folders from changing under a worker that is still creating its handles.
  for (auto& worker : workers_) worker->Join();
  workers_.clear();
  running_ = false;
}

void Watch::Reset() {
  Stop();
  stopEvent_.reset();
  folders_.Clear();
}

int Watch::LiveWorkers() const {
  int live = 0;
  for (const auto& worker : workers_)
    if (worker->Running()) ++live;
  return live;
}

}  // namespace qv

#include "core/mainwindow/Watch.h"

#include <process.h>

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

unsigned __stdcall WorkerMain(void* parameter) {
  std::unique_ptr<WorkerJob> job(static_cast<WorkerJob*>(parameter));
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
        return 1;
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
  return 0;
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
    ResetEvent(stopEvent_.Get());
  } else {
    stopEvent_.Reset(CreateEventA(nullptr, TRUE, FALSE, nullptr));
    if (!stopEvent_) {
      QV_LOG_MSG("Unable to create event");
      return;
    }
  }
  for (auto& group : folders_.Groups()) {
    auto* job = new WorkerJob{std::move(group), stopEvent_.Get(), receiver_};
    unsigned id = 0;
    uintptr_t thread = _beginthreadex(nullptr, 0, &WorkerMain, job, 0, &id);
    if (thread == 0) {
      delete job;
      QV_LOG_MSG("Unable to create thread");
      running_ = !workers_.empty();
      Stop();
      return;
    }
    workers_.emplace_back(reinterpret_cast<HANDLE>(thread));
  }
  running_ = true;
}

void Watch::Stop() {
  if (!running_ || !stopEvent_) {
    running_ = false;
    return;
  }
  SetEvent(stopEvent_.Get());
  // The workers only close their notifications once released; waiting for them keeps the stop
  // event and the folders from changing under a worker that is still creating its handles.
  for (auto& worker : workers_) {
    if (WaitForSingleObject(worker.Get(), 10000) != WAIT_OBJECT_0) QV_LOG();
  }
  workers_.clear();
  running_ = false;
}

void Watch::Reset() {
  Stop();
  stopEvent_.Reset();
  folders_.Clear();
}

int Watch::LiveWorkers() const {
  int live = 0;
  for (const auto& worker : workers_)
    if (WaitForSingleObject(worker.Get(), 0) == WAIT_TIMEOUT) ++live;
  return live;
}

}  // namespace qv

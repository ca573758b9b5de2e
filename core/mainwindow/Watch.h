// The folder watcher: the folders of the wallpaper and browser toolbar skin lists, watched by a
// worker thread that waits on change notifications and posts message 1225 (word parameter 1 for
// a file change, 0 for a folder change) to the receiver for each change it sees.
//
// Used from the user-interface thread only. The workers read nothing but their own copy of the
// folders; more than 31 folders are served by one worker per 31 folders, since one wait takes at
// most 64 handles. A folder that cannot be watched (missing, inaccessible, deleted) ends its
// worker at once: its folders are not watched again until the next reset and start.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "core/mainwindow/WatchFolders.h"
#include "platform/Threads.h"

namespace qv {

class Watch {
 public:
  Watch() = default;
  ~Watch();
  Watch(const Watch&) = delete;
  Watch& operator=(const Watch&) = delete;

  void SetReceiver(HWND receiver) { receiver_ = receiver; }
  // Lower-cases path and inserts it in sorted position, once. A running watcher is stopped for
  // the insertion and started again. 0, or -1 (logged) for an empty or over-long path.
  int AddFolder(const std::string& path);
  // Starts the workers unless running; failures are logged ("Unable to create event",
  // "Unable to create thread") and leave the watcher idle. Without folders no worker runs, yet the
  // watcher counts as running, so that a folder added later starts one.
  void Start();
  // Releases the workers and waits for them to end, so that the folders may change afterwards.
  void Stop();
  // Stop, then the stop event closed and every folder removed.
  void Reset();
  // From a successful start until stop, even when a worker has ended on a folder it lost.
  bool IsRunning() const { return running_; }

  const std::vector<std::string>& Folders() const { return folders_.Folders(); }
  // Workers whose thread has not ended yet.
  int LiveWorkers() const;

 private:
  WatchFolders folders_;
  std::unique_ptr<platform::Event> stopEvent_;  // manual reset; made on the first start, kept until reset
  std::vector<std::unique_ptr<platform::Thread>> workers_;
  HWND receiver_ = nullptr;  // not owned
  bool running_ = false;
};

}  // namespace qv

// The program's threads and their one lock and event, over the system's own calls: a worker
// thread that is joined on stop, a lock with a scoped hold, and an event.
//
// The Windows build uses the compiler's win32 thread model, which has no std::thread or
// std::mutex; these holders take their place on both sides of the seam (Win32: _beginthreadex, a
// critical section and a kernel event; POSIX: the standard library).
#pragma once

#include <functional>
#include <memory>

namespace platform {

// One worker thread. The body is the worker's whole job: it owns copies of what it needs and
// hands results back by posting, never by touching the owner's objects. Join waits for it; the
// destructor joins, so that no worker outlives its owner.
class Thread {
 public:
  Thread();
  ~Thread();  // Join
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;

  // Starts body on a new thread. False (and logged) when the system refused the thread, or
  // when a thread is already held: Join it first.
  bool Start(std::function<void()> body);
  // Waits for the thread to end and lets it go; at once when none is held.
  void Join();
  // True between a successful Start and the Join.
  bool Joinable() const;
  // True when a held thread has not ended yet.
  bool Running() const;

  struct State;  // the system side

 private:
  std::unique_ptr<State> state_;
};

// A lock for data that two threads share. Not recursive use; hold it briefly.
class Lock {
 public:
  Lock();
  ~Lock();
  Lock(const Lock&) = delete;
  Lock& operator=(const Lock&) = delete;

  void Enter();
  void Leave();

  struct State;

 private:
  std::unique_ptr<State> state_;
};

// Holds a lock for one scope.
class LockHold {
 public:
  explicit LockHold(Lock& lock) : lock_(lock) { lock_.Enter(); }
  ~LockHold() { lock_.Leave(); }
  LockHold(const LockHold&) = delete;
  LockHold& operator=(const LockHold&) = delete;

 private:
  Lock& lock_;
};

// An event that one thread sets and another waits for. A manual-reset event stays set until
// Reset; an automatic one lets exactly one wait through and clears itself.
class Event {
 public:
  explicit Event(bool manualReset = true);
  ~Event();
  Event(const Event&) = delete;
  Event& operator=(const Event&) = delete;

  void Set();
  void Reset();
  // True when the event was (or became) set within milliseconds; kWaitForever waits on.
  bool Wait(unsigned milliseconds);
  static constexpr unsigned kWaitForever = 0xFFFFFFFFu;

  // The system's handle of the event (a HANDLE on Windows, for WaitForMultipleObjects);
  // nullptr on POSIX. Owned by the event.
  void* NativeHandle() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace platform

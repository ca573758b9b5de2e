#include "platform/Threads.h"

#include <windows.h>
#include <process.h>

#include <utility>

#include "platform/Log.h"

namespace platform {

struct Thread::State {
  HANDLE handle = nullptr;
};

namespace {

// The body travels to the thread on the heap; the thread owns it from its first line.
unsigned __stdcall ThreadMain(void* parameter) {
  std::unique_ptr<std::function<void()>> body(static_cast<std::function<void()>*>(parameter));
  try {
    (*body)();
  } catch (...) {
    QV_LOG_MSG("thread body threw");
  }
  return 0;
}

}  // namespace

Thread::Thread() : state_(new State) {}

Thread::~Thread() { Join(); }

bool Thread::Start(std::function<void()> body) {
  if (state_->handle) {
    QV_LOG_MSG("thread already started");
    return false;
  }
  auto* owned = new std::function<void()>(std::move(body));
  // _beginthreadex, not CreateThread: the C runtime sets up and frees its own per-thread data.
  uintptr_t handle = _beginthreadex(nullptr, 0, &ThreadMain, owned, 0, nullptr);
  if (handle == 0) {
    delete owned;
    QV_LOG_MSG("Unable to create thread");
    return false;
  }
  state_->handle = reinterpret_cast<HANDLE>(handle);
  return true;
}

void Thread::Join() {
  if (!state_->handle) return;
  if (WaitForSingleObject(state_->handle, INFINITE) != WAIT_OBJECT_0) QV_LOG();
  CloseHandle(state_->handle);
  state_->handle = nullptr;
}

bool Thread::Joinable() const { return state_->handle != nullptr; }

bool Thread::Running() const {
  return state_->handle && WaitForSingleObject(state_->handle, 0) == WAIT_TIMEOUT;
}

struct Lock::State {
  CRITICAL_SECTION section;
};

Lock::Lock() : state_(new State) { InitializeCriticalSection(&state_->section); }
Lock::~Lock() { DeleteCriticalSection(&state_->section); }
void Lock::Enter() { EnterCriticalSection(&state_->section); }
void Lock::Leave() { LeaveCriticalSection(&state_->section); }

struct Event::State {
  HANDLE handle = nullptr;
};

Event::Event(bool manualReset) : state_(new State) {
  state_->handle = CreateEventA(nullptr, manualReset ? TRUE : FALSE, FALSE, nullptr);
  if (!state_->handle) QV_LOG_MSG("Unable to create event");
}

Event::~Event() {
  if (state_->handle) CloseHandle(state_->handle);
}

void Event::Set() {
  if (state_->handle) SetEvent(state_->handle);
}

void Event::Reset() {
  if (state_->handle) ResetEvent(state_->handle);
}

bool Event::Wait(unsigned milliseconds) {
  return state_->handle && WaitForSingleObject(state_->handle, milliseconds) == WAIT_OBJECT_0;
}

void* Event::NativeHandle() const { return state_->handle; }

}  // namespace platform

// googletest's own injection point, used by the Windows build only. The compiler's win32 thread
// model (the one the shipped program is built with) has no std::mutex or std::condition_variable,
// which googletest's Notification is written with; this one waits on a kernel event instead.
#ifndef QV_GTEST_CUSTOM_PORT_H_
#define QV_GTEST_CUSTOM_PORT_H_

#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing {
namespace internal {

// Lets a controller thread hold new threads at their start until it notifies them.
class Notification {
 public:
  Notification() : event_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~Notification() { CloseHandle(event_); }
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace internal
}  // namespace testing

#endif  // QV_GTEST_CUSTOM_PORT_H_

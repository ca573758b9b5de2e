// The loopback server of the net tests (started by loopback-server.py around the test program)
// and a window that collects what the checking threads post.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "net/UpdateCheck.h"

namespace qvtest {

// "http://127.0.0.1:PORT" of the server around this test, "" when there is none.
std::string TestServer();
// How many requests the server has seen for a case ("" for all cases); -1 when it cannot say.
int ServedRequests(const std::string& kase);
// A probe host that never resolves, and whose name no resolver can even put into a query, so
// that the probe never leaves the machine.
std::string UnresolvableHost();

// A job whose addresses are the server's case kase and whose probe resolves locally.
qv::CheckJob LoopbackJob(const std::string& kase, HWND window);

struct Posted {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  std::string text;  // the owned text of 2034 / 2035, taken
};

// A message-only window on the creating thread that keeps what the checks post to it.
class CheckReceiver {
 public:
  CheckReceiver();
  ~CheckReceiver();
  HWND Handle() const { return window_; }
  // Pumps this thread's messages for ms and returns what arrived since the last call.
  std::vector<Posted> Pump(DWORD ms);

 private:
  HWND window_ = nullptr;
};

}  // namespace qvtest

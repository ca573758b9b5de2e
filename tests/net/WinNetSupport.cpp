#include "tests/net/WinNetSupport.h"

#include <wininet.h>

#include "core/mainwindow/MainWindowRes.h"
#include "platform/PostedText.h"
#include "platform/PrivateMessages.h"

namespace qvtest {
namespace {

std::vector<Posted>& Arrived() {
  static std::vector<Posted> arrived;
  return arrived;
}

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == QV_MSG_SITE_LIST || message == QV_MSG_NEW_VERSION) {
    Arrived().push_back({message, wParam, lParam, platform::TakePostedText(lParam)});
    return 0;
  }
  if (message == QV_MSG_CHECK_RETRY) {
    Arrived().push_back({message, wParam, lParam, std::string()});
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

std::string TestServer() {
  char value[256];
  DWORD n = GetEnvironmentVariableA("QV_TEST_SERVER", value, sizeof value);
  return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

// Asked with WinINet directly, so that the count does not depend on the code under test.
int ServedRequests(const std::string& kase) {
  HINTERNET root = InternetOpenA("QuorvexTest", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
  if (!root) return -1;
  std::string url = TestServer() + "/__count/" + kase;
  HINTERNET request = InternetOpenUrlA(root, url.c_str(), nullptr, 0,
                                       INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE, 0);
  int count = -1;
  if (request) {
    char text[32] = {};
    DWORD read = 0;
    if (InternetReadFile(request, text, sizeof text - 1, &read) && read > 0) count = atoi(text);
    InternetCloseHandle(request);
  }
  InternetCloseHandle(root);
  return count;
}

std::string UnresolvableHost() { return std::string(70, 'q') + ".invalid"; }

qv::CheckJob LoopbackJob(const std::string& kase, HWND window) {
  qv::CheckJob job;
  job.window = window;
  job.addresses = qv::MakeWebAddresses((TestServer() + "/" + kase).c_str(), "127.0.0.1");
  return job;
}

CheckReceiver::CheckReceiver() {
  WNDCLASSA wc{};
  wc.lpfnWndProc = &ReceiverProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "QvCheckReceiver";
  RegisterClassA(&wc);
  window_ = CreateWindowA("QvCheckReceiver", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                          wc.hInstance, nullptr);
  Arrived().clear();
}

CheckReceiver::~CheckReceiver() {
  Pump(0);
  DestroyWindow(window_);
}

std::vector<Posted> CheckReceiver::Pump(DWORD ms) {
  DWORD start = GetTickCount();
  MSG msg;
  do {
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    if (ms) Sleep(10);
  } while (GetTickCount() - start < ms);
  std::vector<Posted> arrived;
  arrived.swap(Arrived());
  return arrived;
}

}  // namespace qvtest

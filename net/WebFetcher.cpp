#include "net/WebFetcher.h"

#include <winsock2.h>
#include <wininet.h>

#include "net/BodyReader.h"
#include "platform/Log.h"
#include "platform/Platform.h"
#include "platform/SystemFunctions.h"

namespace qv {
namespace {

// The entry points, looked up by name: the program links neither library.
using WsaStartupFn = int(WINAPI*)(WORD, LPWSADATA);
using WsaCleanupFn = int(WINAPI*)();
using GetHostByNameFn = hostent*(WINAPI*)(const char*);
using InternetOpenFn = HINTERNET(WINAPI*)(LPCSTR, DWORD, LPCSTR, LPCSTR, DWORD);
using InternetOpenUrlFn = HINTERNET(WINAPI*)(HINTERNET, LPCSTR, LPCSTR, DWORD, DWORD, DWORD_PTR);
using HttpQueryInfoFn = BOOL(WINAPI*)(HINTERNET, DWORD, LPVOID, LPDWORD, LPDWORD);
using InternetReadFileFn = BOOL(WINAPI*)(HINTERNET, LPVOID, DWORD, LPDWORD);
using InternetCloseHandleFn = BOOL(WINAPI*)(HINTERNET);

constexpr char kUserAgent[] = "QuorvexBrowser";

// The libraries come from the system folder and stay loaded once the first check needed them.
template <typename Fn>
Fn Entry(platform::SystemFunction which) {
  return platform::LoadSystemFunction<Fn>(which);
}

}  // namespace

WebFetcher::WebFetcher(std::string probeHost, std::size_t maxBody)
    : probeHost_(std::move(probeHost)), maxBody_(maxBody) {
  LoadSockets();
  LoadInternet();
}

void WebFetcher::LoadSockets() {
  // Name resolution fails with "not initialised" until the library has been started.
  auto startup = Entry<WsaStartupFn>(platform::SystemFunction::kWSAStartup);
  WSADATA data;
  socketsStarted_ = startup && startup(MAKEWORD(1, 1), &data) == 0;
}

void WebFetcher::LoadInternet() {
  auto open = Entry<InternetOpenFn>(platform::SystemFunction::kInternetOpenA);
  if (open) root_ = open(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

WebFetcher::~WebFetcher() {
  auto close = Entry<InternetCloseHandleFn>(platform::SystemFunction::kInternetCloseHandle);
  if (root_ && close) close(static_cast<HINTERNET>(root_));
  auto cleanup = Entry<WsaCleanupFn>(platform::SystemFunction::kWSACleanup);
  if (socketsStarted_ && cleanup) cleanup();
}

bool WebFetcher::IsOnline() {
  if (online_ >= 0) return online_ == 1;
  auto resolve = Entry<GetHostByNameFn>(platform::SystemFunction::kGetHostByName);
  online_ = socketsStarted_ && resolve && resolve(probeHost_.c_str()) != nullptr ? 1 : 0;
  return online_ == 1;
}

std::string WebFetcher::FetchText(const std::string& url) {
  auto openUrl = Entry<InternetOpenUrlFn>(platform::SystemFunction::kInternetOpenUrlA);
  auto close = Entry<InternetCloseHandleFn>(platform::SystemFunction::kInternetCloseHandle);
  if (!root_ || !openUrl || !close || !IsOnline()) return std::string();
  HINTERNET request = openUrl(static_cast<HINTERNET>(root_), url.c_str(), nullptr, 0, 0, 0);
  if (!request) return std::string();
  std::string text = ReadResponse(request);
  close(request);
  return text;
}

std::string WebFetcher::ReadResponse(void* request) {
  auto query = Entry<HttpQueryInfoFn>(platform::SystemFunction::kHttpQueryInfoA);
  auto read = Entry<InternetReadFileFn>(platform::SystemFunction::kInternetReadFile);
  if (!query || !read) return std::string();
  char lengthText[32] = {};
  DWORD size = sizeof lengthText - 1;
  if (!query(static_cast<HINTERNET>(request), HTTP_QUERY_CONTENT_LENGTH, lengthText, &size,
             nullptr))
    return std::string();
  std::size_t length = 0;
  if (!ParseContentLength(lengthText, maxBody_, &length)) {
    QV_LOG_MSG(lengthText);
    return std::string();
  }
  return ReadBody(length, [&](char* buffer, std::size_t room, std::size_t* got) {
    DWORD n = 0;
    BOOL ok = read(static_cast<HINTERNET>(request), buffer, static_cast<DWORD>(room), &n);
    *got = n;
    return ok != FALSE;
  });
}

}  // namespace qv

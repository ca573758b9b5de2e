#include "net/WebFetcher.h"

#include <winsock2.h>
#include <wininet.h>

#include "net/BodyReader.h"
#include "platform/Log.h"
#include "platform/Platform.h"

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

template <typename Fn>
Fn Entry(const ScopedLibrary& library, const char* name) {
  if (!library) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(library.Get(), name)));
}

// From the system folder only, so that a copy planted beside the program or in the current
// folder is never taken for the system's.
HMODULE LoadSystemLibrary(const char* name) {
  std::string path = platform::SystemFolder();
  if (path.empty()) return nullptr;
  return LoadLibraryA((path + "\\" + name).c_str());
}

}  // namespace

WebFetcher::WebFetcher(std::string probeHost, std::size_t maxBody)
    : probeHost_(std::move(probeHost)), maxBody_(maxBody) {
  LoadSockets();
  LoadInternet();
}

void WebFetcher::LoadSockets() {
  sockets_.Reset(LoadSystemLibrary("ws2_32.dll"));
  // Name resolution fails with "not initialised" until the library has been started.
  auto startup = Entry<WsaStartupFn>(sockets_, "WSAStartup");
  WSADATA data;
  socketsStarted_ = startup && startup(MAKEWORD(1, 1), &data) == 0;
}

void WebFetcher::LoadInternet() {
  internet_.Reset(LoadSystemLibrary("wininet.dll"));
  auto open = Entry<InternetOpenFn>(internet_, "InternetOpenA");
  if (open) root_ = open(kUserAgent, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
}

WebFetcher::~WebFetcher() {
  auto close = Entry<InternetCloseHandleFn>(internet_, "InternetCloseHandle");
  if (root_ && close) close(static_cast<HINTERNET>(root_));
  auto cleanup = Entry<WsaCleanupFn>(sockets_, "WSACleanup");
  if (socketsStarted_ && cleanup) cleanup();
}

bool WebFetcher::IsOnline() {
  if (online_ >= 0) return online_ == 1;
  auto resolve = Entry<GetHostByNameFn>(sockets_, "gethostbyname");
  online_ = socketsStarted_ && resolve && resolve(probeHost_.c_str()) != nullptr ? 1 : 0;
  return online_ == 1;
}

std::string WebFetcher::FetchText(const std::string& url) {
  auto openUrl = Entry<InternetOpenUrlFn>(internet_, "InternetOpenUrlA");
  auto close = Entry<InternetCloseHandleFn>(internet_, "InternetCloseHandle");
  if (!root_ || !openUrl || !close || !IsOnline()) return std::string();
  HINTERNET request = openUrl(static_cast<HINTERNET>(root_), url.c_str(), nullptr, 0, 0, 0);
  if (!request) return std::string();
  std::string text = ReadResponse(request);
  close(request);
  return text;
}

std::string WebFetcher::ReadResponse(void* request) {
  auto query = Entry<HttpQueryInfoFn>(internet_, "HttpQueryInfoA");
  auto read = Entry<InternetReadFileFn>(internet_, "InternetReadFile");
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

// The program's one door to the Internet. It loads the socket and Internet libraries of the
// system at run time, so that the program starts and runs where they are missing, and then only
// gives empty texts. One fetcher lives on the stack of one checking thread, start to end.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

#include "net/UpdateRules.h"
#include "platform/Handles.h"

namespace qv {

class WebFetcher {
 public:
  // Loads "ws2_32.dll" and "wininet.dll" from the system folder (either may fail) and opens the
  // root Internet handle with the user agent "QuorvexBrowser". probeHost is the name whose
  // resolution tells that the network is there. Resolves nothing yet.
  explicit WebFetcher(std::string probeHost, std::size_t maxBody = kMaxBodyBytes);
  ~WebFetcher();
  WebFetcher(const WebFetcher&) = delete;
  WebFetcher& operator=(const WebFetcher&) = delete;

  // True when the socket library is there and the probe host's name resolves.
  bool IsOnline();
  // The body of url up to its first zero byte, or "" when any step fails, the server announces
  // no usable content length, or more than the fetcher's cap.
  std::string FetchText(const std::string& url);

 private:
  void LoadSockets();
  void LoadInternet();
  std::string ReadResponse(void* request);

  std::string probeHost_;
  std::size_t maxBody_;
  bool socketsStarted_ = false;
  int online_ = -1;  // -1 not asked yet, then 0 / 1
  void* root_ = nullptr;  // HINTERNET, closed at destruction
};

}  // namespace qv

#include "net/WebLinks.h"

#include <shellapi.h>

#include "platform/Log.h"

namespace qv {
namespace {

bool ShellExecuteOpen(HWND owner, const char* verb, const char* url, int show) {
  HINSTANCE result = ShellExecuteA(owner, verb, url, nullptr, nullptr, show);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

ShellOpen g_open = &ShellExecuteOpen;

std::string EnvironmentValue(const char* name) {
  char value[1100];
  DWORD n = GetEnvironmentVariableA(name, value, sizeof value);
  return n > 0 && n < sizeof value ? std::string(value, n) : std::string();
}

}  // namespace

WebAddresses ProgramWebAddresses() {
  return MakeWebAddresses(EnvironmentValue(kWebBaseVariable).c_str(),
                          EnvironmentValue(kProbeHostVariable).c_str());
}

bool OpenWebPage(HWND owner, const std::string& url) {
  if (url.empty()) return false;
  if (g_open(owner, "open", url.c_str(), SW_SHOWMAXIMIZED)) return true;
  QV_LOG_MSG(url.c_str());
  return false;
}

bool OpenHomePage(HWND owner) { return OpenWebPage(owner, ProgramWebAddresses().HomePage()); }
bool OpenDownloadPage(HWND owner) {
  return OpenWebPage(owner, ProgramWebAddresses().DownloadPage());
}
bool OpenLanguagePackPage(HWND owner) {
  return OpenWebPage(owner, ProgramWebAddresses().LanguagePackPage());
}
bool OpenFeedbackPage(HWND owner) {
  return OpenWebPage(owner, ProgramWebAddresses().FeedbackPage());
}

ShellOpen SetShellOpen(ShellOpen open) {
  ShellOpen previous = g_open;
  g_open = open ? open : &ShellExecuteOpen;
  return previous;
}

}  // namespace qv

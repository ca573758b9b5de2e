#include "net/WebAddresses.h"

#include <cstring>

#include "platform/Log.h"

namespace qv {

const char kDefaultWebBase[] = "http://www.quorvex.com";
const char kDefaultProbeHost[] = "www.microsoft.com";
const char kWebBaseVariable[] = "QUORVEX_WEB_BASE";
const char kProbeHostVariable[] = "QUORVEX_PROBE_HOST";

namespace {

constexpr std::size_t kMaxAddress = 1024;

bool StartsWith(const std::string& text, const char* prefix) {
  return text.compare(0, std::strlen(prefix), prefix) == 0;
}

bool UsableBase(const std::string& base) {
  if (base.size() > kMaxAddress) return false;
  std::size_t hostAt = StartsWith(base, "http://") ? 7 : StartsWith(base, "https://") ? 8 : 0;
  if (hostAt == 0 || hostAt >= base.size() || base[hostAt] == '/') return false;
  for (char c : base)
    if (static_cast<unsigned char>(c) <= ' ' || c == '#' || c == '?') return false;
  return true;
}

// Host names only: no scheme, port, path or blanks, which the resolver would not take anyway.
bool UsableHost(const std::string& host) {
  if (host.empty() || host.size() > 255) return false;
  for (char c : host) {
    bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
              c == '-' || c == '.' || c == '_';
    if (!ok) return false;
  }
  return true;
}

}  // namespace

WebAddresses MakeWebAddresses(const char* baseOverride, const char* probeOverride) {
  WebAddresses addresses;
  if (baseOverride && *baseOverride) {
    std::string base = baseOverride;
    while (!base.empty() && base.back() == '/') base.pop_back();
    if (UsableBase(base))
      addresses.base = base;
    else
      QV_LOG_MSG(kWebBaseVariable);
  }
  if (probeOverride && *probeOverride) {
    if (UsableHost(probeOverride))
      addresses.probeHost = probeOverride;
    else
      QV_LOG_MSG(kProbeHostVariable);
  }
  return addresses;
}

}  // namespace qv

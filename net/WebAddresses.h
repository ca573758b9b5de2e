// The web addresses of the program: the maker's server and web site share one base address
// ("http://www.quorvex.com"); the connectivity probe resolves one well-known host name. Both can
// be pointed elsewhere without rebuilding (a mirror, a test server) through the environment
// variables QUORVEX_WEB_BASE and QUORVEX_PROBE_HOST; unset or unusable values keep the built-in
// ones.
#pragma once

#include <string>

namespace qv {

extern const char kDefaultWebBase[];
extern const char kDefaultProbeHost[];
extern const char kWebBaseVariable[];    // "QUORVEX_WEB_BASE"
extern const char kProbeHostVariable[];  // "QUORVEX_PROBE_HOST"

struct WebAddresses {
  std::string base = kDefaultWebBase;  // no "/" at the end
  std::string probeHost = kDefaultProbeHost;

  // The base followed by path (which starts with "/").
  std::string At(const char* path) const { return base + path; }
  std::string VersionFile() const { return At("/quorvex/version.txt"); }
  std::string WhatsNewFile() const { return At("/quorvex/whatsnew.txt"); }
  std::string SiteListFile() const { return At("/tk/wpsitelist.txt"); }
  std::string HomePage() const { return At("/"); }
  std::string DownloadPage() const { return At("/download.html#quorvex"); }
  std::string LanguagePackPage() const { return At("/qv_localization.htm"); }
  std::string FeedbackPage() const { return At("/feedback.html"); }
};

// The addresses with the given overrides (nullptr or "" for none). A base is taken only when it
// starts with "http://" or "https://" and names a host; a probe host only when it is a plain host
// name. A refused value is logged and the built-in one kept.
WebAddresses MakeWebAddresses(const char* baseOverride, const char* probeOverride);

}  // namespace qv

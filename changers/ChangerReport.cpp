#include "changers/ChangerReport.h"

#include "platform/Log.h"

namespace qv {
namespace {

int LogOnly(const char* key, const std::string& path, unsigned) {
  QV_LOG_MSG((std::string("not shown (no user report): ") + key + " " + path).c_str());
  return -1;
}

ChangerReportFn g_report = &LogOnly;

}  // namespace

ChangerReportFn SetChangerReport(ChangerReportFn report) {
  ChangerReportFn previous = g_report;
  g_report = report ? report : &LogOnly;
  return previous;
}

int ReportToUser(const char* key, const std::string& path, unsigned style) {
  return g_report(key, path, style);
}

}  // namespace qv

#include "platform/Log.h"

#include <cstdio>
#include <cstring>

#include "platform/Platform.h"

namespace qv {
namespace {

LogSink g_sink = nullptr;

void Emit(const char* formatted) {
  // The buffer holds at most kLogBufferSize - 1 characters; the line end follows it.
  char line[kLogBufferSize + 2];
  std::size_t n = std::strlen(formatted);
  std::memcpy(line, formatted, n);
  std::memcpy(line + n, "\r\n", 3);
  if (g_sink)
    g_sink(line);
  else
    platform::DebugOutput(line);
}

}  // namespace

void LogError(const char* file, int line) {
  char buffer[kLogBufferSize];
  std::snprintf(buffer, sizeof buffer, "error filename: %s  line: %d", file ? file : "", line);
  Emit(buffer);
}

void LogError(const char* file, int line, const char* message) {
  char buffer[kLogBufferSize];
  std::snprintf(buffer, sizeof buffer, "error filename: %s  line: %d ; error msg: %s", file ? file : "",
                line, message ? message : "");
  Emit(buffer);
}

void LogText(const char* text) {
  char buffer[kLogBufferSize];
  std::snprintf(buffer, sizeof buffer, "%s", text ? text : "");
  Emit(buffer);
}

LogSink SetLogSink(LogSink sink) {
  LogSink previous = g_sink;
  g_sink = sink;
  return previous;
}

const char* SourceName(const char* path) {
  const char* name = path;
  for (const char* p = path; *p; ++p)
    if (*p == '/' || *p == '\\') name = p + 1;
  return name;
}

}  // namespace qv

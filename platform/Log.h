// The one logging routine. Internal failures are written to the debug output only, in two fixed
// forms, after being formatted into a buffer of kLogBufferSize bytes (longer text is cut there).
#pragma once

#include <cstddef>

namespace qv {

constexpr std::size_t kLogBufferSize = 512;

// "error filename: <file>  line: <line>"
void LogError(const char* file, int line);
// "error filename: <file>  line: <line> ; error msg: <message>"
void LogError(const char* file, int line, const char* message);
// A bare text, such as "Different Version".
void LogText(const char* text);

// Receives every finished line, "\r\n" included. Tests install one to capture what is logged.
using LogSink = void (*)(const char* line);
// Installs sink (nullptr restores the debug output) and returns the previous one.
LogSink SetLogSink(LogSink sink);

// The file name part of a path as __FILE__ gives it ("core/app/Pivora.cpp" -> "Pivora.cpp").
const char* SourceName(const char* path);

}  // namespace qv

// The module's own source name and line, as every log line carries them.
#define QV_LOG() ::qv::LogError(::qv::SourceName(__FILE__), __LINE__)
#define QV_LOG_MSG(message) ::qv::LogError(::qv::SourceName(__FILE__), __LINE__, (message))

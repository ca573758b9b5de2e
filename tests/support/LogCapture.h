// Captures what the logging routine writes while an object of this class lives.
#pragma once

#include <string>
#include <vector>

#include "platform/Log.h"

namespace qvtest {

class LogCapture {
 public:
  LogCapture() : previous_(qv::SetLogSink(&LogCapture::Sink)) { Lines().clear(); }
  ~LogCapture() { qv::SetLogSink(previous_); }
  LogCapture(const LogCapture&) = delete;
  LogCapture& operator=(const LogCapture&) = delete;

  // Every line written so far, "\r\n" included.
  const std::vector<std::string>& lines() const { return Lines(); }

 private:
  static std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
  }
  static void Sink(const char* line) { Lines().push_back(line); }
  qv::LogSink previous_;
};

}  // namespace qvtest

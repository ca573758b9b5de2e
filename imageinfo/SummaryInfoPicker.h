// The header readers behind the width, height and depth columns of the picture lists. A reader
// looks only at the first bytes of a file and never decodes the picture.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace qv {

class ByteSource;

enum InfoProperty : int {
  kInfoWidth = 301,
  kInfoHeight = 302,
  kInfoDepth = 303,
};

class SummaryInfoPicker {
 public:
  enum State : std::int32_t {
    kNothingRead = 0,
    kReadStarted = 1,  // a read began and has not succeeded
    kReadDone = 2,     // the last read succeeded
  };

  SummaryInfoPicker(const SummaryInfoPicker&) = delete;
  SummaryInfoPicker& operator=(const SummaryInfoPicker&) = delete;

  // Virtual operations in their fixed order: destructor, Close, InitExtensions, ReadHeader,
  // GetProperty.
  virtual ~SummaryInfoPicker();
  virtual bool Close();
  // Replaces the extension list with the reader's own (lower case, without the dot).
  virtual bool InitExtensions() = 0;
  // Opens path read-only and reads its header; false when it can't be opened or is not one.
  virtual bool ReadHeader(const char* path);
  // Gives property id (kInfoWidth, kInfoHeight, kInfoDepth) of the last successful read.
  // Before one, a debug log line names the reader and the result is false.
  virtual bool GetProperty(int id, std::int32_t& value);

  // The same read from bytes already open (files, and buffers in the fuzzers and tests).
  // Sets the state to kReadStarted, clears what was kept, and kReadDone only on success.
  bool ReadHeaderFrom(ByteSource& source);

  // True when the text after the last "." of path, lower-cased, is one of the extensions.
  // A folder separator after that "." (or no "." at all) means the path has no extension.
  bool MatchExtension(const char* path) const;

  const std::vector<std::string>& extensions() const { return extensions_; }
  State state() const { return state_; }

 protected:
  // sourceName and line are where the reader's log lines say they come from (its own file).
  SummaryInfoPicker(const char* sourceName, int line) : logSource_(sourceName), logLine_(line) {}

  // The format's own part of ReadHeaderFrom; the stored header is already cleared.
  virtual void ClearHeader() = 0;
  virtual bool Parse(ByteSource& source) = 0;
  // One of the three properties of a successful read.
  virtual std::int32_t Property(InfoProperty id) const = 0;

  std::vector<std::string> extensions_;
  State state_ = kNothingRead;

 private:
  const char* logSource_;
  int logLine_;
};

}  // namespace qv

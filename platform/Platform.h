// The few operating-system services that the portable modules need. Everything else in the
// portable modules is plain C++; this header is their only door to the system.
//
// Paths are 8-bit text as the system's "A" calls take them. The POSIX side also accepts "\" as a
// folder separator, so that the portable code can build Windows-style paths in native tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// Writes one finished line (already ending in "\r\n") to the debugger's output: the system's
// debug output on Windows, standard error natively.
void DebugOutput(const char* text);

// Milliseconds since the system started; wraps after 49.7 days like GetTickCount.
uint32_t TickCount();

// The low 32 bits of the high-resolution performance counter.
uint32_t PerformanceCounterLow();

// The local date and time, as GetLocalTime gives it (month 1-12, day of week 0 = Sunday).
struct LocalTime {
  int year, month, day, hour, minute, second, dayOfWeek;
};
LocalTime Now();

// --- Folders and files -------------------------------------------------------------------------

// Receives one entry of a folder listing; returns false to end the listing early.
class FolderVisitor {
 public:
  virtual bool Visit(const char* name, bool isFolder) = 0;

 protected:
  ~FolderVisitor() = default;
};

// Lists the entries that match a search pattern of the form FindFirstFile takes (a folder, a
// separator, and a name pattern such as "*.*" or "*.scr"), in the order the file system returns
// them, "." and ".." included where the system reports them. Name patterns compare without regard
// to case; "*" and "*.*" match every name. False when the folder cannot be listed.
bool ListFolder(const std::string& pattern, FolderVisitor& visitor);

// True when the path names an existing folder.
bool IsFolder(const std::string& path);
// Creates one folder; true on success.
bool MakeFolder(const std::string& path);

// Reads a whole file into bytes; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Writes bytes as the new content of path without ever leaving a half-written file there: a
// complete new file is written beside it, flushed to disk, and then replaces the old one. On any
// failure the old file is left as it was and the new one is removed.
bool WriteFileReplacing(const std::string& path, const std::string& bytes);
bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size);

// The full path of the running program file.
std::string ProgramFilePath();
// The user's application-data folder, "" when the system names none (not created if missing).
std::string AppDataFolder();
// The Windows directory and the system directory; "" where there is none.
std::string WindowsFolder();
std::string SystemFolder();

// Text of 16-bit characters in the system's ANSI code page (characters it lacks become '?').
std::string WideToAnsi(const std::u16string& text);

// True while the system reports a running screen saver.
bool ScreenSaverRunning();

}  // namespace platform

namespace platform {

// --- Calendar ----------------------------------------------------------------------------------

// Seconds since 1970-01-01 00:00 UTC.
int64_t TimeNow();
// The local date and time of a time value.
LocalTime ToLocalTime(int64_t t);
// The time value of a local date and time (dayOfWeek is ignored); -1 when it has none.
int64_t FromLocalTime(const LocalTime& local);

}  // namespace platform

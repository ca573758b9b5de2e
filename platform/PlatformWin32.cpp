#include "platform/Platform.h"

#include <windows.h>
#include <shlobj.h>

#include <cstring>
#include <ctime>

#include "platform/SafeFile.h"
#include "platform/ShellFolders.h"

namespace platform {
namespace {

// Owns a kernel handle that CreateFile gave.
class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  operator HANDLE() const { return handle_; }
  bool Close() {
    if (!Valid()) return true;
    BOOL ok = CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
    return ok != FALSE;
  }

 private:
  HANDLE handle_;
};

// Owns a search handle of FindFirstFile.
class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;
  bool Valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  operator HANDLE() const { return handle_; }

 private:
  HANDLE handle_;
};

std::string FromBuffer(const char* buffer, UINT n, UINT size) {
  return n > 0 && n < size ? std::string(buffer, n) : std::string();
}

}  // namespace

void DebugOutput(const char* text) { OutputDebugStringA(text); }

uint32_t TickCount() { return GetTickCount(); }

uint32_t PerformanceCounterLow() {
  LARGE_INTEGER counter;
  if (!QueryPerformanceCounter(&counter)) return 0;
  return static_cast<uint32_t>(counter.LowPart);
}

LocalTime Now() {
  SYSTEMTIME st;
  GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, st.wDayOfWeek};
}

bool ListFolder(const std::string& pattern, FolderVisitor& visitor) {
  WIN32_FIND_DATAA data;
  FindHandle find(FindFirstFileA(pattern.c_str(), &data));
  if (!find.Valid()) {
    // A folder that exists but holds nothing matching is an empty listing, not a failure.
    return GetLastError() == ERROR_FILE_NOT_FOUND;
  }
  do {
    bool isFolder = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (!visitor.Visit(data.cFileName, isFolder)) break;
  } while (FindNextFileA(find, &data));
  return true;
}

bool IsFolder(const std::string& path) {
  DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool MakeFolder(const std::string& path) { return CreateDirectoryA(path.c_str(), nullptr) != FALSE; }

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  char buffer[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &n, nullptr)) return false;
    if (n == 0) return true;
    bytes.append(buffer, n);
  }
}

// A program reading the old file (a viewer, an indexer, the desktop loading its wallpaper) keeps
// it from being replaced while it has it open; the rename is tried again for a quarter of a
// second before the change counts as failed. A folder in the file's place is no such moment.
bool ReplaceWithRetries(const std::string& fresh, const std::string& path) {
  constexpr int kRetries = 10;
  constexpr DWORD kPauseMs = 25;
  for (int attempt = 0;; ++attempt) {
    if (MoveFileOver(fresh, path)) return true;
    const DWORD error = GetLastError();
    const DWORD target = GetFileAttributesA(path.c_str());
    const bool heldFile = (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) &&
                          target != INVALID_FILE_ATTRIBUTES && !(target & FILE_ATTRIBUTE_DIRECTORY);
    if (!heldFile || attempt == kRetries) return false;
    Sleep(kPauseMs);
  }
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
  return WriteFileReplacing(path, bytes.data(), bytes.size());
}

bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size) {
  const std::string fresh = path + ".new";
  // Exclusive access for the length of the write: nobody reads a file that is not complete.
  FileHandle file(CreateFileA(fresh.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.Valid()) return false;
  bool ok = true;
  const char* p = static_cast<const char*>(data);
  std::size_t left = size;
  while (ok && left > 0) {
    DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
    DWORD written = 0;
    ok = WriteFile(file, p, chunk, &written, nullptr) && written == chunk;
    p += written;
    left -= written;
  }
  ok = ok && FlushFileBuffers(file);
  ok = file.Close() && ok;
  ok = ok && ReplaceWithRetries(fresh, path);
  if (!ok) DeleteFileA(fresh.c_str());
  return ok;
}

std::string ProgramFilePath() {
  char buffer[MAX_PATH];
  DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  return FromBuffer(buffer, n, MAX_PATH);
}

std::string AppDataFolder() { return ShellFolderPath(CSIDL_APPDATA); }

std::string WindowsFolder() {
  char buffer[MAX_PATH];
  return FromBuffer(buffer, GetWindowsDirectoryA(buffer, MAX_PATH), MAX_PATH);
}

std::string SystemFolder() {
  char buffer[MAX_PATH];
  return FromBuffer(buffer, GetSystemDirectoryA(buffer, MAX_PATH), MAX_PATH);
}

std::string WideToAnsi(const std::u16string& text) {
  if (text.empty()) return std::string();
  const wchar_t* wide = reinterpret_cast<const wchar_t*>(text.data());
  int length = static_cast<int>(text.size());
  int n = WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, &out[0], n, nullptr, nullptr);
  return out;
}

bool ScreenSaverRunning() {
  BOOL running = FALSE;
  if (!SystemParametersInfoA(SPI_GETSCREENSAVERRUNNING, 0, &running, 0)) return false;
  return running != FALSE;
}

int64_t TimeNow() { return static_cast<int64_t>(std::time(nullptr)); }

LocalTime ToLocalTime(int64_t t) {
  std::time_t value = static_cast<std::time_t>(t);
  // The runtime's localtime keeps its result per thread.
  const std::tm* tm = std::localtime(&value);
  if (!tm) return LocalTime{1970, 1, 1, 0, 0, 0, 4};
  return LocalTime{tm->tm_year + 1900, tm->tm_mon + 1, tm->tm_mday, tm->tm_hour,
                   tm->tm_min, tm->tm_sec, tm->tm_wday};
}

int64_t FromLocalTime(const LocalTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;
  return static_cast<int64_t>(std::mktime(&tm));
}

}  // namespace platform

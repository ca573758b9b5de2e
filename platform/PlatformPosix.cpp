#include "platform/Platform.h"

#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/SafeFile.h"

namespace platform {
namespace {

std::string ToPosixSeparators(std::string path) {
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

bool MatchesEverything(const std::string& namePattern) {
  return namePattern == "*" || namePattern == "*.*";
}

bool WriteAll(int fd, const char* p, std::size_t left) {
  while (left > 0) {
    ssize_t n = write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

void DebugOutput(const char* text) { std::fputs(text, stderr); }

uint32_t TickCount() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000u + ts.tv_nsec / 1000000u);
}

uint32_t PerformanceCounterLow() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<uint32_t>(static_cast<uint64_t>(ts.tv_sec) * 1000000000u + ts.tv_nsec);
}

LocalTime Now() {
  std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                   tm.tm_min, tm.tm_sec, tm.tm_wday};
}

bool ListFolder(const std::string& pattern, FolderVisitor& visitor) {
  std::string path = ToPosixSeparators(pattern);
  std::string::size_type slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
  std::string namePattern = slash == std::string::npos ? path : path.substr(slash + 1);
  if (folder.empty()) folder = "/";
  bool all = MatchesEverything(namePattern);

  DIR* dir = opendir(folder.c_str());
  if (!dir) return false;
  bool keepGoing = true;
  while (keepGoing) {
    errno = 0;
    dirent* entry = readdir(dir);
    if (!entry) break;
    if (!all && fnmatch(namePattern.c_str(), entry->d_name, FNM_CASEFOLD) != 0) continue;
    bool isFolder = entry->d_type == DT_DIR;
    if (entry->d_type == DT_UNKNOWN || entry->d_type == DT_LNK) {
      struct stat st {};
      isFolder = fstatat(dirfd(dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode);
    }
    keepGoing = visitor.Visit(entry->d_name, isFolder);
  }
  closedir(dir);
  return true;
}

bool IsFolder(const std::string& path) {
  struct stat st {};
  return !path.empty() && stat(ToPosixSeparators(path).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool MakeFolder(const std::string& path) {
  return !path.empty() && mkdir(ToPosixSeparators(path).c_str(), 0777) == 0;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  int fd = open(ToPosixSeparators(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  char buffer[65536];
  bool ok = true;
  for (;;) {
    ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ok = false;
    if (n <= 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  close(fd);
  return ok;
}

bool WriteFileReplacing(const std::string& path, const std::string& bytes) {
  return WriteFileReplacing(path, bytes.data(), bytes.size());
}

bool WriteFileReplacing(const std::string& path, const void* data, std::size_t size) {
  const std::string target = ToPosixSeparators(path);
  const std::string fresh = target + ".new";
  int fd = open(fresh.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, static_cast<const char*>(data), size) && fsync(fd) == 0;
  ok = close(fd) == 0 && ok;
  if (ok) ok = MoveFileOver(fresh, target);
  if (!ok) unlink(fresh.c_str());
  return ok;
}

std::string ProgramFilePath() {
  char buffer[4096];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer);
  return n > 0 ? std::string(buffer, static_cast<std::size_t>(n)) : std::string();
}

// A native build has no application-data, Windows or system folder of the Windows kind.
std::string AppDataFolder() { return std::string(); }
std::string WindowsFolder() { return std::string(); }
std::string SystemFolder() { return std::string(); }

std::string WideToAnsi(const std::u16string& text) {
  // Natively the code page is taken as Latin-1 without its control range.
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text)
    out += (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) ? static_cast<char>(c) : '?';
  return out;
}

bool ScreenSaverRunning() { return false; }

int64_t TimeNow() { return static_cast<int64_t>(std::time(nullptr)); }

LocalTime ToLocalTime(int64_t t) {
  std::time_t value = static_cast<std::time_t>(t);
  std::tm tm{};
  localtime_r(&value, &tm);
  return LocalTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour,
                   tm.tm_min, tm.tm_sec, tm.tm_wday};
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

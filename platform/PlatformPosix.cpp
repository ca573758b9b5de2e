#include "platform/Platform.h"

#include <dirent.h>
#include <sys/stat.h>

#include <cstdio>
#include <ctime>

namespace platform {

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

bool FindFiles(const std::string& folder, const char* pattern, std::vector<std::string>* names) {
  DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return false;
  while (dirent* entry = readdir(dir)) {
    if (!MatchesFilePattern(entry->d_name, pattern)) continue;
    struct stat info {};
    if (stat(JoinPath(folder, entry->d_name).c_str(), &info) != 0 || S_ISDIR(info.st_mode)) continue;
    names->push_back(entry->d_name);
  }
  closedir(dir);
  return true;
}

}  // namespace platform

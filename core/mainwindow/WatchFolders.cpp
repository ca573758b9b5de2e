#include "core/mainwindow/WatchFolders.h"

#include <algorithm>

namespace qv {

bool WatchFolders::Insert(const std::string& path) {
  auto at = std::lower_bound(folders_.begin(), folders_.end(), path);
  if (at != folders_.end() && *at == path) return false;
  folders_.insert(at, path);
  return true;
}

std::vector<std::vector<std::string>> WatchFolders::Groups(std::size_t perWait) const {
  if (perWait == 0) perWait = 1;
  std::vector<std::vector<std::string>> groups;
  for (std::size_t first = 0; first < folders_.size(); first += perWait) {
    std::size_t last = std::min(folders_.size(), first + perWait);
    groups.emplace_back(folders_.begin() + first, folders_.begin() + last);
  }
  return groups;
}

WatchSlot DecodeWatchSlot(std::size_t index) {
  if (index == 0) return WatchSlot{true, 0, 0};
  if (index % 2 == 1) return WatchSlot{false, (index - 1) / 2, 1};
  return WatchSlot{false, (index - 2) / 2, 0};
}

}  // namespace qv

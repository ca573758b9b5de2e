// The folder set of the folder watcher: sorted by plain byte comparison, without duplicates, and
// cut into the groups that one wait can serve (a wait takes at most 64 handles: the stop event and
// two notifications per folder, so 31 folders).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace qv {

constexpr std::size_t kFoldersPerWait = 31;

class WatchFolders {
 public:
  // Inserts path (already lower-cased by the caller) in sorted position; false when present.
  bool Insert(const std::string& path);
  void Clear() { folders_.clear(); }
  const std::vector<std::string>& Folders() const { return folders_; }
  std::size_t Size() const { return folders_.size(); }

  // The folders cut into consecutive groups of at most perWait; none for no folders: a worker
  // waiting on its stop event alone would hold a thread (about 1 MB under Wine) for nothing.
  std::vector<std::vector<std::string>> Groups(std::size_t perWait = kFoldersPerWait) const;

 private:
  std::vector<std::string> folders_;
};

// The notice that slot index of a wait over 2 x n + 1 handles stands for: slot 0 is the stop
// event; slot 2j + 1 is a file change in folder j, slot 2j + 2 a folder change in folder j.
struct WatchSlot {
  bool stop;
  std::size_t folder;  // meaningful when !stop
  int kind;            // 1 file change, 0 folder change
};
WatchSlot DecodeWatchSlot(std::size_t index);

}  // namespace qv

// The renames that replace a file where the system cannot move over one, and the recovery of a
// file whose replacement was cut off between them. The same on both systems: only the one-step
// move (MoveInOneStep) is the system's own.
#include "platform/FileReplacement.h"

#include "platform/SafeFile.h"

namespace platform {
namespace {

bool g_renaming = false;

constexpr char kNewSuffix[] = ".qvnew";
constexpr char kOldSuffix[] = ".qvbak";

// The old file steps aside under ".qvbak", the new one takes its name, and the old one goes
// (unless keepOld). Each step leaves a state that RecoverReplacedFile can mend.
bool RenameThrough(const std::string& fresh, const std::string& path, bool keepOld) {
  const std::string old = path + kOldSuffix;
  const bool hadOld = FileExists(path);
  if (hadOld && (!RemoveFile(old) || !RenameFile(path, old))) return false;
  if (!RenameFile(fresh, path)) {
    if (hadOld) RenameFile(old, path);
    return false;
  }
  if (hadOld && !keepOld) RemoveFile(old);
  return true;
}

}  // namespace

void SetReplaceByRenaming(bool on) { g_renaming = on; }
bool ReplaceByRenaming() { return g_renaming; }

bool MoveFileOver(const std::string& fresh, const std::string& path, bool keepOld) {
  if (!g_renaming) {
    switch (MoveInOneStep(fresh, path)) {
      case MoveResult::kMoved: return true;
      case MoveResult::kFailed: return false;
      case MoveResult::kNotSupported: break;  // 95, 98 and Me export the call but fail it
    }
  }
  return RenameThrough(fresh, path, keepOld);
}

bool RecoverReplacedFile(const std::string& path) {
  if (FileExists(path)) return true;
  const std::string fresh = path + kNewSuffix;
  const std::string old = path + kOldSuffix;
  if (FileExists(fresh)) {
    // With the old one renamed away the new one was complete: it was flushed before that.
    if (!RenameFile(fresh, path)) return false;
    RemoveFile(old);
    return true;
  }
  return !FileExists(old) || RenameFile(old, path);
}

}  // namespace platform

// Files that the machine or the user cannot lose (boot.ini): the new content is written completely
// beside the old file and flushed, the old content is kept as a backup, and only then does the
// new file take the old one's place, so a full disk, a crash or a write error half way never
// leaves a missing or half-written file.
#pragma once

#include <string>

namespace platform {

// The Win32 attribute bits, on every system. POSIX keeps only read-only (as the write bits).
enum FileAttribute : unsigned {
  kAttrNormal = 0x80,
  kAttrReadOnly = 0x01,
  kAttrHidden = 0x02,
  kAttrSystem = 0x04,
  kAttrArchive = 0x20,
};

// Replaces the content of path with bytes. The new file is first written as path + ".qvnew"
// and flushed; an existing file's content is then copied to backupPath (when not empty); then
// the new file is moved over path with write-through. On failure path keeps its old content,
// the ".qvnew" file is removed and the result is false.
bool ReplaceFileContent(const std::string& path, const std::string& bytes,
                        const std::string& backupPath);

// Sets the attributes of an existing file (kAttrNormal alone clears them). False when the file
// is missing or the attributes can't be set.
bool SetFileAttributeBits(const std::string& path, unsigned attributes);

// The attributes of an existing file; false when it is missing.
bool GetFileAttributeBits(const std::string& path, unsigned* attributes);

}  // namespace platform

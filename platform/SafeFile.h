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

// --- How a complete new file takes the old one's place ----------------------------------------
//
// Windows NT moves the new file over the old one in one step, with write-through. Windows 95, 98
// and Me cannot (MoveFileEx fails there): the old file is renamed to path + ".qvbak", the new one
// is renamed into place, and then the old one is deleted. A crash between those renames leaves
// the file only under one of those names; RecoverReplacedFile, called before the file is read,
// puts it back.

// Chooses the renames (on for 95, 98 and Me; set once at start-up, and by tests). Off, the
// renames are still taken where the system reports that it cannot move over a file.
void SetReplaceByRenaming(bool on);
bool ReplaceByRenaming();

// Puts the complete file fresh in the place of path, which may be missing. With keepOld the old
// content stays as path + ".qvbak" when the renames leave it there anyway. False when it could
// not; path then has its old content (or is missing, as before) and fresh is left.
bool MoveFileOver(const std::string& fresh, const std::string& path, bool keepOld = false);

// When path is missing but a replacement was cut off between its renames, puts the right file
// back: the complete new one (path + ".qvnew", complete once the old was renamed away) or else the
// old one (path + ".qvbak"); a lone ".qvnew" (a first write) is taken too, and whoever reads it
// checks it as any file. False when a file was there to put back and could not be.
bool RecoverReplacedFile(const std::string& path);

// The file operations under the above, on both systems.
bool FileExists(const std::string& path);
// Renames a file; fails when to exists.
bool RenameFile(const std::string& from, const std::string& to);
// Deletes a file, a read-only one too; true when no file is left at path.
bool RemoveFile(const std::string& path);

// Sets the attributes of an existing file (kAttrNormal alone clears them). False when the file
// is missing or the attributes can't be set.
bool SetFileAttributeBits(const std::string& path, unsigned attributes);

// The attributes of an existing file; false when it is missing.
bool GetFileAttributeBits(const std::string& path, unsigned* attributes);

}  // namespace platform

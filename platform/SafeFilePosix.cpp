#include "platform/SafeFile.h"

#include <cerrno>
#include <cstdio>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/FileReplacement.h"

namespace platform {
namespace {

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// Writes bytes as the whole of a new file at path, flushed to the disk.
bool WriteNewFile(const std::string& path, const char* data, std::size_t size) {
  int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) return false;
  bool ok = WriteAll(fd, data, size) && ::fsync(fd) == 0;
  ok = ::close(fd) == 0 && ok;
  if (!ok) ::unlink(path.c_str());
  return ok;
}

bool CopyToBackup(const std::string& from, const std::string& to) {
  int in = ::open(from.c_str(), O_RDONLY);
  if (in < 0) return errno == ENOENT;  // nothing to keep
  std::string content;
  char buffer[16384];
  ssize_t n;
  while ((n = ::read(in, buffer, sizeof buffer)) > 0) content.append(buffer, static_cast<std::size_t>(n));
  ::close(in);
  if (n < 0) return false;
  ::chmod(to.c_str(), 0644);  // an earlier read-only backup must not block the copy
  return WriteNewFile(to, content.data(), content.size());
}

}  // namespace

bool ReplaceFileContent(const std::string& path, const std::string& bytes,
                        const std::string& backupPath) {
  std::string fresh = path + ".qvnew";
  if (!WriteNewFile(fresh, bytes.data(), bytes.size())) return false;
  // Renaming leaves the old content under the backup's own name: no copy is needed then.
  const bool renamedIsBackup = backupPath == path + ".qvbak";
  const bool copy = !backupPath.empty() && !(renamedIsBackup && ReplaceByRenaming());
  if ((copy && !CopyToBackup(path, backupPath)) || !MoveFileOver(fresh, path, renamedIsBackup)) {
    ::unlink(fresh.c_str());
    return false;
  }
  return true;
}

MoveResult MoveInOneStep(const std::string& fresh, const std::string& path) {
  return std::rename(fresh.c_str(), path.c_str()) == 0 ? MoveResult::kMoved : MoveResult::kFailed;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool RenameFile(const std::string& from, const std::string& to) {
  struct stat st {};
  if (::lstat(to.c_str(), &st) == 0) {
    errno = EEXIST;
    return false;
  }
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

bool SetFileAttributeBits(const std::string& path, unsigned attributes) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  mode_t mode = (attributes & kAttrReadOnly) ? (st.st_mode & ~mode_t(0222)) : (st.st_mode | 0200);
  return ::chmod(path.c_str(), mode & 07777) == 0;
}

bool GetFileAttributeBits(const std::string& path, unsigned* attributes) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return false;
  *attributes = (st.st_mode & 0200) ? kAttrNormal : kAttrReadOnly;
  return true;
}

}  // namespace platform

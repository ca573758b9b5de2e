#include "platform/SafeFile.h"

#include <windows.h>

#include "platform/FileReplacement.h"

namespace platform {
namespace {

class FileHandle {
 public:
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return h_; }
  bool Close() {
    if (h_ == INVALID_HANDLE_VALUE) return true;
    BOOL ok = CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
    return ok != FALSE;
  }

 private:
  HANDLE h_;
};

bool WriteNewFile(const std::string& path, const std::string& bytes) {
  FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  const char* data = bytes.data();
  std::size_t left = bytes.size();
  bool ok = true;
  while (ok && left > 0) {
    DWORD chunk = left > 0x100000 ? 0x100000 : static_cast<DWORD>(left);
    DWORD written = 0;
    ok = WriteFile(file.get(), data, chunk, &written, nullptr) && written == chunk;
    data += written;
    left -= written;
  }
  ok = ok && FlushFileBuffers(file.get());
  ok = file.Close() && ok;
  if (!ok) DeleteFileA(path.c_str());
  return ok;
}

}  // namespace

bool ReplaceFileContent(const std::string& path, const std::string& bytes,
                        const std::string& backupPath) {
  std::string fresh = path + ".qvnew";
  if (!WriteNewFile(fresh, bytes)) return false;
  // Renaming leaves the old content under the backup's own name: no copy is needed then.
  const bool renamedIsBackup = backupPath == path + ".qvbak";
  bool ok = true;
  if (!backupPath.empty() && FileExists(path) && !(renamedIsBackup && ReplaceByRenaming())) {
    // An earlier backup may carry read-only; it is ours to replace.
    if (GetFileAttributesA(backupPath.c_str()) != INVALID_FILE_ATTRIBUTES)
      SetFileAttributesA(backupPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    ok = CopyFileA(path.c_str(), backupPath.c_str(), FALSE) != FALSE;
  }
  ok = ok && MoveFileOver(fresh, path, renamedIsBackup);
  if (!ok) DeleteFileA(fresh.c_str());
  return ok;
}

MoveResult MoveInOneStep(const std::string& fresh, const std::string& path) {
  if (MoveFileExA(fresh.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return MoveResult::kMoved;
  return GetLastError() == ERROR_CALL_NOT_IMPLEMENTED ? MoveResult::kNotSupported
                                                      : MoveResult::kFailed;
}

bool FileExists(const std::string& path) {
  DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool RenameFile(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

bool RemoveFile(const std::string& path) {
  if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return true;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  return DeleteFileA(path.c_str()) != FALSE;
}

bool SetFileAttributeBits(const std::string& path, unsigned attributes) {
  return SetFileAttributesA(path.c_str(), attributes) != FALSE;
}

bool GetFileAttributeBits(const std::string& path, unsigned* attributes) {
  DWORD a = GetFileAttributesA(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES) return false;
  *attributes = a;
  return true;
}

}  // namespace platform

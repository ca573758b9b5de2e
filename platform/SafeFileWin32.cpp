#include "platform/SafeFile.h"

#include <windows.h>

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
  bool ok = true;
  if (!backupPath.empty() && GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES) {
    // An earlier backup may carry read-only; it is ours to replace.
    if (GetFileAttributesA(backupPath.c_str()) != INVALID_FILE_ATTRIBUTES)
      SetFileAttributesA(backupPath.c_str(), FILE_ATTRIBUTE_NORMAL);
    ok = CopyFileA(path.c_str(), backupPath.c_str(), FALSE) != FALSE;
  }
  ok = ok && MoveFileExA(fresh.c_str(), path.c_str(),
                         MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
  if (!ok) DeleteFileA(fresh.c_str());
  return ok;
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

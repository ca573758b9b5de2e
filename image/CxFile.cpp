#include "image/CxFile.h"

#include <cstdlib>
#include <cstring>

CxFile::CxFile() {}
CxFile::~CxFile() {}
bool CxFile::PutC(unsigned char c) { return Write(&c, 1, 1) == 1; }

FILE* CxIOFile::GetStream() const { return fp_; }
uint32_t CxMemFile::Capacity() const { return capacity_; }

CxIOFile::CxIOFile(FILE* fp) : fp_(fp), closeFile_(false) {}

CxIOFile::~CxIOFile() {
  if (closeFile_) Close();
}

bool CxIOFile::Open(const char* filename, const char* mode) {
  if (fp_ || !filename || !mode) return false;
  fp_ = std::fopen(filename, mode);
  if (!fp_) return false;
  closeFile_ = true;
  return true;
}

bool CxIOFile::Close() {
  if (!fp_) return false;
  int result = 0;
  if (closeFile_) result = std::fclose(fp_);
  fp_ = nullptr;
  closeFile_ = false;
  return result == 0;
}

size_t CxIOFile::Read(void* buffer, size_t size, size_t count) {
  if (!fp_ || !buffer) return 0;
  return std::fread(buffer, size, count, fp_);
}

size_t CxIOFile::Write(const void* buffer, size_t size, size_t count) {
  if (!fp_ || !buffer) return 0;
  return std::fwrite(buffer, size, count, fp_);
}

bool CxIOFile::Seek(long offset, int origin) {
  if (!fp_) return false;
  return std::fseek(fp_, offset, origin) == 0;
}

long CxIOFile::Tell() { return fp_ ? std::ftell(fp_) : -1; }

long CxIOFile::Size() {
  if (!fp_) return -1;
  long position = std::ftell(fp_);
  if (position < 0 || std::fseek(fp_, 0, SEEK_END) != 0) return -1;
  long size = std::ftell(fp_);
  std::fseek(fp_, position, SEEK_SET);
  return size;
}

bool CxIOFile::Flush() { return fp_ && std::fflush(fp_) == 0; }
bool CxIOFile::Eof() { return !fp_ || std::feof(fp_) != 0; }
long CxIOFile::Error() { return fp_ ? std::ferror(fp_) : -1; }
bool CxIOFile::PutC(unsigned char c) { return fp_ && std::fputc(c, fp_) != EOF; }

long CxIOFile::GetC() {
  if (!fp_) return -1;
  int c = std::getc(fp_);
  return c == EOF ? -1 : c;
}

namespace {
constexpr uint32_t kGrowth = 4096;
}

CxMemFile::CxMemFile(uint8_t* buffer, uint32_t size)
    : buffer_(buffer), size_(buffer ? size : 0), capacity_(buffer ? size : 0), position_(0),
      ownBuffer_(buffer == nullptr), error_(false) {}

CxMemFile::~CxMemFile() { Free(); }

bool CxMemFile::Open() {
  if (buffer_) return false;
  position_ = size_ = capacity_ = 0;
  ownBuffer_ = true;
  error_ = false;
  return Alloc(1);
}

uint8_t* CxMemFile::GetBuffer(bool detach) {
  uint8_t* data = buffer_;
  if (detach && ownBuffer_) {
    // The caller owns the data now; this file forgets it.
    buffer_ = nullptr;
    size_ = capacity_ = position_ = 0;
  }
  return data;
}

bool CxMemFile::Close() {
  Free();
  return true;
}

size_t CxMemFile::Read(void* buffer, size_t size, size_t count) {
  if (!buffer || !buffer_ || size == 0 || position_ >= size_) return 0;
  size_t available = (size_ - position_) / size;
  if (count > available) count = available;
  std::memcpy(buffer, buffer_ + position_, count * size);
  position_ += static_cast<uint32_t>(count * size);
  return count;
}

size_t CxMemFile::Write(const void* buffer, size_t size, size_t count) {
  if (!buffer || size == 0 || count == 0) return 0;
  uint64_t bytes = static_cast<uint64_t>(size) * count;
  uint64_t end = position_ + bytes;
  if (end > 0x7FFFFFFFu || !Alloc(static_cast<uint32_t>(end))) {
    error_ = true;
    return 0;
  }
  std::memcpy(buffer_ + position_, buffer, static_cast<size_t>(bytes));
  position_ = static_cast<uint32_t>(end);
  if (position_ > size_) size_ = position_;
  return count;
}

bool CxMemFile::Seek(long offset, int origin) {
  int64_t base = origin == SEEK_SET ? 0 : origin == SEEK_CUR ? position_ : origin == SEEK_END ? size_ : -1;
  if (base < 0) return false;
  int64_t target = base + offset;
  if (target < 0 || target > 0x7FFFFFFF) return false;
  // Seeking past the end is allowed; the gap reads as zeros once something is written there.
  if (target > size_) {
    if (!Alloc(static_cast<uint32_t>(target))) return false;
    std::memset(buffer_ + size_, 0, static_cast<size_t>(target - size_));
    size_ = static_cast<uint32_t>(target);
  }
  position_ = static_cast<uint32_t>(target);
  return true;
}

long CxMemFile::Tell() { return static_cast<long>(position_); }
long CxMemFile::Size() { return static_cast<long>(size_); }
bool CxMemFile::Flush() { return buffer_ != nullptr; }
bool CxMemFile::Eof() { return position_ >= size_; }
long CxMemFile::Error() { return error_ ? 1 : 0; }
bool CxMemFile::PutC(unsigned char c) { return Write(&c, 1, 1) == 1; }

long CxMemFile::GetC() {
  if (!buffer_ || position_ >= size_) return -1;
  return buffer_[position_++];
}

bool CxMemFile::Alloc(uint32_t bytes) {
  if (bytes <= capacity_ && buffer_) return true;
  // A borrowed buffer has a fixed size.
  if (!ownBuffer_) return false;
  uint64_t wanted = (static_cast<uint64_t>(bytes) + kGrowth - 1) / kGrowth * kGrowth;
  if (wanted == 0) wanted = kGrowth;
  if (wanted > 0x7FFFFFFFu) return false;
  void* grown = std::realloc(buffer_, static_cast<size_t>(wanted));
  if (!grown) return false;
  buffer_ = static_cast<uint8_t*>(grown);
  capacity_ = static_cast<uint32_t>(wanted);
  return true;
}

void CxMemFile::Free() {
  if (ownBuffer_ && buffer_) std::free(buffer_);
  buffer_ = nullptr;
  size_ = capacity_ = position_ = 0;
  ownBuffer_ = true;
}

#include "imageinfo/ByteSource.h"

#include <cstring>

#include "platform/ByteReader.h"

namespace qv {

bool ByteSource::ReadU8(std::uint8_t& value) { return Read(&value, 1) == 1; }

bool ByteSource::ReadU16BE(std::uint16_t& value) {
  std::uint8_t bytes[2];
  if (Read(bytes, 2) != 2) return false;
  value = platform::LoadBE16(bytes);
  return true;
}

FileByteSource::FileByteSource(const char* path) : file_(path ? std::fopen(path, "rb") : nullptr) {}

FileByteSource::~FileByteSource() {
  if (file_) std::fclose(file_);
}

std::size_t FileByteSource::Read(void* out, std::size_t count) {
  if (!file_ || count == 0) return 0;
  return std::fread(out, 1, count, file_);
}

bool FileByteSource::Skip(std::uint32_t count) {
  if (!file_) return false;
  // Segment lengths are 16-bit, so the step always fits a long.
  return std::fseek(file_, static_cast<long>(count), SEEK_CUR) == 0;
}

std::size_t MemoryByteSource::Read(void* out, std::size_t count) {
  if (position_ >= size_) return 0;
  std::size_t n = size_ - position_ < count ? size_ - position_ : count;
  if (n) std::memcpy(out, data_ + position_, n);
  position_ += n;
  return n;
}

bool MemoryByteSource::Skip(std::uint32_t count) {
  // Past the end is allowed, as for a file; the position stops at the end (never beyond it).
  position_ = count >= size_ - position_ ? size_ : position_ + count;
  return true;
}

}  // namespace qv

#include "imageinfo/ByteSource.h"

#include <cstring>

namespace qv {

bool ByteSource::ReadU8(std::uint8_t& value) { return Read(&value, 1) == 1; }

bool ByteSource::ReadU16BE(std::uint16_t& value) {
  std::uint8_t bytes[2];
  if (Read(bytes, 2) != 2) return false;
  value = static_cast<std::uint16_t>((bytes[0] << 8) | bytes[1]);
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

bool ByteView::Fits(std::size_t offset, std::size_t count) {
  if (offset <= size_ && count <= size_ - offset) return true;
  failed_ = true;
  return false;
}

std::uint8_t ByteView::U8(std::size_t offset) { return Fits(offset, 1) ? data_[offset] : 0; }

std::uint16_t ByteView::U16LE(std::size_t offset) {
  if (!Fits(offset, 2)) return 0;
  return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
}

std::int32_t ByteView::I32LE(std::size_t offset) {
  if (!Fits(offset, 4)) return 0;
  std::uint32_t v = static_cast<std::uint32_t>(data_[offset]) |
                    (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
                    (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
                    (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
  return static_cast<std::int32_t>(v);
}

}  // namespace qv

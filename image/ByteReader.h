// A bounds-checked reader over a byte buffer: every getter past the end returns zero and sets
// the failed flag, so parsers check once after a group of reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace qv {
namespace image {

class ByteReader {
 public:
  ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

  bool failed() const { return failed_; }
  size_t position() const { return pos_; }
  size_t size() const { return size_; }
  size_t remaining() const { return pos_ < size_ ? size_ - pos_ : 0; }
  const uint8_t* data() const { return data_; }
  const uint8_t* current() const { return data_ + (pos_ < size_ ? pos_ : size_); }

  bool Seek(size_t position) {
    if (position > size_) return Fail();
    pos_ = position;
    return true;
  }
  bool Skip(size_t count) {
    if (count > remaining()) {
      pos_ = size_;
      return Fail();
    }
    pos_ += count;
    return true;
  }
  uint8_t U8() {
    if (pos_ >= size_) {
      Fail();
      return 0;
    }
    return data_[pos_++];
  }
  uint16_t U16LE() {
    uint16_t a = U8();
    return static_cast<uint16_t>(a | (U8() << 8));
  }
  uint16_t U16BE() {
    uint16_t a = U8();
    return static_cast<uint16_t>((a << 8) | U8());
  }
  uint32_t U32LE() {
    uint32_t a = U16LE();
    return a | (static_cast<uint32_t>(U16LE()) << 16);
  }
  uint32_t U32BE() {
    uint32_t a = U16BE();
    return (a << 16) | U16BE();
  }
  int32_t I32LE() { return static_cast<int32_t>(U32LE()); }
  int16_t I16LE() { return static_cast<int16_t>(U16LE()); }
  // Copies count bytes; false (and zeros) when fewer remain.
  bool Bytes(void* out, size_t count) {
    if (count > remaining()) {
      std::memset(out, 0, count);
      pos_ = size_;
      return Fail();
    }
    std::memcpy(out, data_ + pos_, count);
    pos_ += count;
    return true;
  }

 private:
  bool Fail() {
    failed_ = true;
    return false;
  }
  const uint8_t* data_;
  size_t size_;
  size_t pos_ = 0;
  bool failed_ = false;
};

}  // namespace image
}  // namespace qv

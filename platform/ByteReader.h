// The one byte reader under every parser: little- and big-endian fields of a buffer it does not
// own, read in sequence or at an offset, never past the end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace platform {

// Fields at p, which the caller has checked to hold them (the hot loops of the coders).
inline uint16_t LoadLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
inline uint32_t LoadLE32(const uint8_t* p) {
  return static_cast<uint32_t>(LoadLE16(p)) | (static_cast<uint32_t>(LoadLE16(p + 2)) << 16);
}
inline uint16_t LoadBE16(const uint8_t* p) { return static_cast<uint16_t>((p[0] << 8) | p[1]); }
inline uint32_t LoadBE32(const uint8_t* p) {
  return (static_cast<uint32_t>(LoadBE16(p)) << 16) | LoadBE16(p + 2);
}

// Sequential getters past the end return zero and set the failed flag, so that a parser checks
// once after a group of reads. The getters at an offset are const: a field that does not lie
// wholly inside the buffer reads as zero (Has tells beforehand).
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
  // Moves over count bytes that are all there; otherwise moves to the end and fails. So a field
  // cut by the end is never half read.
  bool Skip(size_t count) {
    if (count > remaining()) {
      pos_ = size_;
      return Fail();
    }
    pos_ += count;
    return true;
  }
  uint8_t U8() { return Skip(1) ? data_[pos_ - 1] : 0; }
  uint16_t U16LE() { return Skip(2) ? LoadLE16(data_ + pos_ - 2) : 0; }
  uint16_t U16BE() { return Skip(2) ? LoadBE16(data_ + pos_ - 2) : 0; }
  uint32_t U32LE() { return Skip(4) ? LoadLE32(data_ + pos_ - 4) : 0; }
  uint32_t U32BE() { return Skip(4) ? LoadBE32(data_ + pos_ - 4) : 0; }
  int16_t I16LE() { return static_cast<int16_t>(U16LE()); }
  int32_t I32LE() { return static_cast<int32_t>(U32LE()); }
  // Copies count bytes; false (and zeros) when fewer remain.
  bool Bytes(void* out, size_t count) {
    const uint8_t* from = current();
    if (!Skip(count)) {
      std::memset(out, 0, count);
      return false;
    }
    std::memcpy(out, from, count);
    return true;
  }

  bool Has(size_t at, size_t count) const { return at <= size_ && size_ - at >= count; }
  const uint8_t* At(size_t at) const { return data_ + (at < size_ ? at : size_); }
  uint8_t U8At(size_t at) const { return Has(at, 1) ? data_[at] : 0; }
  uint16_t U16LEAt(size_t at) const { return Has(at, 2) ? LoadLE16(data_ + at) : 0; }
  uint32_t U32LEAt(size_t at) const { return Has(at, 4) ? LoadLE32(data_ + at) : 0; }
  int16_t I16LEAt(size_t at) const { return static_cast<int16_t>(U16LEAt(at)); }
  int32_t I32LEAt(size_t at) const { return static_cast<int32_t>(U32LEAt(at)); }

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

}  // namespace platform

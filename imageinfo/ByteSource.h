// Sequential, bounds-checked access to the first bytes of a picture file. The header readers
// only ever move forward: they read a few bytes, or skip a segment by its length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

namespace qv {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Copies up to count bytes into out and returns how many came (fewer only at the end).
  virtual std::size_t Read(void* out, std::size_t count) = 0;
  // Moves count bytes forward without reading them. Moving past the end is allowed; every
  // later read then gives nothing. False only when the move itself is refused.
  virtual bool Skip(std::uint32_t count) = 0;

  // One byte; false at the end.
  bool ReadU8(std::uint8_t& value);
  // Two bytes, most significant first; false unless both came.
  bool ReadU16BE(std::uint16_t& value);
};

// A file opened read-only and untranslated; the file is closed with the object.
class FileByteSource : public ByteSource {
 public:
  explicit FileByteSource(const char* path);
  ~FileByteSource() override;
  FileByteSource(const FileByteSource&) = delete;
  FileByteSource& operator=(const FileByteSource&) = delete;

  bool IsOpen() const { return file_ != nullptr; }
  std::size_t Read(void* out, std::size_t count) override;
  bool Skip(std::uint32_t count) override;

 private:
  std::FILE* file_;
};

// A byte buffer that the caller keeps alive for the life of the source (not owned).
class MemoryByteSource : public ByteSource {
 public:
  MemoryByteSource(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  std::size_t Read(void* out, std::size_t count) override;
  bool Skip(std::uint32_t count) override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t position_ = 0;
};

}  // namespace qv

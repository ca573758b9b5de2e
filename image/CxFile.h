// The byte streams every coder reads and writes through: an abstract file, a standard-library
// stream, and a growing memory buffer. The virtual operations keep this slot order: destructor,
// Close, Read, Write, Seek, Tell, Size, Flush, Eof, Error, PutC, GetC.
#pragma once

#include <cstdint>
#include <cstdio>

#include "image/CxDefs.h"

class CXIMAGE_API CxFile {
 public:
  CxFile();
  virtual ~CxFile();
  virtual bool Close() = 0;
  // Reads up to count items of size bytes; returns the number of whole items read.
  virtual size_t Read(void* buffer, size_t size, size_t count) = 0;
  virtual size_t Write(const void* buffer, size_t size, size_t count) = 0;
  // origin is SEEK_SET, SEEK_CUR or SEEK_END.
  virtual bool Seek(long offset, int origin) = 0;
  virtual long Tell() = 0;
  virtual long Size() = 0;
  virtual bool Flush() = 0;
  virtual bool Eof() = 0;
  virtual long Error() = 0;
  virtual bool PutC(unsigned char c);
  // The next byte, or -1 at the end.
  virtual long GetC() = 0;
};

// A file of the C library. A stream handed to the constructor stays open on destruction; one
// opened by Open is closed.
class CXIMAGE_API CxIOFile : public CxFile {
 public:
  explicit CxIOFile(FILE* fp = nullptr);
  ~CxIOFile() override;
  bool Open(const char* filename, const char* mode);
  bool Close() override;
  size_t Read(void* buffer, size_t size, size_t count) override;
  size_t Write(const void* buffer, size_t size, size_t count) override;
  bool Seek(long offset, int origin) override;
  long Tell() override;
  long Size() override;
  bool Flush() override;
  bool Eof() override;
  long Error() override;
  bool PutC(unsigned char c) override;
  long GetC() override;
  FILE* GetStream() const;

 private:
  CxIOFile(const CxIOFile&) = delete;
  CxIOFile& operator=(const CxIOFile&) = delete;
  FILE* fp_;
  bool closeFile_;
};

// A memory buffer. A buffer handed to the constructor is read and written in place and never
// grown or freed; without one the file allocates its own, grows it in whole multiples of 4096
// bytes and frees it on destruction unless GetBuffer detached it.
class CXIMAGE_API CxMemFile : public CxFile {
 public:
  explicit CxMemFile(uint8_t* buffer = nullptr, uint32_t size = 0);
  ~CxMemFile() override;
  bool Open();
  // The data; with detach the caller takes ownership (free() it) of a buffer this file allocated.
  uint8_t* GetBuffer(bool detach = true);
  bool Close() override;
  size_t Read(void* buffer, size_t size, size_t count) override;
  size_t Write(const void* buffer, size_t size, size_t count) override;
  bool Seek(long offset, int origin) override;
  long Tell() override;
  long Size() override;
  bool Flush() override;
  bool Eof() override;
  long Error() override;
  bool PutC(unsigned char c) override;
  long GetC() override;
  // Bytes allocated so far (a multiple of 4096 for an own buffer).
  uint32_t Capacity() const;

 protected:
  bool Alloc(uint32_t bytes);
  void Free();

 private:
  CxMemFile(const CxMemFile&) = delete;
  CxMemFile& operator=(const CxMemFile&) = delete;
  uint8_t* buffer_;
  uint32_t size_;      // bytes of data
  uint32_t capacity_;  // bytes available
  uint32_t position_;
  bool ownBuffer_;
  bool error_;
};

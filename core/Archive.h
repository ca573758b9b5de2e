// The settings file's archive form: little-endian integers without padding, and strings with a
// length prefix of one, three or seven bytes (plus a marked form of 16-bit characters that is
// read but never written).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/ByteReader.h"

namespace qv {

// The version word of the settings file this program writes; older files are read with the fields
// they have.
constexpr uint32_t kSettingsVersion = 0x00010400;
// From this version on the logon list stores its background colour.
constexpr uint32_t kSettingsVersionWithLogonColour = 0x00010300;

// Appends values to a byte string, in the layout of one version of the settings file.
class ArchiveWriter {
 public:
  explicit ArchiveWriter(uint32_t version = kSettingsVersion) : version_(version) {}

  void WriteUInt8(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void WriteUInt16(uint16_t v);
  void WriteUInt32(uint32_t v);
  void WriteInt32(int32_t v) { WriteUInt32(static_cast<uint32_t>(v)); }
  void WriteBytes(const void* data, std::size_t n) {
    bytes_.append(static_cast<const char*>(data), n);
  }
  // Length 0-254: one byte; up to 65,533: 0xFF and a uint16; longer: 0xFF 0xFFFF and a uint32.
  void WriteString(const std::string& s);

  const std::string& Bytes() const { return bytes_; }
  uint32_t Version() const { return version_; }

 private:
  std::string bytes_;
  uint32_t version_;
};

// Reads values from a buffer it does not own. Every read past the end, or of a malformed value,
// fails and leaves the reader failed: later reads fail too and out-parameters stay untouched.
class ArchiveReader {
 public:
  ArchiveReader(const void* data, std::size_t size, uint32_t version = 0)
      : bytes_(static_cast<const uint8_t*>(data), size), version_(version) {}

  bool ReadUInt8(uint8_t& v);
  bool ReadUInt16(uint16_t& v);
  bool ReadUInt32(uint32_t& v);
  bool ReadInt32(int32_t& v);
  bool ReadString(std::string& s);
  bool Skip(std::size_t n);
  // Marks the archive failed from outside, for values that read well but make no sense.
  void Fail() { failed_ = true; }

  bool Failed() const { return failed_; }
  std::size_t Position() const { return bytes_.position(); }
  std::size_t Remaining() const { return bytes_.remaining(); }

  // The version word of the file being read; some fields exist only from a version on.
  uint32_t Version() const { return version_; }
  void SetVersion(uint32_t version) { version_ = version; }

 private:
  // True when n more bytes are there; otherwise the archive fails and the bytes stay unread.
  bool Has(std::size_t n);
  bool ReadLength(uint32_t& length);

  platform::ByteReader bytes_;
  uint32_t version_;
  bool failed_ = false;
};

}  // namespace qv

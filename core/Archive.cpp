#include "core/Archive.h"

#include "platform/Platform.h"

namespace qv {

void ArchiveWriter::WriteUInt16(uint16_t v) {
  WriteUInt8(static_cast<uint8_t>(v));
  WriteUInt8(static_cast<uint8_t>(v >> 8));
}

void ArchiveWriter::WriteUInt32(uint32_t v) {
  WriteUInt16(static_cast<uint16_t>(v));
  WriteUInt16(static_cast<uint16_t>(v >> 16));
}

void ArchiveWriter::WriteString(const std::string& s) {
  const std::size_t n = s.size();
  if (n < 0xFF) {
    WriteUInt8(static_cast<uint8_t>(n));
  } else if (n < 0xFFFE) {
    WriteUInt8(0xFF);
    WriteUInt16(static_cast<uint16_t>(n));
  } else {
    WriteUInt8(0xFF);
    WriteUInt16(0xFFFF);
    WriteUInt32(static_cast<uint32_t>(n));
  }
  bytes_.append(s);
}

bool ArchiveReader::Has(std::size_t n) {
  if (!failed_ && n <= bytes_.remaining()) return true;
  failed_ = true;
  return false;
}

bool ArchiveReader::ReadUInt8(uint8_t& v) {
  if (!Has(1)) return false;
  v = bytes_.U8();
  return true;
}

bool ArchiveReader::ReadUInt16(uint16_t& v) {
  if (!Has(2)) return false;
  v = bytes_.U16LE();
  return true;
}

bool ArchiveReader::ReadUInt32(uint32_t& v) {
  if (!Has(4)) return false;
  v = bytes_.U32LE();
  return true;
}

bool ArchiveReader::ReadInt32(int32_t& v) {
  uint32_t u;
  if (!ReadUInt32(u)) return false;
  v = static_cast<int32_t>(u);
  return true;
}

bool ArchiveReader::Skip(std::size_t n) { return Has(n) && bytes_.Skip(n); }

// The length after the first 0xFF: a uint16, or 0xFFFF and a uint32.
bool ArchiveReader::ReadLength(uint32_t& length) {
  uint16_t word;
  if (!ReadUInt16(word)) return false;
  if (word != 0xFFFF) {
    length = word;
    return true;
  }
  return ReadUInt32(length);
}

bool ArchiveReader::ReadString(std::string& s) {
  uint8_t first;
  if (!ReadUInt8(first)) return false;
  uint32_t length = first;
  bool wide = false;
  if (first == 0xFF) {
    uint16_t word;
    if (!ReadUInt16(word)) return false;
    if (word == 0xFFFE) {
      // 16-bit characters: the length follows again in the three forms, counted in characters.
      wide = true;
      if (!ReadUInt8(first)) return false;
      length = first;
      if (first == 0xFF && !ReadLength(length)) return false;
    } else if (word == 0xFFFF) {
      if (!ReadUInt32(length)) return false;
    } else {
      length = word;
    }
  }
  // The bytes must be there before anything is allocated for them.
  const uint64_t byteCount = wide ? 2ull * length : length;
  if (byteCount > Remaining()) {
    failed_ = true;
    return false;
  }
  const uint8_t* p = bytes_.current();
  bytes_.Skip(static_cast<std::size_t>(byteCount));
  if (!wide) {
    s.assign(reinterpret_cast<const char*>(p), length);
    return true;
  }
  std::u16string text(length, u'\0');
  for (uint32_t i = 0; i < length; ++i) text[i] = static_cast<char16_t>(platform::LoadLE16(p + 2 * i));
  s = platform::WideToAnsi(text);
  return true;
}

}  // namespace qv

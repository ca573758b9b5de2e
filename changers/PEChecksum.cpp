#include "changers/PEChecksum.h"

#include "platform/ByteReader.h"

namespace qv {

using platform::LoadLE32;

bool FindNtHeaders(const std::uint8_t* data, std::size_t size, std::size_t* offset) {
  if (size < kNtHeaderOffsetField + 4) return false;
  std::uint32_t at = LoadLE32(data + kNtHeaderOffsetField);
  if (at > size || size - at < kNtHeadersSize) return false;
  if (LoadLE32(data + at) != 0x00004550) return false;  // "PE\0\0"
  *offset = at;
  return true;
}

bool ReadPEChecksums(const std::uint8_t* data, std::size_t size, std::uint32_t* headerSum,
                     std::uint32_t* computedSum) {
  std::size_t nt = 0;
  if (!FindNtHeaders(data, size, &nt)) return false;
  const std::size_t field = nt + kChecksumInNtHeaders;
  *headerSum = LoadLE32(data + field);
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < size; i += 2) {
    std::uint32_t word = data[i];
    if (i + 1 < size) word |= static_cast<std::uint32_t>(data[i + 1]) << 8;
    sum += word;
    sum = (sum & 0xFFFF) + (sum >> 16);
  }
  sum = (sum & 0xFFFF) + (sum >> 16);
  // The field's two halves are taken out again with end-around borrow, as the system's own
  // routine does (also when an odd header offset puts the field across two words).
  for (std::uint32_t half : {*headerSum & 0xFFFF, *headerSum >> 16}) {
    sum -= sum < half ? 1 : 0;
    sum = (sum - half) & 0xFFFF;
  }
  *computedSum = sum + static_cast<std::uint32_t>(size);
  return true;
}

bool WritePEChecksum(std::vector<std::uint8_t>& image, std::uint32_t sum) {
  std::size_t nt = 0;
  if (!FindNtHeaders(image.data(), image.size(), &nt)) return false;
  for (int b = 0; b < 4; ++b)
    image[nt + kChecksumInNtHeaders + b] = static_cast<std::uint8_t>(sum >> (8 * b));
  return true;
}

bool RepairPEChecksum(std::vector<std::uint8_t>& image) {
  std::uint32_t header = 0, computed = 0;
  if (!ReadPEChecksums(image.data(), image.size(), &header, &computed)) return false;
  if (!WritePEChecksum(image, computed)) return false;
  // With the field across two words (an odd header offset) the stored value takes part in the
  // sum, and no value agrees with itself: that is reported, and the old value put back.
  std::uint32_t check = 0;
  ReadPEChecksums(image.data(), image.size(), &check, &computed);
  if (check == computed) return true;
  WritePEChecksum(image, header);
  return false;
}

}  // namespace qv

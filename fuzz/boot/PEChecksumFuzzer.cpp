// libFuzzer target: the PE checksum on any bytes. After a repair that reports success the stored
// and the computed sums agree, and nothing outside the checksum field has changed.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "changers/PEChecksum.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  size_t nt = 0;
  const bool isPe = qv::FindNtHeaders(data, size, &nt);
  uint32_t stored = 0, computed = 0;
  if (qv::ReadPEChecksums(data, size, &stored, &computed) != isPe) std::abort();
  if (!isPe) return 0;
  std::vector<uint8_t> image(data, data + size);
  if (!qv::RepairPEChecksum(image)) return 0;
  if (!qv::ReadPEChecksums(image.data(), image.size(), &stored, &computed) || stored != computed) std::abort();
  const size_t field = nt + qv::kChecksumInNtHeaders;
  if (std::memcmp(image.data(), data, field) != 0 ||
      std::memcmp(image.data() + field + 4, data + field + 4, size - field - 4) != 0)
    std::abort();
  return 0;
}

// The checksum field of a PE image's optional header, computed and repaired on the file's bytes
// in memory. The sum is the one the loader and MapFileAndCheckSumA use: the 16-bit words of the
// file, without the checksum field, added with their carries folded back, plus the file length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {

constexpr std::size_t kNtHeaderOffsetField = 60;  // 0x3C
constexpr std::size_t kNtHeadersSize = 248;       // signature, file header, 32-bit optional header
constexpr std::size_t kChecksumInNtHeaders = 88;

// Offset of the NT headers when the image has a 32-bit value there pointing at 248 bytes that
// begin with "PE\0\0"; false otherwise.
bool FindNtHeaders(const std::uint8_t* data, std::size_t size, std::size_t* offset);

// The checksum stored in the header and the checksum the bytes call for. False when the
// bytes are not a PE image.
bool ReadPEChecksums(const std::uint8_t* data, std::size_t size, std::uint32_t* headerSum,
                     std::uint32_t* computedSum);

// Puts sum into the checksum field. False (nothing changed) when the bytes are not a PE image.
bool WritePEChecksum(std::vector<std::uint8_t>& image, std::uint32_t sum);

// Computes the checksum and writes it, so that header and computed sums agree. False (nothing
// changed) when the bytes are not a PE image or no stored value can agree with the sum.
bool RepairPEChecksum(std::vector<std::uint8_t>& image);

}  // namespace qv

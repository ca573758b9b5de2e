// The variable-length LZW of GIF, both ways.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace qv {
namespace image {

// Decodes codes of minCodeSize (1..8) from data into out (at most out.size() pixels). Returns
// the number of pixels produced; stops early at the end code, the end of data or a bad code.
size_t LzwDecode(const uint8_t* data, size_t size, int minCodeSize, std::vector<uint8_t>& out);

// Encodes pixels (each below 2^minCodeSize) into a code stream, clear code first, end code last.
std::vector<uint8_t> LzwEncode(const uint8_t* pixels, size_t count, int minCodeSize);

}  // namespace image
}  // namespace qv

#include "image/GifLzw.h"

#include <algorithm>

namespace qv {
namespace image {

namespace {
constexpr int kMaxCodes = 4096;
}

size_t LzwDecode(const uint8_t* data, size_t size, int minCodeSize, std::vector<uint8_t>& out) {
  if (minCodeSize < 1 || minCodeSize > 8 || out.empty()) return 0;
  const int clear = 1 << minCodeSize, end = clear + 1;
  uint16_t prefix[kMaxCodes];
  uint8_t suffix[kMaxCodes];
  uint8_t stack[kMaxCodes + 1];
  for (int i = 0; i < clear; i++) {
    prefix[i] = 0;
    suffix[i] = uint8_t(i);
  }
  int codeSize = minCodeSize + 1, next = clear + 2, prev = -1;
  uint8_t first = 0;
  uint32_t bits = 0;
  int bitCount = 0;
  size_t pos = 0, produced = 0;
  const size_t limit = out.size();
  while (produced < limit) {
    while (bitCount < codeSize) {
      if (pos >= size) return produced;
      bits |= uint32_t(data[pos++]) << bitCount;
      bitCount += 8;
    }
    int code = int(bits & ((1u << codeSize) - 1));
    bits >>= codeSize;
    bitCount -= codeSize;
    if (code == clear) {
      codeSize = minCodeSize + 1;
      next = clear + 2;
      prev = -1;
      continue;
    }
    if (code == end) break;
    if (prev < 0) {
      if (code > clear) return produced;  // a string code before any string exists
      first = uint8_t(code);
      out[produced++] = first;
      prev = code;
      continue;
    }
    int c = code;
    int depth = 0;
    if (code >= next) {
      if (code != next) return produced;  // corrupt
      stack[depth++] = first;             // the KwKwK case: previous string plus its first byte
      c = prev;
    }
    while (c >= clear) {
      stack[depth++] = suffix[c];
      c = prefix[c];
      if (depth >= kMaxCodes) return produced;
    }
    first = uint8_t(c);
    stack[depth++] = first;
    while (depth > 0 && produced < limit) out[produced++] = stack[--depth];
    if (next < kMaxCodes) {
      prefix[next] = uint16_t(prev);
      suffix[next] = first;
      next++;
      if (next == (1 << codeSize) && codeSize < 12) codeSize++;
    }
    prev = code;
  }
  return produced;
}

namespace {

class BitWriter {
 public:
  explicit BitWriter(std::vector<uint8_t>& out) : out_(out) {}
  void Put(int code, int size) {
    bits_ |= uint32_t(code) << count_;
    count_ += size;
    while (count_ >= 8) {
      out_.push_back(uint8_t(bits_));
      bits_ >>= 8;
      count_ -= 8;
    }
  }
  void Finish() {
    if (count_ > 0) out_.push_back(uint8_t(bits_));
    bits_ = 0;
    count_ = 0;
  }

 private:
  std::vector<uint8_t>& out_;
  uint32_t bits_ = 0;
  int count_ = 0;
};

}  // namespace

std::vector<uint8_t> LzwEncode(const uint8_t* pixels, size_t count, int minCodeSize) {
  std::vector<uint8_t> out;
  if (minCodeSize < 2) minCodeSize = 2;
  const int clear = 1 << minCodeSize, end = clear + 1;
  BitWriter writer(out);
  int codeSize = minCodeSize + 1;
  writer.Put(clear, codeSize);
  if (count == 0) {
    writer.Put(end, codeSize);
    writer.Finish();
    return out;
  }
  // Open hashing of (prefix code, byte) -> code, the table size a prime above 4096.
  constexpr int kHashSize = 5003;
  std::vector<int32_t> keys(kHashSize, -1);
  std::vector<uint16_t> codes(kHashSize);
  int next = clear + 2;
  int ent = pixels[0] & (clear - 1);
  for (size_t i = 1; i < count; i++) {
    int c = pixels[i] & (clear - 1);
    int32_t key = (int32_t(c) << 12) | ent;
    int h = ((c << 4) ^ ent) % kHashSize;
    int step = h == 0 ? 1 : kHashSize - h;
    bool found = false;
    while (keys[size_t(h)] >= 0) {
      if (keys[size_t(h)] == key) {
        found = true;
        break;
      }
      h -= step;
      if (h < 0) h += kHashSize;
    }
    if (found) {
      ent = codes[size_t(h)];
      continue;
    }
    writer.Put(ent, codeSize);
    if (next < kMaxCodes) {
      keys[size_t(h)] = key;
      codes[size_t(h)] = uint16_t(next++);
      if (next > (1 << codeSize) && codeSize < 12) codeSize++;
    } else {
      // The table is full: start afresh.
      writer.Put(clear, codeSize);
      std::fill(keys.begin(), keys.end(), -1);
      next = clear + 2;
      codeSize = minCodeSize + 1;
    }
    ent = c;
  }
  writer.Put(ent, codeSize);
  // The decoder adds one more entry on reading that code, which may widen the end code.
  if (next < kMaxCodes) {
    next++;
    if (next > (1 << codeSize) && codeSize < 12) codeSize++;
  }
  writer.Put(end, codeSize);
  writer.Finish();
  return out;
}

}  // namespace image
}  // namespace qv

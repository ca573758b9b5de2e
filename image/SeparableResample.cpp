#include "image/SeparableResample.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "image/CxImage.h"
#include "image/PixelKernels.h"
#include "image/VectorCode.h"

namespace qv {
namespace image {
namespace {

constexpr int kWeightBits = 12;  // every new pixel's weights add up to 4096
constexpr int kRowBits = 6;      // the rows between the passes keep 6 bits below the byte

// Which old pixels make each new one along a side, and how much of each.
struct Taps {
  std::vector<uint32_t> first;
  std::vector<uint32_t> weights;  // `stride` per new pixel, zero past its last
  uint32_t stride = 0;
};

// Averaging: each new pixel takes every old pixel it covers, by the part it covers.
Taps AreaTaps(uint32_t from, uint32_t to) {
  const double scale = double(from) / to;
  Taps taps;
  taps.stride = uint32_t(scale) + 2;
  taps.first.resize(to);
  taps.weights.assign(size_t(to) * taps.stride, 0);
  for (uint32_t i = 0; i < to; i++) {
    const double begin = i * scale, end = std::min(double(from), (i + 1) * scale);
    const uint32_t first = uint32_t(begin);
    taps.first[i] = first;
    uint32_t* w = &taps.weights[size_t(i) * taps.stride];
    uint32_t given = 0, k = 0;
    for (uint32_t j = first; j < from && j < end && k < taps.stride; j++, k++) {
      const double part = std::min(end, j + 1.0) - std::max(begin, double(j));
      w[k] = uint32_t(part / scale * (1 << kWeightBits) + 0.5);
      given += w[k];
    }
    // The rounding's rest goes to the largest part, so that a flat picture stays flat.
    uint32_t* largest = std::max_element(w, w + std::max(k, 1u));
    *largest = *largest + (1u << kWeightBits) - given;
  }
  return taps;
}

// Interpolation: each new pixel's centre between the two old centres around it.
Taps LinearTaps(uint32_t from, uint32_t to) {
  const double scale = double(from) / to;
  Taps taps;
  taps.stride = 2;
  taps.first.resize(to);
  taps.weights.assign(size_t(to) * 2, 0);
  for (uint32_t i = 0; i < to; i++) {
    const double at = std::clamp((i + 0.5) * scale - 0.5, 0.0, double(from - 1));
    const uint32_t first = std::min(uint32_t(at), from - 1);
    const uint32_t next = uint32_t((at - first) * (1 << kWeightBits) + 0.5);
    taps.first[i] = first;
    const bool last = first + 1 >= from;
    taps.weights[size_t(i) * 2] = last ? 1u << kWeightBits : (1u << kWeightBits) - next;
    taps.weights[size_t(i) * 2 + 1] = last ? 0 : next;
  }
  return taps;
}

// A new pixel's first weight is not zero: leading zeros from rounding are dropped.
void DropLeadingZeros(Taps& taps) {
  for (size_t i = 0; i < taps.first.size(); i++) {
    uint32_t* w = &taps.weights[i * taps.stride];
    uint32_t zeros = 0;
    while (zeros + 1 < taps.stride && w[zeros] == 0) zeros++;
    if (zeros == 0) continue;
    std::copy(w + zeros, w + taps.stride, w);
    std::fill(w + taps.stride - zeros, w + taps.stride, 0u);
    taps.first[i] += zeros;
  }
}

Taps TapsFor(uint32_t from, uint32_t to) {
  Taps taps = to < from ? AreaTaps(from, to) : LinearTaps(from, to);
  DropLeadingZeros(taps);
  return taps;
}

constexpr uint32_t kHalf = 1u << (kWeightBits - kRowBits - 1);
constexpr uint32_t kShift = kWeightBits + kRowBits, kRound = 1u << (kShift - 1);

// One old row along the new width, with kRowBits below the byte. The row is read from a copy
// with room after its end, so that every new pixel takes all `stride` weights, zeros included.
void ResampleRow(const uint8_t* s, const Taps& taps, uint32_t newWidth, uint16_t* out) {
  for (uint32_t x = 0; x < newWidth; x++, out += 3) {
    const uint8_t* p = s + size_t(taps.first[x]) * 3;
    const uint32_t* w = &taps.weights[size_t(x) * taps.stride];
    uint32_t b = 0, g = 0, r = 0;
    for (uint32_t k = 0; k < taps.stride; k++, p += 3) {
      b += w[k] * p[0];
      g += w[k] * p[1];
      r += w[k] * p[2];
    }
    out[0] = uint16_t((b + kHalf) >> (kWeightBits - kRowBits));
    out[1] = uint16_t((g + kHalf) >> (kWeightBits - kRowBits));
    out[2] = uint16_t((r + kHalf) >> (kWeightBits - kRowBits));
  }
}


// The values from `from` on of a new row between two rows (a side that grows).
void WeighTwoRows(const uint16_t* first, size_t values, const uint32_t* w, uint8_t* out, size_t from) {
  const uint16_t* second = first + values;
  for (size_t i = from; i < values; i++) out[i] = uint8_t((w[0] * first[i] + w[1] * second[i] + kRound) >> kShift);
}

// One new row from the rows along the new width that its weights name: plain loops over whole
// rows; the common case of a side that grows (two rows) in one pass.
void WeighRows(const uint16_t* first, size_t values, const uint32_t* w, uint32_t stride, uint32_t* sums,
               uint8_t* out) {
  if (stride == 2) return WeighTwoRows(first, values, w, out, 0);
  std::fill(sums, sums + values, kRound);
  for (uint32_t k = 0; k < stride; k++, first += values) {
    const uint32_t weight = w[k];
    for (size_t i = 0; i < values; i++) sums[i] += weight * first[i];
  }
  for (size_t i = 0; i < values; i++) out[i] = uint8_t(std::min<uint32_t>(sums[i] >> kShift, 255));
}

#if QV_HAVE_SSE2_CODE
// Each new pixel's weights in pairs for _mm_madd_epi16: pair j holds weights 2j and 2j + 1 in the
// lanes of the three channels (blue, green, red, then two zeros), an odd last weight paired with
// a zero. 16 bits hold them: no weight passes 4096.
std::vector<int16_t> WeightPairs(const Taps& taps) {
  const uint32_t pairs = (taps.stride + 1) / 2;
  std::vector<int16_t> out(taps.first.size() * pairs * 8, 0);
  for (size_t i = 0; i < taps.first.size(); i++)
    for (uint32_t k = 0; k < taps.stride; k++)
      for (int ch = 0; ch < 3; ch++)
        out[(i * pairs + k / 2) * 8 + size_t(2 * ch) + k % 2] = int16_t(taps.weights[i * taps.stride + k]);
  return out;
}

// ResampleRow two old pixels a step: their six bytes widened and interleaved channel by channel,
// so that one multiply-add weighs both. The sums are ResampleRow's, so are the results. Writes a
// fourth value after each pixel's three, which the next pixel overwrites; the row after the last
// has room for it. Reads up to one pixel past the last weight.
QV_SSE2_FUNCTION void ResampleRowSse2(const uint8_t* s, const Taps& taps, const int16_t* pairs, uint32_t newWidth,
                                      uint16_t* out) {
  const __m128i zero = _mm_setzero_si128(), half = _mm_set1_epi32(int(kHalf));
  const uint32_t perPixel = (taps.stride + 1) / 2;
  for (uint32_t x = 0; x < newWidth; x++, out += 3) {
    const uint8_t* p = s + size_t(taps.first[x]) * 3;
    __m128i sum = half;
    for (uint32_t j = 0; j < perPixel; j++, p += 6, pairs += 8) {
      const __m128i v = _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)), zero);
      const __m128i both = _mm_unpacklo_epi16(v, _mm_srli_si128(v, 6));
      sum = _mm_add_epi32(sum, _mm_madd_epi16(both, _mm_loadu_si128(reinterpret_cast<const __m128i*>(pairs))));
    }
    const __m128i values = _mm_packs_epi32(_mm_srli_epi32(sum, kWeightBits - kRowBits), zero);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out), values);
  }
}

// WeighRows' two-row case, eight values a step; the rest as the plain form.
QV_SSE2_FUNCTION void WeighTwoRowsSse2(const uint16_t* first, size_t values, const uint32_t* w, uint8_t* out) {
  const uint16_t* second = first + values;
  const __m128i weights = _mm_set1_epi32(int(w[0] | (w[1] << 16))), round = _mm_set1_epi32(int(kRound));
  size_t i = 0;
  for (; i + 8 <= values; i += 8) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(first + i));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(second + i));
    const __m128i lo = _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(a, b), weights), round), kShift);
    const __m128i hi = _mm_srli_epi32(_mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(a, b), weights), round), kShift);
    const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(lo, hi), _mm_setzero_si128());
    _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), bytes);
  }
  WeighTwoRows(first, values, w, out, i);
}
#endif

}  // namespace

bool SeparableResample(const CxImage& src, CxImage& dst) {
  const uint32_t oldW = src.GetWidth(), oldH = src.GetHeight(), newW = dst.GetWidth(), newH = dst.GetHeight();
  if (!oldW || !oldH || !newW || !newH) return true;
  const Taps across = TapsFor(oldW, newW), down = TapsFor(oldH, newH);
  // Every old row along the new width first, top-down (the picture's rows are bottom-up), with
  // zero rows after the last for the weights past it.
  const size_t values = size_t(newW) * 3;
  std::vector<uint16_t> rows(values * (oldH + down.stride));
  // One pixel more than the weights reach: the vector form reads whole pairs.
  std::vector<uint8_t> padded(size_t(oldW + across.stride + 1) * 3);
#if QV_HAVE_SSE2_CODE
  const bool vector = UseVectorCode();
  const std::vector<int16_t> pairs = vector ? WeightPairs(across) : std::vector<int16_t>();
#endif
  for (uint32_t y = 0; y < oldH; y++) {
    if (src.GetEscape()) return false;
    std::copy_n(src.GetBits(oldH - 1 - y), size_t(oldW) * 3, padded.begin());
#if QV_HAVE_SSE2_CODE
    if (vector) {
      ResampleRowSse2(padded.data(), across, pairs.data(), newW, &rows[values * y]);
      continue;
    }
#endif
    ResampleRow(padded.data(), across, newW, &rows[values * y]);
  }
  std::vector<uint32_t> sums(values);
  for (uint32_t y = 0; y < newH; y++) {
    const uint16_t* first = &rows[values * down.first[y]];
    const uint32_t* w = &down.weights[size_t(y) * down.stride];
    uint8_t* out = dst.GetBits(newH - 1 - y);
#if QV_HAVE_SSE2_CODE
    if (vector && down.stride == 2) {
      WeighTwoRowsSse2(first, values, w, out);
      continue;
    }
#endif
    WeighRows(first, values, w, down.stride, sums.data(), out);
  }
  return true;
}

}  // namespace image
}  // namespace qv

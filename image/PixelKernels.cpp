#include "image/PixelKernels.h"

#include <atomic>
#include <climits>

#include "image/VectorCode.h"

namespace qv {
namespace image {

bool HaveSse2() {
#if QV_HAVE_SSE2_CODE && defined(__SSE2__)
  return true;
#elif QV_HAVE_SSE2_CODE
  static const bool have = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("sse2") != 0;
  }();
  return have;
#else
  return false;
#endif
}

namespace {
std::atomic<bool> vectorAllowed{true};
}  // namespace

bool UseVectorCode() { return HaveSse2() && vectorAllowed.load(std::memory_order_relaxed); }

void AllowVectorCode(bool allow) { vectorAllowed.store(allow, std::memory_order_relaxed); }

namespace {

void SumColumnsPlain(const uint8_t* rows, std::ptrdiff_t stride, uint32_t count, size_t bytes, uint32_t* sums) {
  for (size_t i = 0; i < bytes; i++) sums[i] = 0;
  for (uint32_t r = 0; r < count; r++, rows += stride)
    for (size_t i = 0; i < bytes; i++) sums[i] += rows[i];
}

#if QV_HAVE_SSE2_CODE
// Up to 257 rows fit 16-bit lanes (257 x 255 = 65535); longer runs of rows go in groups.
constexpr uint32_t kRowsPer16Bits = 257;

// Stores (first) or adds the 16 sums of lo and hi, widened to 32 bits.
QV_SSE2_FUNCTION inline void PutWidened(uint32_t* sums, __m128i lo, __m128i hi, bool first) {
  const __m128i zero = _mm_setzero_si128();
  __m128i* s = reinterpret_cast<__m128i*>(sums);
  const __m128i w0 = _mm_unpacklo_epi16(lo, zero), w1 = _mm_unpackhi_epi16(lo, zero);
  const __m128i w2 = _mm_unpacklo_epi16(hi, zero), w3 = _mm_unpackhi_epi16(hi, zero);
  if (first) {
    _mm_storeu_si128(s, w0), _mm_storeu_si128(s + 1, w1), _mm_storeu_si128(s + 2, w2), _mm_storeu_si128(s + 3, w3);
    return;
  }
  _mm_storeu_si128(s, _mm_add_epi32(_mm_loadu_si128(s), w0));
  _mm_storeu_si128(s + 1, _mm_add_epi32(_mm_loadu_si128(s + 1), w1));
  _mm_storeu_si128(s + 2, _mm_add_epi32(_mm_loadu_si128(s + 2), w2));
  _mm_storeu_si128(s + 3, _mm_add_epi32(_mm_loadu_si128(s + 3), w3));
}

// Columns in blocks of 32 bytes: each block walks down the rows with its sums in registers.
QV_SSE2_FUNCTION void SumColumnsSse2(const uint8_t* rows, std::ptrdiff_t stride, uint32_t count, size_t bytes,
                                     uint32_t* sums) {
  const __m128i zero = _mm_setzero_si128(), evenBytes = _mm_set1_epi16(0x00FF);
  size_t i = 0;
  for (; i + 32 <= bytes; i += 32) {
    const uint8_t* p = rows + i;
    bool first = true;
    for (uint32_t left = count; left > 0; first = false) {
      const uint32_t group = left < kRowsPer16Bits ? left : kRowsPer16Bits;
      left -= group;
      __m128i lo0 = zero, hi0 = zero, lo1 = zero, hi1 = zero;
      // Two rows at a time: their even and odd bytes are added as 16-bit lanes before they join
      // the sums; the odd sums are put back in order when stored.
      uint32_t r = 0;
      for (; r + 2 <= group; r += 2, p += 2 * stride) {
        const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + stride));
        const __m128i b1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + stride + 16));
        lo0 = _mm_add_epi16(lo0, _mm_add_epi16(_mm_and_si128(a0, evenBytes), _mm_and_si128(b0, evenBytes)));
        hi0 = _mm_add_epi16(hi0, _mm_add_epi16(_mm_srli_epi16(a0, 8), _mm_srli_epi16(b0, 8)));
        lo1 = _mm_add_epi16(lo1, _mm_add_epi16(_mm_and_si128(a1, evenBytes), _mm_and_si128(b1, evenBytes)));
        hi1 = _mm_add_epi16(hi1, _mm_add_epi16(_mm_srli_epi16(a1, 8), _mm_srli_epi16(b1, 8)));
      }
      if (r < group) {
        const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i a1 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16));
        lo0 = _mm_add_epi16(lo0, _mm_and_si128(a0, evenBytes));
        hi0 = _mm_add_epi16(hi0, _mm_srli_epi16(a0, 8));
        lo1 = _mm_add_epi16(lo1, _mm_and_si128(a1, evenBytes));
        hi1 = _mm_add_epi16(hi1, _mm_srli_epi16(a1, 8));
        p += stride;
      }
      // Interleaved again: bytes 0..7 and 8..15 of the block.
      {
        const __m128i e0 = lo0, o0 = hi0, e1 = lo1, o1 = hi1;
        lo0 = _mm_unpacklo_epi16(e0, o0);
        hi0 = _mm_unpackhi_epi16(e0, o0);
        lo1 = _mm_unpacklo_epi16(e1, o1);
        hi1 = _mm_unpackhi_epi16(e1, o1);
      }
      PutWidened(sums + i, lo0, hi0, first);
      PutWidened(sums + i + 16, lo1, hi1, first);
    }
  }
  if (i < bytes) SumColumnsPlain(rows + i, stride, count, bytes - i, sums + i);
}
#endif

}  // namespace

void SumColumns(const uint8_t* rows, std::ptrdiff_t stride, uint32_t count, size_t bytes, uint32_t* sums) {
#if QV_HAVE_SSE2_CODE
  if (count > 0 && UseVectorCode()) return SumColumnsSse2(rows, stride, count, bytes, sums);
#endif
  SumColumnsPlain(rows, stride, count, bytes, sums);
}

// Padding entries sit so far outside the colour cube that they never come nearest.
constexpr int16_t kNowhere = 1000;

PaletteSearch::PaletteSearch(const CxRgbQuad* palette, uint32_t n)
    : n_(n > 256 ? 256 : n), groups_((n_ + 3) / 4), vector_(UseVectorCode()) {
  for (uint32_t i = 0; i < 4 * groups_; i++) {
    const bool real = i < n_;
    const int r = real ? palette[i].rgbRed : kNowhere, g = real ? palette[i].rgbGreen : kNowhere;
    const int b = real ? palette[i].rgbBlue : kNowhere;
    rg_[i / 4][2 * (i % 4)] = int16_t(16 * r);
    rg_[i / 4][2 * (i % 4) + 1] = int16_t(16 * g);
    b0_[i / 4][2 * (i % 4)] = int16_t(16 * b);
    b0_[i / 4][2 * (i % 4) + 1] = 0;
    index_[i / 4][i % 4] = int32_t(i) + (1 << 23);
    if (real) {
      red_[i] = palette[i].rgbRed;
      green_[i] = palette[i].rgbGreen;
      blue_[i] = palette[i].rgbBlue;
    }
  }
}

uint8_t PaletteSearch::Nearest(uint8_t blue, uint8_t green, uint8_t red) const {
#if QV_HAVE_SSE2_CODE
  if (vector_) return NearestSse2(blue, green, red);
#endif
  return NearestPlain(blue, green, red);
}

uint8_t PaletteSearch::NearestPlain(int blue, int green, int red) const {
  long best = LONG_MAX;
  uint8_t index = 0;
  for (uint32_t i = 0; i < n_; i++) {
    const long dr = long(red_[i]) - red, dg = long(green_[i]) - green, db = long(blue_[i]) - blue;
    const long d = dr * dr + dg * dg + db * db;
    if (d == 0) return uint8_t(i);
    if (d < best) {
      best = d;
      index = uint8_t(i);
    }
  }
  return index;
}

#if QV_HAVE_SSE2_CODE
// Four distances at a time. Each lane keeps a key of distance x 256 + entry number + 2^23, so
// the smallest key is the smallest distance with the first entry among equals. Keys lie between
// 2^23 and 3 x (16 x 1000)^2 + 2^24 < 2^31: as bit patterns of floats they are normal positive
// numbers that order as the integers do, which lets the float minimum compare them.
QV_SSE2_FUNCTION uint8_t PaletteSearch::NearestSse2(int blue, int green, int red) const {
  if (groups_ == 0) return 0;
  const __m128i wantRG = _mm_set1_epi32(16 * red | 16 * green << 16);
  const __m128i wantB0 = _mm_set1_epi32(16 * blue);
  __m128 best = _mm_castsi128_ps(_mm_set1_epi32(0x7F000000));  // above every key, and not a NaN
  for (uint32_t g = 0; g < groups_; g++) {
    const __m128i drg = _mm_sub_epi16(wantRG, _mm_load_si128(reinterpret_cast<const __m128i*>(rg_[g])));
    const __m128i db0 = _mm_sub_epi16(wantB0, _mm_load_si128(reinterpret_cast<const __m128i*>(b0_[g])));
    const __m128i d = _mm_add_epi32(_mm_madd_epi16(drg, drg), _mm_madd_epi16(db0, db0));
    const __m128i key = _mm_add_epi32(d, _mm_load_si128(reinterpret_cast<const __m128i*>(index_[g])));
    best = _mm_min_ps(_mm_castsi128_ps(key), best);
  }
  best = _mm_min_ps(best, _mm_shuffle_ps(best, best, _MM_SHUFFLE(1, 0, 3, 2)));
  best = _mm_min_ps(best, _mm_shuffle_ps(best, best, _MM_SHUFFLE(2, 3, 0, 1)));
  return uint8_t(_mm_cvtsi128_si32(_mm_castps_si128(best)) & 0xFF);
}
#else
uint8_t PaletteSearch::NearestSse2(int blue, int green, int red) const { return NearestPlain(blue, green, red); }
#endif

namespace {

inline int16_t Clamp255(int v) { return int16_t(v < 0 ? 0 : v > 255 ? 255 : v); }

void DiffuseRowPlain(const PaletteSearch& search, const int16_t* lanes, long w, int16_t* p, int16_t* q,
                     uint8_t* indices) {
  for (long x = 0; x < w; x++, p += 4, q += 4) {
    const uint8_t idx = search.Nearest(uint8_t(p[0]), uint8_t(p[1]), uint8_t(p[2]));
    indices[x] = idx;
    for (int c = 0; c < 3; c++) {
      const int err = p[c] - lanes[4 * idx + c];
      p[4 + c] = Clamp255(p[4 + c] + err * 7 / 16);
      q[c - 4] = Clamp255(q[c - 4] + err * 2 / 16);
      q[c] = Clamp255(q[c] + err * 4 / 16);
      q[c + 4] = Clamp255(q[c + 4] + err * 1 / 16);
    }
  }
}

#if QV_HAVE_SSE2_CODE
// A share e x s / 16 truncated toward zero: (e x s + (15 where e < 0)) >> 4, shifted arithmetically.
QV_SSE2_FUNCTION inline __m128i Share(__m128i scaled, __m128i negative) {
  return _mm_srai_epi16(_mm_add_epi16(scaled, _mm_and_si128(negative, _mm_set1_epi16(15))), 4);
}

QV_SSE2_FUNCTION inline void AddClamped(int16_t* at, __m128i share) {
  __m128i* p = reinterpret_cast<__m128i*>(at);
  const __m128i v = _mm_add_epi16(_mm_loadl_epi64(p), share);
  _mm_storel_epi64(p, _mm_min_epi16(_mm_max_epi16(v, _mm_setzero_si128()), _mm_set1_epi16(255)));
}
#endif

}  // namespace

#if QV_HAVE_SSE2_CODE
// The palette search of NearestSse2 and the shares side by side in the three channels' lanes.
QV_SSE2_FUNCTION void DiffuseRowSse2(const PaletteSearch& search, const int16_t* lanes, long w, int16_t* p,
                                     int16_t* q, uint8_t* indices) {
  const __m128i lowHalf = _mm_set_epi32(0, 0, 0, 0xFFFF);
  for (long x = 0; x < w; x++, p += 4, q += 4) {
    const __m128i want = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    const __m128i want16 = _mm_slli_epi16(want, 4);
    const __m128i wantB0 = _mm_shuffle_epi32(_mm_and_si128(want16, lowHalf), 0);
    const __m128i wantRG = _mm_shuffle_epi32(_mm_shufflelo_epi16(want16, _MM_SHUFFLE(3, 0, 1, 2)), 0);
    __m128 best = _mm_castsi128_ps(_mm_set1_epi32(0x7F000000));
    for (uint32_t g = 0; g < search.groups_; g++) {
      const __m128i drg = _mm_sub_epi16(wantRG, _mm_load_si128(reinterpret_cast<const __m128i*>(search.rg_[g])));
      const __m128i db0 = _mm_sub_epi16(wantB0, _mm_load_si128(reinterpret_cast<const __m128i*>(search.b0_[g])));
      const __m128i d = _mm_add_epi32(_mm_madd_epi16(drg, drg), _mm_madd_epi16(db0, db0));
      const __m128i key = _mm_add_epi32(d, _mm_load_si128(reinterpret_cast<const __m128i*>(search.index_[g])));
      best = _mm_min_ps(_mm_castsi128_ps(key), best);
    }
    best = _mm_min_ps(best, _mm_shuffle_ps(best, best, _MM_SHUFFLE(1, 0, 3, 2)));
    best = _mm_min_ps(best, _mm_shuffle_ps(best, best, _MM_SHUFFLE(2, 3, 0, 1)));
    const uint8_t idx = search.groups_ ? uint8_t(_mm_cvtsi128_si32(_mm_castps_si128(best)) & 0xFF) : 0;
    indices[x] = idx;
    const __m128i e = _mm_sub_epi16(want, _mm_loadl_epi64(reinterpret_cast<const __m128i*>(lanes + 4 * idx)));
    const __m128i negative = _mm_srai_epi16(e, 15);
    const __m128i e2 = _mm_add_epi16(e, e), e4 = _mm_add_epi16(e2, e2);
    AddClamped(p + 4, Share(_mm_sub_epi16(_mm_add_epi16(e4, e4), e), negative));
    AddClamped(q - 4, Share(e2, negative));
    AddClamped(q, Share(e4, negative));
    AddClamped(q + 4, Share(e, negative));
  }
}
#endif

void DiffuseRow(const PaletteSearch& search, const int16_t* lanes, long width, int16_t* row, int16_t* below,
                uint8_t* indices) {
#if QV_HAVE_SSE2_CODE
  if (search.vector_) return DiffuseRowSse2(search, lanes, width, row, below, indices);
#endif
  DiffuseRowPlain(search, lanes, width, row, below, indices);
}

}  // namespace image
}  // namespace qv

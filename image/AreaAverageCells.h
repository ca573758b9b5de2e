// The pieces that the two ways of area averaging share (whole pictures in AreaAverage.cpp, rows
// fed from the top in AreaAverageFeed.cpp): the map of source columns and rows onto destination
// pixels, and the vector helpers. Internal to the image library.
#pragma once

#include <cstdint>
#include <type_traits>
#include <vector>

#include "image/VectorCode.h"

namespace qv {
namespace image {
namespace area {

constexpr int64_t kAccuracy = 1000;

// A destination column: the source columns wholly inside it, and the boundary column that it
// shares with the next destination column.
struct Cell {
  uint32_t begin, end;  // whole source columns [begin, end)
  int32_t split;        // the shared boundary column, or -1 for the last cell
  uint32_t weight;      // thousandths of the boundary column that belong to the next cell
};

// A boundary column's or row's thousandths that belong to the next destination pixel.
uint32_t Weight(long at, float boundary);
std::vector<Cell> MapColumns(long oldW, long newW, float xScale);
// The sum a destination pixel holds for a source value of 1.
int64_t UnitSum(float xScale, float yScale);
// Whether a cell's sums may pass 32 bits.
bool NeedsWideSums(float xScale, float yScale);

// The sums that one destination row hands the next: per cell and channel, the next row's share
// of the source row split between them. Acc holds any cell's sum: 32 bits unless the scale is
// enormous.
template <typename Acc>
struct RowState {
  std::vector<Acc> carry;
  Acc n;  // the sum a cell holds for a pixel value of 1
  // The vector form's view of the cells (32-bit sums only): spans[i] to spans[i + 1] are cell
  // i's columns, its boundary column the last of them, and weights[4 i ...] that column's wr in
  // four lanes; it closes the first `vectorCells` cells of a row.
  std::vector<uint32_t> spans, weights;
  size_t vectorCells = 0;
};

// The vector forms keep their sums in 32-bit lanes.
template <typename Acc>
constexpr bool kVectorSums = std::is_same_v<Acc, uint32_t>;

// Sets up the state's vector form (see RowState); leaves it off where its products or sums could
// overflow.
void PrepareVectorCells(const std::vector<Cell>& cells, long oldW, float xScale, float yScale,
                        RowState<uint32_t>& state);

// Where a source row goes, found in the order and with the float steps of Shrink.
struct SourceRow {
  long dest;    // the destination row it lies in; for a split row, the lower of its two
  uint32_t wy;  // a split row's thousandths that belong to dest + 1
  bool split;
};

// Every source row's place; *lastDest gets the destination row of the rows after the last split row.
std::vector<SourceRow> MapRows(long oldH, float yScale, long* lastDest);

#if QV_HAVE_SSE2_CODE
// 1000 x v in 32-bit lanes, modulo 2^32 like the plain sums.
QV_SSE2_FUNCTION inline __m128i Times1000(__m128i v) {
  return _mm_sub_epi32(_mm_sub_epi32(_mm_slli_epi32(v, 10), _mm_slli_epi32(v, 4)), _mm_slli_epi32(v, 3));
}

// Lanes 0 to 2 of v over d, truncated: exact, since v is below 2^31 and a quotient that is not
// whole lies at least 1 / d from the next whole number, far beyond the division's rounding.
QV_SSE2_FUNCTION inline __m128i DivideLanes(__m128i v, __m128d d) {
  const __m128d lo = _mm_div_pd(_mm_cvtepi32_pd(v), d);
  const __m128d hi = _mm_div_pd(_mm_cvtepi32_pd(_mm_shuffle_epi32(v, _MM_SHUFFLE(3, 2, 3, 2))), d);
  return _mm_unpacklo_epi64(_mm_cvttpd_epi32(lo), _mm_cvttpd_epi32(hi));
}

// Three bytes, widened to 32-bit lanes 0 to 2 (lane 3 carries the byte after them).
QV_SSE2_FUNCTION inline __m128i PixelLanes(const uint8_t* p) {
  int32_t four;
  __builtin_memcpy(&four, p, 4);
  const __m128i zero = _mm_setzero_si128();
  return _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero), zero);
}

QV_SSE2_FUNCTION inline void StoreThree(uint32_t* p, __m128i v) {
  _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
  p[2] = uint32_t(_mm_cvtsi128_si32(_mm_srli_si128(v, 8)));
}

// The corner's parts: floor and ceil of t / 1000 for t = vwr x wy, with vwr (v x wr, below 2^25)
// split at bit 15 for the products' second factor.
QV_SSE2_FUNCTION inline void CornerParts(__m128i vwr, __m128i wyLanes, __m128i* down, __m128i* up) {
  const __m128i low15 = _mm_set1_epi32(0x7FFF);
  const __m128i t = _mm_add_epi32(_mm_madd_epi16(_mm_and_si128(vwr, low15), wyLanes),
                                  _mm_slli_epi32(_mm_madd_epi16(_mm_srli_epi32(vwr, 15), wyLanes), 15));
  *down = DivideLanes(t, _mm_set1_pd(1000.0));
  *up = _mm_sub_epi32(*down, _mm_cmpgt_epi32(t, Times1000(*down)));
}

// A cell's three sums over n as the pixel's three bytes, in the low bytes of the result.
QV_SSE2_FUNCTION inline int32_t PixelBytes(__m128i sum, __m128d n) {
  const __m128i quotients = DivideLanes(sum, n);
  const __m128i words = _mm_packs_epi32(quotients, quotients);
  return _mm_cvtsi128_si32(_mm_packus_epi16(words, words));
}
#endif

}  // namespace area
}  // namespace image
}  // namespace qv

#include "image/AreaAverage.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/AreaAverageCells.h"
#include "image/CxImage.h"
#include "image/PixelKernels.h"
#include "image/VectorCode.h"

namespace qv {
namespace image {
namespace area {

// A weight in thousandths of a boundary pixel. The boundary sits less than one pixel before
// the pixel, so the weight is below 1000; the clamp only guards the unsigned sums below.
// The boundary is a float that is rounded on every step, as the definition has it.
// The float steps here and in MapColumns, MapRows and UnitSum are compiled once and shared by
// both ways of averaging (whole pictures and fed rows), so that x87 code (the 32-bit build)
// cannot round them differently.
[[gnu::noinline]] uint32_t Weight(long at, float boundary) {
  return uint32_t(std::clamp<int64_t>(int64_t((float(at) - boundary) * float(kAccuracy)), 0, kAccuracy - 1));
}

[[gnu::noinline]] std::vector<Cell> MapColumns(long oldW, long newW, float xScale) {
  std::vector<Cell> cells;
  volatile float endX = xScale - 1.0f;
  uint32_t begin = 0;
  for (long x = 0; x < oldW; x++) {
    if (float(x) < endX) continue;
    cells.push_back({begin, uint32_t(x), int32_t(x), Weight(x, endX)});
    begin = uint32_t(x) + 1;
    endX = endX + xScale;
  }
  cells.push_back({begin, uint32_t(oldW), -1, 0});
  // Inexact boundaries may leave weight for a cell past the row's end; nothing reads it.
  if (cells.size() > size_t(newW)) cells.resize(size_t(newW));
  return cells;
}

// The sum a destination pixel holds for a source value of 1.
[[gnu::noinline]] int64_t UnitSum(float xScale, float yScale) { return int64_t(float(kAccuracy) * xScale * yScale); }

bool NeedsWideSums(float xScale, float yScale) {
  // A cell covers at most (xScale + 1) x (yScale + 1) source pixels, each weighing 1000.
  const double most = 1000.0 * 255.0 * (double(xScale) + 2.0) * (double(yScale) + 2.0);
  return most >= 4.0e9;
}

// Which cells the vector form closes: those whose boundary column is not the row's last (its
// four-byte reads stay inside the row), and none when a factor of its products could reach 2^15
// (a cell's columns or rows times 255) or a sum 2^31.
void PrepareVectorCells(const std::vector<Cell>& cells, long oldW, float xScale, float yScale,
                        RowState<uint32_t>& state) {
#if QV_HAVE_SSE2_CODE
  if (!UseVectorCode()) return;
  if (255.0 * (double(xScale) + 2.0) >= 32768.0 || 255.0 * (double(yScale) + 3.0) >= 32768.0) return;
  if (1000.0 * 255.0 * (double(xScale) + 2.0) * (double(yScale) + 2.0) >= 2147483648.0) return;
  size_t count = 0;
  while (count < cells.size() && cells[count].split >= 0 && long(cells[count].split) + 1 < oldW) count++;
  for (size_t i = 0; i < count; i++) {
    state.spans.push_back(cells[i].begin);
    state.weights.insert(state.weights.end(), {cells[i].weight, cells[i].weight, cells[i].weight, 0});
  }
  if (count > 0) state.spans.push_back(uint32_t(cells[count - 1].split) + 1);
  state.vectorCells = count;
#else
  (void)cells, (void)oldW, (void)xScale, (void)yScale, (void)state;
#endif
}

[[gnu::noinline]] std::vector<SourceRow> MapRows(long oldH, float yScale, long* lastDest) {
  std::vector<SourceRow> rows(static_cast<size_t>(oldH));
  long v = 0;
  volatile float endY = yScale - 1.0f;
  for (long y = 0; y < oldH; y++) {
    if (float(y) < endY) {
      rows[size_t(y)] = {v, 0, false};
      continue;
    }
    rows[size_t(y)] = {v, Weight(y, endY), true};
    v++;
    endY = endY + yScale;
  }
  *lastDest = v;  // the rows after the last split row lie in it
  return rows;
}

}  // namespace area

namespace {

using namespace area;

#if QV_HAVE_SSE2_CODE
// The plain CloseRow's arithmetic for the state's vector cells, the three channels of a cell in
// three lanes. The products go through _mm_madd_epi16, whose factors must stay below 2^15: the
// set-up admits only scales that keep them there (see PrepareVectorCells).
QV_SSE2_FUNCTION void CloseCellsSse2(const uint32_t* a, const uint8_t* b, uint32_t wy, RowState<uint32_t>& state,
                                     uint32_t* left, uint32_t* leftNext, uint8_t* out) {
  const __m128i zero = _mm_setzero_si128(), wyLanes = _mm_set1_epi32(int(wy));
  const __m128d n = _mm_set1_pd(double(state.n));
  __m128i carryLeft = zero, carryLeftNext = zero;
  uint32_t* carry = state.carry.data();
  const uint32_t* spans = state.spans.data();
  const __m128i* weights = reinterpret_cast<const __m128i*>(state.weights.data());
  for (size_t i = 0; i < state.vectorCells; i++, carry += 3, out += 3) {
    __m128i sa = zero, sb = zero;  // sb in 16-bit lanes until the cell's columns are summed
    const size_t last = spans[i + 1] - 1;  // the boundary column
    for (size_t x = spans[i]; x < last; x++) {
      sa = _mm_add_epi32(sa, _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 3 * x)));
      int32_t four;
      __builtin_memcpy(&four, b + 3 * x, 4);
      sb = _mm_add_epi16(sb, _mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero));
    }
    const __m128i ar = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + 3 * last));
    const __m128i v = PixelLanes(b + 3 * last);
    sa = _mm_add_epi32(sa, ar);
    sb = _mm_add_epi32(_mm_unpacklo_epi16(sb, zero), v);
    const __m128i m = _mm_madd_epi16(sb, wyLanes);  // the next row's share of the split row
    const __m128i wr = _mm_loadu_si128(weights + i);
    const __m128i moved = _mm_madd_epi16(_mm_add_epi32(ar, v), wr);
    // The corner v x wr x wy.
    const __m128i vwr = _mm_madd_epi16(v, wr);
    __m128i down, up;
    CornerParts(vwr, wyLanes, &down, &up);
    __m128i sum = _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(carry)), carryLeft);
    sum = _mm_sub_epi32(_mm_add_epi32(sum, Times1000(_mm_add_epi32(sa, sb))), _mm_add_epi32(m, moved));
    sum = _mm_add_epi32(sum, down);
    StoreThree(carry, _mm_sub_epi32(_mm_add_epi32(carryLeftNext, m), up));
    carryLeft = _mm_sub_epi32(moved, up);
    carryLeftNext = down;
    const int32_t bytes = PixelBytes(sum, n);
    __builtin_memcpy(out, &bytes, 3);
  }
  StoreThree(left, carryLeft);
  StoreThree(leftNext, carryLeftNext);
}
#endif

// Completes a destination row. a: the column sums of the source rows wholly inside it; b: the
// source row split between it and the next row, with the next row's thousandths wy (null for
// the last row); out: the destination row, or null when it lies past the picture's end.
//
// The corner pixel v, split both ways by wy and the column's wr, falls into four parts, each
// truncated on its own: v x (1000 - wy) x (1000 - wr) / 1000 and so on. All four follow from
// t = v x wy x wr alone: the other products differ from it by whole multiples of 1000, so
// floor(t / 1000) and ceil(t / 1000) give every part exactly. The boundary column then joins the
// cell's whole columns, and only the share wr of it (wr x u, u = its rows' sum plus v) moves on
// to the next cell.
template <typename Acc, bool kSplitRow>
void CloseRow(const std::vector<Cell>& cells, const uint32_t* a, const uint8_t* b, uint32_t wy, RowState<Acc>& state,
              uint8_t* out) {
  const Acc k = Acc(kAccuracy);
  Acc left[3] = {0, 0, 0}, leftNext[3] = {0, 0, 0};  // handed over by the previous boundary column
  Acc* carry = state.carry.data();
  size_t first = 0;
#if QV_HAVE_SSE2_CODE
  if constexpr (kSplitRow && kVectorSums<Acc>) {
    if (state.vectorCells > 0 && out) {
      first = state.vectorCells;
      CloseCellsSse2(a, b, wy, state, left, leftNext, out);
      carry += 3 * first, out += 3 * first;
    }
  }
#endif
  for (size_t i = first; i < cells.size(); i++) {
    const Cell& cell = cells[i];
    const size_t last = cell.split >= 0 ? size_t(cell.split) + 1 : size_t(cell.end);
    Acc sa[3] = {0, 0, 0}, sb[3] = {0, 0, 0};
    const uint32_t* pa = a + 3 * size_t(cell.begin);
    const uint32_t* paEnd = a + 3 * last;
    if constexpr (kSplitRow) {
      const uint8_t* pb = b + 3 * size_t(cell.begin);
      // Two pixels a step: the columns of a cell are rarely fewer.
      for (; pa + 6 <= paEnd; pa += 6, pb += 6) {
        sa[0] += pa[0] + pa[3], sa[1] += pa[1] + pa[4], sa[2] += pa[2] + pa[5];
        sb[0] += uint32_t(pb[0] + pb[3]), sb[1] += uint32_t(pb[1] + pb[4]), sb[2] += uint32_t(pb[2] + pb[5]);
      }
      if (pa < paEnd) {
        sa[0] += pa[0], sa[1] += pa[1], sa[2] += pa[2];
        sb[0] += pb[0], sb[1] += pb[1], sb[2] += pb[2];
      }
    } else {
      for (; pa < paEnd; pa += 3) sa[0] += pa[0], sa[1] += pa[1], sa[2] += pa[2];
    }
    Acc sum[3], next[3];
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ch++) {
      const Acc m = kSplitRow ? Acc(wy) * sb[ch] : 0;  // the next row's share of the split row
      sum[ch] = carry[ch] + left[ch] + k * (sa[ch] + sb[ch]) - m;
      next[ch] = leftNext[ch] + m;
    }
    if (cell.split >= 0) {
      const uint32_t wr = cell.weight, wyr = wy * wr;
      const uint32_t* ar = a + 3 * size_t(cell.split);
#pragma GCC unroll 3
      for (int ch = 0; ch < 3; ch++) {
        const uint32_t v = kSplitRow ? b[3 * size_t(cell.split) + size_t(ch)] : 0;
        const uint32_t t = v * wyr, down = t / 1000, up = (t + 999) / 1000;
        const Acc moved = Acc(wr) * (Acc(ar[ch]) + v);
        sum[ch] = sum[ch] - moved + down;
        next[ch] -= up;
        left[ch] = moved - up;
        leftNext[ch] = down;
      }
    }
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ch++) {
      if (out) *out++ = uint8_t(sum[ch] / state.n);
      carry[ch] = next[ch];
    }
    carry += 3;
  }
}

template <typename Acc>
bool Shrink(const CxImage& src, CxImage& dst, float xScale, float yScale) {
  const long oldW = long(src.GetWidth()), oldH = long(src.GetHeight());
  const long newW = long(dst.GetWidth()), newH = long(dst.GetHeight());
  const std::vector<Cell> cells = MapColumns(oldW, newW, xScale);
  RowState<Acc> state{std::vector<Acc>(3 * cells.size(), 0), Acc(UnitSum(xScale, yScale)), {}, {}, 0};
  if constexpr (kVectorSums<Acc>) PrepareVectorCells(cells, oldW, xScale, yScale, state);
  const size_t rowBytes = 3 * size_t(oldW);
  const std::ptrdiff_t stride = std::ptrdiff_t(src.GetEffWidth());
  std::vector<uint32_t> sums(rowBytes + 1);  // one spare value for the vector form's four-value reads
  long v = 0;           // current destination row
  long firstWhole = 0;  // first source row not yet in sums
  volatile float endY = yScale - 1.0f;
  for (long y = 0; y < oldH; y++) {
    if (src.GetEscape()) return false;
    if (float(y) < endY) continue;  // wholly inside row v: summed when the row closes
    const uint32_t wy = Weight(y, endY);
    SumColumns(src.GetBits(uint32_t(firstWhole)), stride, uint32_t(y - firstWhole), rowBytes, sums.data());
    uint8_t* out = v < newH ? dst.GetBits(uint32_t(v)) : nullptr;
    CloseRow<Acc, true>(cells, sums.data(), src.GetBits(uint32_t(y)), wy, state, out);
    firstWhole = y + 1;
    v++;
    endY = endY + yScale;
  }
  // The inexact boundaries may leave the last row without its split source row.
  if (v < newH) {
    SumColumns(src.GetBits(uint32_t(firstWhole)), stride, uint32_t(oldH - firstWhole), rowBytes, sums.data());
    uint8_t* out = dst.GetBits(uint32_t(v));
    std::fill(out, out + 3 * size_t(newW), uint8_t(0));
    CloseRow<Acc, false>(cells, sums.data(), nullptr, 0, state, out);
  }
  return true;
}

}  // namespace

bool AreaAverage(const CxImage& src, CxImage& dst, float xScale, float yScale) {
  if (!NeedsWideSums(xScale, yScale)) return Shrink<uint32_t>(src, dst, xScale, yScale);
  return Shrink<uint64_t>(src, dst, xScale, yScale);
}

}  // namespace image
}  // namespace qv
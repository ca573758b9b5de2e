// The averaging of AreaAverage, fed one source row at a time from the top.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/AreaAverage.h"
#include "image/AreaAverageCells.h"
#include "image/CxImage.h"
#include "image/PixelKernels.h"
#include "image/VectorCode.h"

namespace qv {
namespace image {
namespace {

using namespace area;

#if QV_HAVE_SSE2_CODE
// Stores all four lanes: where only three belong, the fourth lands on the next cell's first value,
// which is written after it, or on the spare value at the end.
QV_SSE2_FUNCTION inline void StoreFour(uint32_t* p, __m128i v) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), v); }

// The 16-bit sums of a cell's columns [x, last) of row b: two columns a step, their six bytes in
// one eight-byte read that ends inside the boundary column.
QV_SSE2_FUNCTION inline __m128i SumPixels16(const uint8_t* b, size_t x, size_t last) {
  const __m128i zero = _mm_setzero_si128();
  __m128i pairs = zero;
  for (; x + 2 <= last; x += 2)
    pairs = _mm_add_epi16(pairs, _mm_unpacklo_epi8(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(b + 3 * x)), zero));
  __m128i sum = _mm_add_epi16(pairs, _mm_srli_si128(pairs, 6));
  if (x < last) {
    int32_t four;
    __builtin_memcpy(&four, b + 3 * x, 4);
    sum = _mm_add_epi16(sum, _mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero));
  }
  return sum;
}

// ShareSplitRow and then CloseFromShares for the vector cells, in one pass (the factors stay below
// 2^15 as above): the split row b's share for the row above goes straight into that row's sum.
// lower gets the part of b for the row below; out four bytes a cell, the fourth being the next
// cell's first, written after it (the last cell is never a vector cell). Hands the three
// boundary carries of the last vector cell over to the plain form.
//
// kNarrow: every cell holds at most one whole column and every destination row at most one whole
// row (scales below 2, as a picture decoded at a reduced scale leaves them), so that a cell's sums
// need no loops and its whole rows' sum stays below 2^15 for one multiply-add by 1000. narrow
// holds twelve values a cell: all ones in four lanes where the cell has a whole column (zeros
// where not), the cell's four weight lanes, the offsets of its first and its boundary column, and
// two spare values.
template <bool kNarrow>
QV_SSE2_FUNCTION void ShareAndCloseSse2(const uint32_t* a, const uint8_t* b, uint32_t wy, const RowState<uint32_t>& state,
                                        const uint32_t* narrow, const uint32_t* upper, uint32_t* lower, uint8_t* out,
                                        uint32_t* left, uint32_t* leftNext, uint32_t* leftWhole) {
  const __m128i zero = _mm_setzero_si128(), thousand = _mm_set1_epi32(1000);
  const __m128i wyLanes = _mm_set1_epi32(int(wy)), keptLanes = _mm_set1_epi32(int(kAccuracy - wy));
  const __m128d n = _mm_set1_pd(double(state.n));
  __m128i carryLeft = zero, carryLeftNext = zero, carryWhole = zero;
  const uint32_t* spans = state.spans.data();
  const __m128i* weights = reinterpret_cast<const __m128i*>(state.weights.data());
  for (size_t i = 0; i < state.vectorCells; i++, upper += 3, lower += 3, out += 3) {
    // The first column's and the boundary column's offsets (three values a pixel).
    size_t first, last;
    __m128i wr;
    if constexpr (kNarrow) {
      first = narrow[12 * i + 8], last = narrow[12 * i + 9];
      wr = _mm_loadu_si128(reinterpret_cast<const __m128i*>(narrow + 12 * i + 4));
    } else {
      first = 3 * size_t(spans[i]), last = 3 * (size_t(spans[i + 1]) - 1);
      wr = _mm_loadu_si128(weights + i);
    }
    // The split row: its sums, the corner's parts, and the part kept for the row below.
    const __m128i v = PixelLanes(b + last);
    __m128i whole = zero, sb;
    if constexpr (kNarrow) {
      whole = _mm_loadu_si128(reinterpret_cast<const __m128i*>(narrow + 12 * i));
      sb = _mm_add_epi32(_mm_and_si128(PixelLanes(b + first), whole), v);
    } else {
      sb = _mm_add_epi32(_mm_unpacklo_epi16(SumPixels16(b, first / 3, last / 3), zero), v);
    }
    const __m128i moved = _mm_madd_epi16(v, wr);
    __m128i down, up;
    CornerParts(moved, wyLanes, &down, &up);
    const __m128i kept = _mm_sub_epi32(_mm_add_epi32(carryLeft, _mm_madd_epi16(sb, keptLanes)), moved);
    StoreFour(lower, _mm_add_epi32(kept, down));
    const __m128i above = _mm_sub_epi32(_mm_add_epi32(carryLeftNext, _mm_madd_epi16(sb, wyLanes)), up);
    carryLeft = _mm_sub_epi32(moved, up);
    carryLeftNext = down;
    // The whole rows, and the row's pixel.
    const __m128i ar = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + last));
    const __m128i movedWhole = _mm_madd_epi16(ar, wr);
    __m128i sa1000;
    if constexpr (kNarrow) {
      const __m128i sa = _mm_add_epi32(_mm_and_si128(_mm_loadu_si128(reinterpret_cast<const __m128i*>(a + first)), whole), ar);
      sa1000 = _mm_madd_epi16(sa, thousand);
    } else {
      __m128i sa0 = zero, sa1 = zero;
      size_t x = first;
      for (; x + 6 <= last; x += 6) {
        sa0 = _mm_add_epi32(sa0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)));
        sa1 = _mm_add_epi32(sa1, _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x + 3)));
      }
      if (x < last) sa0 = _mm_add_epi32(sa0, _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + x)));
      sa1000 = Times1000(_mm_add_epi32(_mm_add_epi32(sa0, sa1), ar));
    }
    __m128i sum = _mm_add_epi32(above, _mm_loadu_si128(reinterpret_cast<const __m128i*>(upper)));
    sum = _mm_add_epi32(sum, _mm_sub_epi32(_mm_add_epi32(carryWhole, sa1000), movedWhole));
    carryWhole = movedWhole;
    const int32_t bytes = PixelBytes(sum, n);
    __builtin_memcpy(out, &bytes, 4);
  }
  StoreThree(left, carryLeft);
  StoreThree(leftNext, carryLeftNext);
  StoreThree(leftWhole, carryWhole);
}
#endif

// CloseRow in two passes, for rows that arrive from the top: the split row's shares first, while
// the rows of the destination row below it are still to come, and the row's closing later. The
// arithmetic is CloseRow's, regrouped: everything that involves the split row b goes into its
// share for the row above (above[], as CloseRow's next[]) or into below[], the part of the sum of
// the row below; the closing adds the whole rows' sums. Sums that wrap around in 32 bits wrap
// around alike, so the result is CloseRow's byte for byte. Both start at cell `first`, with the
// boundary carries that the cells before it handed over.
template <typename Acc>
void ShareSplitRow(const std::vector<Cell>& cells, size_t first, const uint8_t* b, uint32_t wy, Acc* above, Acc* below,
                   Acc left[3], Acc leftNext[3]) {
  const Acc k = Acc(kAccuracy);
  above += 3 * first, below += 3 * first;
  for (size_t i = first; i < cells.size(); i++, above += 3, below += 3) {
    const Cell& cell = cells[i];
    const size_t last = cell.split >= 0 ? size_t(cell.split) + 1 : size_t(cell.end);
    Acc sb[3] = {0, 0, 0};
    const uint8_t* pb = b + 3 * size_t(cell.begin);
    const uint8_t* pbEnd = b + 3 * last;
    for (; pb + 6 <= pbEnd; pb += 6)
      sb[0] += uint32_t(pb[0] + pb[3]), sb[1] += uint32_t(pb[1] + pb[4]), sb[2] += uint32_t(pb[2] + pb[5]);
    if (pb < pbEnd) sb[0] += pb[0], sb[1] += pb[1], sb[2] += pb[2];
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ch++) {
      const Acc m = Acc(wy) * sb[ch];
      below[ch] = left[ch] + k * sb[ch] - m;
      above[ch] = leftNext[ch] + m;
    }
    if (cell.split >= 0) {
      const uint32_t wr = cell.weight, wyr = wy * wr;
#pragma GCC unroll 3
      for (int ch = 0; ch < 3; ch++) {
        const uint32_t v = b[3 * size_t(cell.split) + size_t(ch)];
        const uint32_t t = v * wyr, down = t / 1000, up = (t + 999) / 1000;
        const Acc moved = Acc(wr) * v;
        below[ch] = below[ch] - moved + down;
        above[ch] -= up;
        left[ch] = moved - up;
        leftNext[ch] = down;
      }
    }
  }
}

// Closes a destination row from a: the column sums of its whole source rows; upper: the part of
// the split row above it (ShareSplitRow's below[], zeros when there is none); and lower: the
// share of the split row below it (ShareSplitRow's above[], zeros for the bottom row).
template <typename Acc>
void CloseFromShares(const std::vector<Cell>& cells, size_t first, const uint32_t* a, const Acc* upper,
                     const Acc* lower, Acc n, Acc left[3], uint8_t* out) {
  const Acc k = Acc(kAccuracy);
  upper += 3 * first, lower += 3 * first, out += 3 * first;
  for (size_t i = first; i < cells.size(); i++, upper += 3, lower += 3) {
    const Cell& cell = cells[i];
    const size_t last = cell.split >= 0 ? size_t(cell.split) + 1 : size_t(cell.end);
    Acc sa[3] = {0, 0, 0};
    for (const uint32_t *pa = a + 3 * size_t(cell.begin), *paEnd = a + 3 * last; pa < paEnd; pa += 3)
      sa[0] += pa[0], sa[1] += pa[1], sa[2] += pa[2];
    Acc sum[3];
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ch++) sum[ch] = upper[ch] + lower[ch] + left[ch] + k * sa[ch];
    if (cell.split >= 0) {
#pragma GCC unroll 3
      for (int ch = 0; ch < 3; ch++) {
        const Acc moved = Acc(cell.weight) * a[3 * size_t(cell.split) + size_t(ch)];
        sum[ch] -= moved;
        left[ch] = moved;
      }
    }
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ch++) *out++ = uint8_t(sum[ch] / n);
  }
}

// Shrink turned around: the rows come from the top, so a destination row is complete when the
// split row below it arrives, which also carries the share that Shrink hands it from the row
// below. Each split row is shared out once, on arrival: the share for the row above closes that
// row at once, the part for the row below waits until that row closes. Only the whole rows of the
// row being gathered are held.
template <typename Acc>
class ShrinkFeed final : public AreaAverageFeed {
 public:
  ShrinkFeed(long oldW, long oldH, CxImage& dst, float xScale, float yScale)
      : dst_(dst),
        newH_(long(dst.GetHeight())),
        cells_(MapColumns(oldW, long(dst.GetWidth()), xScale)),
        rows_(MapRows(oldH, yScale, &current_)),
        // The per-cell buffers and sums hold one spare value for the vector form's four-value
        // reads and writes.
        state_{std::vector<Acc>(3 * cells_.size() + 1, 0), Acc(UnitSum(xScale, yScale)), {}, {}, 0},
        rowBytes_(3 * size_t(oldW)),
        sums_(rowBytes_ + 1, 0),
        held_(rowBytes_ * HeldRowsAtMost() + 1),
        upperPart_(3 * cells_.size() + 1, 0),
        lowerPart_(3 * cells_.size() + 1, 0),
        next_(oldH - 1) {
    if constexpr (kVectorSums<Acc>) {
      PrepareVectorCells(cells_, oldW, xScale, yScale, state_);
      PrepareNarrowCells();
    }
  }

  uint8_t* NextRow() override { return held_.data() + heldRows_ * rowBytes_; }

  void Add(const uint8_t* row) override {
    if (next_ < 0) return;
    uint8_t* slot = NextRow();
    if (row != slot) std::copy(row, row + rowBytes_, slot);
    const SourceRow& r = rows_[size_t(next_--)];
    if (!r.split) {
      if (r.dest < newH_) heldRows_++;
      return;
    }
    if (r.dest < newH_) {
      ShareAndClose(slot, r.wy, r.dest + 1 < newH_);
      upperPart_.swap(lowerPart_);
    }
    current_ = r.dest;
    heldRows_ = 0;
  }

  void Finish() override {
    if (current_ < newH_) {  // the bottom row: no split row below it
      std::fill(state_.carry.begin(), state_.carry.end(), Acc(0));
      Acc left[3] = {0, 0, 0};
      SumHeldRows();
      CloseFromShares(cells_, 0, sums_.data(), upperPart_.data(), state_.carry.data(), state_.n, left, CurrentRow());
    }
    current_ = newH_;
  }

 private:
  // The most rows held at once: a destination row's whole rows and the arriving split row.
  size_t HeldRowsAtMost() const {
    size_t most = 0, run = 0;
    for (const SourceRow& r : rows_) {
      run = r.split ? 0 : run + 1;
      most = std::max(most, run);
    }
    return most + 1;
  }

  // The vector form's narrow case (see ShareAndCloseSse2): its record of every cell, or none
  // where a cell holds more than one whole column or a destination row more than one whole row.
  void PrepareNarrowCells() {
    if (state_.vectorCells == 0 || HeldRowsAtMost() > 2) return;
    std::vector<uint32_t> cells;
    for (size_t i = 0; i < state_.vectorCells; i++) {
      const uint32_t first = state_.spans[i], last = state_.spans[i + 1] - 1, mask = last > first ? ~0u : 0u;
      if (last - first > 1) return;
      const uint32_t* wr = &state_.weights[4 * i];
      cells.insert(cells.end(), {mask, mask, mask, mask, wr[0], wr[1], wr[2], wr[3], 3 * first, 3 * last, 0, 0});
    }
    narrow_ = std::move(cells);
  }

  void SumHeldRows() {
    SumColumns(held_.data(), std::ptrdiff_t(rowBytes_), uint32_t(heldRows_), rowBytes_, sums_.data());
  }
  uint8_t* CurrentRow() { return dst_.GetBits(uint32_t(current_)); }

  // Shares out the split row b that has arrived; when `close`, also closes the current row, which
  // lies above it.
  void ShareAndClose(const uint8_t* b, uint32_t wy, bool close) {
    Acc left[3] = {0, 0, 0}, leftNext[3] = {0, 0, 0}, leftWhole[3] = {0, 0, 0};
    uint8_t* out = close ? CurrentRow() : nullptr;
    if (close) SumHeldRows();
    size_t first = 0;
#if QV_HAVE_SSE2_CODE
    if constexpr (kVectorSums<Acc>) {
      if (close && state_.vectorCells > 0) {
        first = state_.vectorCells;
        if (narrow_.empty())
          ShareAndCloseSse2<false>(sums_.data(), b, wy, state_, nullptr, upperPart_.data(), lowerPart_.data(), out,
                                   left, leftNext, leftWhole);
        else
          ShareAndCloseSse2<true>(sums_.data(), b, wy, state_, narrow_.data(), upperPart_.data(), lowerPart_.data(),
                                  out, left, leftNext, leftWhole);
      }
    }
#endif
    ShareSplitRow(cells_, first, b, wy, state_.carry.data(), lowerPart_.data(), left, leftNext);
    if (close) CloseFromShares(cells_, first, sums_.data(), upperPart_.data(), state_.carry.data(), state_.n, leftWhole, out);
  }

  CxImage& dst_;
  const long newH_;
  const std::vector<Cell> cells_;
  long current_ = 0;  // the destination row being gathered
  const std::vector<SourceRow> rows_;
  RowState<Acc> state_;  // carry: the arriving split row's share for the row above it
  const size_t rowBytes_;
  std::vector<uint32_t> sums_;  // the current row's whole source rows, column by column
  std::vector<uint8_t> held_;   // the current row's whole source rows, then the arriving row
  size_t heldRows_ = 0;
  // The current row's part of the split row above it (zeros when there is none), and the next
  // row's part of the split row being shared out.
  std::vector<Acc> upperPart_, lowerPart_;
  long next_;  // the index of the source row that comes next
  std::vector<uint32_t> narrow_;  // see PrepareNarrowCells; empty when the cells are not narrow
};

}  // namespace

std::unique_ptr<AreaAverageFeed> MakeAreaAverageFeed(uint32_t oldWidth, uint32_t oldHeight, CxImage& dst) {
  const uint32_t newWidth = dst.GetWidth(), newHeight = dst.GetHeight();
  if (dst.GetBpp() != 24 || newWidth == 0 || newHeight == 0 || newWidth >= oldWidth || newHeight >= oldHeight)
    return nullptr;
  // Stored as floats, as Resample hands them over.
  volatile float xStore = float(oldWidth) / float(newWidth), yStore = float(oldHeight) / float(newHeight);
  const float xScale = xStore, yScale = yStore;
  if (NeedsWideSums(xScale, yScale))
    return std::make_unique<ShrinkFeed<uint64_t>>(long(oldWidth), long(oldHeight), dst, xScale, yScale);
  return std::make_unique<ShrinkFeed<uint32_t>>(long(oldWidth), long(oldHeight), dst, xScale, yScale);
}

}  // namespace image
}  // namespace qv

#include "image/AreaAverage.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <vector>

#include "image/CxImage.h"
#include "image/PixelKernels.h"
#include "image/VectorCode.h"

namespace qv {
namespace image {
namespace {

constexpr int64_t kAccuracy = 1000;

// A destination column: the source columns wholly inside it, and the boundary column that it
// shares with the next destination column.
struct Cell {
  uint32_t begin, end;  // whole source columns [begin, end)
  int32_t split;        // the shared boundary column, or -1 for the last cell
  uint32_t weight;      // thousandths of the boundary column that belong to the next cell
};

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
template <typename Acc>
constexpr bool kVectorSums = std::is_same_v<Acc, uint32_t>;

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

// The plain CloseRow's arithmetic for the state's vector cells, the three channels of a cell in
// three lanes. The products go through _mm_madd_epi16, whose factors must stay below 2^15: the
// set-up admits only scales that keep them there (see VectorCellsFor).
QV_SSE2_FUNCTION void CloseCellsSse2(const uint32_t* a, const uint8_t* b, uint32_t wy, RowState<uint32_t>& state,
                                     uint32_t* left, uint32_t* leftNext, uint8_t* out) {
  const __m128i zero = _mm_setzero_si128(), wyLanes = _mm_set1_epi32(int(wy)), low15 = _mm_set1_epi32(0x7FFF);
  const __m128d thousand = _mm_set1_pd(1000.0), n = _mm_set1_pd(double(state.n));
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
    // t = v x wr x wy, the corner's product, with v x wr split at bit 15 for the second factor.
    const __m128i vwr = _mm_madd_epi16(v, wr);
    const __m128i t = _mm_add_epi32(_mm_madd_epi16(_mm_and_si128(vwr, low15), wyLanes),
                                    _mm_slli_epi32(_mm_madd_epi16(_mm_srli_epi32(vwr, 15), wyLanes), 15));
    const __m128i down = DivideLanes(t, thousand);
    const __m128i up = _mm_sub_epi32(down, _mm_cmpgt_epi32(t, Times1000(down)));
    __m128i sum = _mm_add_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(carry)), carryLeft);
    sum = _mm_sub_epi32(_mm_add_epi32(sum, Times1000(_mm_add_epi32(sa, sb))), _mm_add_epi32(m, moved));
    sum = _mm_add_epi32(sum, down);
    StoreThree(carry, _mm_sub_epi32(_mm_add_epi32(carryLeftNext, m), up));
    carryLeft = _mm_sub_epi32(moved, up);
    carryLeftNext = down;
    const __m128i q = DivideLanes(sum, n);
    const int32_t bytes = _mm_cvtsi128_si32(_mm_packus_epi16(_mm_packs_epi32(q, zero), zero));
    __builtin_memcpy(out, &bytes, 3);
  }
  StoreThree(left, carryLeft);
  StoreThree(leftNext, carryLeftNext);
}
#endif

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

// Where a source row goes, found in the order and with the float steps of Shrink.
struct SourceRow {
  long dest;    // the destination row it lies in; for a split row, the lower of its two
  uint32_t wy;  // a split row's thousandths that belong to dest + 1
  bool split;
};

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

// The share of a split row that CloseRow hands on to the next destination row, computed alone:
// CloseRow's next[] terms, which never depend on the whole rows or the carry coming in.
template <typename Acc>
void CarryOfSplitRow(const std::vector<Cell>& cells, const uint8_t* b, uint32_t wy, RowState<Acc>& state) {
  Acc leftNext[3] = {0, 0, 0};
  Acc* carry = state.carry.data();
  for (const Cell& cell : cells) {
    const size_t last = cell.split >= 0 ? size_t(cell.split) + 1 : size_t(cell.end);
    Acc sb[3] = {0, 0, 0};
    const uint8_t* pb = b + 3 * size_t(cell.begin);
    const uint8_t* pbEnd = b + 3 * last;
    for (; pb + 6 <= pbEnd; pb += 6)
      sb[0] += uint32_t(pb[0] + pb[3]), sb[1] += uint32_t(pb[1] + pb[4]), sb[2] += uint32_t(pb[2] + pb[5]);
    if (pb < pbEnd) sb[0] += pb[0], sb[1] += pb[1], sb[2] += pb[2];
    Acc next[3];
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ch++) next[ch] = leftNext[ch] + Acc(wy) * sb[ch];
    if (cell.split >= 0) {
      const uint32_t wyr = wy * cell.weight;
#pragma GCC unroll 3
      for (int ch = 0; ch < 3; ch++) {
        const uint32_t t = uint32_t(b[3 * size_t(cell.split) + size_t(ch)]) * wyr;
        next[ch] -= (t + 999) / 1000;
        leftNext[ch] = t / 1000;
      }
    }
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ch++) carry[ch] = next[ch];
    carry += 3;
  }
}

// Shrink turned around: the rows come from the top, so a destination row is complete when its
// lower split row arrives, which also carries the share that Shrink hands it from the row below.
// The rows of the destination row being gathered are held (the split row above it first) and
// summed when it closes, as Shrink sums them; the sums are integers, so the order of the rows
// changes nothing.
template <typename Acc>
class ShrinkFeed final : public AreaAverageFeed {
 public:
  ShrinkFeed(long oldW, long oldH, CxImage& dst, float xScale, float yScale)
      : dst_(dst),
        newW_(long(dst.GetWidth())),
        newH_(long(dst.GetHeight())),
        cells_(MapColumns(oldW, newW_, xScale)),
        rows_(MapRows(oldH, yScale, &current_)),
        state_{std::vector<Acc>(3 * cells_.size(), 0), Acc(UnitSum(xScale, yScale)), {}, {}, 0},
        rowBytes_(3 * size_t(oldW)),
        sums_(rowBytes_ + 1, 0),  // one spare value for the vector form's four-value reads
        held_(rowBytes_ * HeldRowsAtMost() + 1),
        next_(oldH - 1) {
    if constexpr (kVectorSums<Acc>) PrepareVectorCells(cells_, oldW, xScale, yScale, state_);
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
    if (r.dest + 1 < newH_) Close(slot, r.wy);
    current_ = r.dest;
    heldRows_ = 0;
    hasUpper_ = false;
    if (current_ >= newH_) return;
    if (slot != held_.data()) std::copy(slot, slot + rowBytes_, held_.data());
    heldRows_ = 1;
    upperWy_ = r.wy;
    hasUpper_ = true;
  }

  void Finish() override {
    if (current_ < newH_) Close(nullptr, 0);
    current_ = newH_;
  }

 private:
  // The most rows held at once: a destination row's whole rows, the split row above and the
  // arriving split row below.
  size_t HeldRowsAtMost() const {
    size_t most = 0, run = 0;
    for (const SourceRow& r : rows_) {
      run = r.split ? 0 : run + 1;
      most = std::max(most, run);
    }
    return most + 2;
  }

  // Completes the current row; lower is the split row below it (null for the bottom row).
  void Close(const uint8_t* lower, uint32_t lowerWy) {
    std::fill(state_.carry.begin(), state_.carry.end(), Acc(0));
    if (lower) CarryOfSplitRow(cells_, lower, lowerWy, state_);
    const size_t upperRows = hasUpper_ ? 1 : 0;
    SumColumns(held_.data() + upperRows * rowBytes_, std::ptrdiff_t(rowBytes_), uint32_t(heldRows_ - upperRows),
               rowBytes_, sums_.data());
    uint8_t* out = dst_.GetBits(uint32_t(current_));
    if (hasUpper_) {
      CloseRow<Acc, true>(cells_, sums_.data(), held_.data(), upperWy_, state_, out);
      return;
    }
    // The top row when the inexact boundaries left it without a split row above.
    std::fill(out, out + 3 * size_t(newW_), uint8_t(0));
    CloseRow<Acc, false>(cells_, sums_.data(), nullptr, 0, state_, out);
  }

  CxImage& dst_;
  const long newW_, newH_;
  const std::vector<Cell> cells_;
  long current_ = 0;  // the destination row being gathered
  const std::vector<SourceRow> rows_;
  RowState<Acc> state_;
  const size_t rowBytes_;
  std::vector<uint32_t> sums_;  // the current row's whole source rows, column by column
  std::vector<uint8_t> held_;   // the current row's source rows: the split row above, then the whole ones
  size_t heldRows_ = 0;
  uint32_t upperWy_ = 0;
  bool hasUpper_ = false;
  long next_;  // the index of the source row that comes next
};

bool NeedsWideSums(float xScale, float yScale) {
  // A cell covers at most (xScale + 1) x (yScale + 1) source pixels, each weighing 1000.
  const double most = 1000.0 * 255.0 * (double(xScale) + 2.0) * (double(yScale) + 2.0);
  return most >= 4.0e9;
}

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

bool AreaAverage(const CxImage& src, CxImage& dst, float xScale, float yScale) {
  if (!NeedsWideSums(xScale, yScale)) return Shrink<uint32_t>(src, dst, xScale, yScale);
  return Shrink<uint64_t>(src, dst, xScale, yScale);
}

}  // namespace image
}  // namespace qv

#include "image/AreaAverage.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "image/CxImage.h"
#include "image/PixelKernels.h"

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
// both ways of averaging, so that x87 code (the 32-bit build) cannot round them differently.
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

// The sums that one destination row hands the next: per cell and channel, the next row's share
// of the source row split between them. Acc holds any cell's sum: 32 bits unless the scale is
// enormous.
// v x w / 1000, truncated, for a pixel value v and a weight w in millionths: the four parts of
// a pixel split both ways. With 64-bit registers the weight is taken once as w x M, M =
// ceil(2^38 / 1000), and (v x w x M) >> 38 is exact for every v x w below 2^32; 32-bit x86 keeps
// the plain division, which is cheaper there.
#if UINTPTR_MAX > UINT32_MAX
using PartWeight = uint64_t;
inline PartWeight PreparePart(uint32_t w) { return uint64_t(w) * 274877907u; }
inline uint32_t Part(uint32_t v, PartWeight w) { return uint32_t((v * w) >> 38); }
#else
using PartWeight = uint32_t;
inline PartWeight PreparePart(uint32_t w) { return w; }
inline uint32_t Part(uint32_t v, PartWeight w) { return v * w / 1000; }
#endif

// The sum a destination pixel holds for a source value of 1.
[[gnu::noinline]] int64_t UnitSum(float xScale, float yScale) { return int64_t(float(kAccuracy) * xScale * yScale); }

template <typename Acc>
struct RowState {
  std::vector<Acc> carry;
  Acc n;  // the sum a cell holds for a pixel value of 1
};

// Completes a destination row. a: the column sums of the source rows wholly inside it; b: the
// source row split between it and the next row, with the next row's thousandths wy (null for
// the last row); out: the destination row, or null when it lies past the picture's end.
template <typename Acc, bool kSplitRow>
void CloseRow(const std::vector<Cell>& cells, const uint32_t* a, const uint8_t* b, uint32_t wy, RowState<Acc>& state,
              uint8_t* out) {
  const uint32_t k = uint32_t(kAccuracy), wyKeep = k - wy;
  Acc left[3] = {0, 0, 0}, leftNext[3] = {0, 0, 0};  // handed over by the previous boundary column
  Acc* carry = state.carry.data();
  for (const Cell& cell : cells) {
    Acc sa[3] = {0, 0, 0}, sb[3] = {0, 0, 0};
    const uint32_t* pa = a + 3 * size_t(cell.begin);
    const uint32_t* paEnd = a + 3 * size_t(cell.end);
    if constexpr (kSplitRow) {
      const uint8_t* pb = b + 3 * size_t(cell.begin);
      // Two pixels a step: the whole columns of a cell are rarely fewer.
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
      sum[ch] = carry[ch] + left[ch] + k * sa[ch] + (kSplitRow ? wyKeep * sb[ch] : 0);
      next[ch] = leftNext[ch] + (kSplitRow ? wy * sb[ch] : 0);
    }
    if (cell.split >= 0) {
      const uint32_t wr = cell.weight, wrKeep = k - wr;
      // The four parts of a pixel split both ways, each truncated on its own.
      const PartWeight keepKeep = PreparePart(wyKeep * wrKeep), nextKeep = PreparePart(wy * wrKeep);
      const PartWeight keepRight = PreparePart(wyKeep * wr), nextRight = PreparePart(wy * wr);
      const uint32_t* ar = a + 3 * size_t(cell.split);
#pragma GCC unroll 3
      for (int ch = 0; ch < 3; ch++) {
        sum[ch] += Acc(wrKeep) * ar[ch];
        left[ch] = Acc(wr) * ar[ch];
        leftNext[ch] = 0;
        if constexpr (kSplitRow) {
          const uint32_t v = b[3 * size_t(cell.split) + size_t(ch)];
          sum[ch] += Part(v, keepKeep);
          next[ch] += Part(v, nextKeep);
          left[ch] += Part(v, keepRight);
          leftNext[ch] = Part(v, nextRight);
        }
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
  RowState<Acc> state{std::vector<Acc>(3 * cells.size(), 0), Acc(UnitSum(xScale, yScale))};
  const size_t rowBytes = 3 * size_t(oldW);
  const std::ptrdiff_t stride = std::ptrdiff_t(src.GetEffWidth());
  std::vector<uint32_t> sums(rowBytes);
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
// the same terms as CloseRow's next[] (which never depend on the whole rows or the carry in).
template <typename Acc>
void CarryOfSplitRow(const std::vector<Cell>& cells, const uint8_t* b, uint32_t wy, RowState<Acc>& state) {
  const uint32_t k = uint32_t(kAccuracy);
  Acc leftNext[3] = {0, 0, 0};
  Acc* carry = state.carry.data();
  for (const Cell& cell : cells) {
    Acc sb[3] = {0, 0, 0};
    const uint8_t* pb = b + 3 * size_t(cell.begin);
    const uint8_t* pbEnd = b + 3 * size_t(cell.end);
    for (; pb + 6 <= pbEnd; pb += 6)
      sb[0] += uint32_t(pb[0] + pb[3]), sb[1] += uint32_t(pb[1] + pb[4]), sb[2] += uint32_t(pb[2] + pb[5]);
    if (pb < pbEnd) sb[0] += pb[0], sb[1] += pb[1], sb[2] += pb[2];
    Acc next[3];
#pragma GCC unroll 3
    for (int ch = 0; ch < 3; ch++) next[ch] = leftNext[ch] + wy * sb[ch];
    if (cell.split >= 0) {
      const uint32_t wr = cell.weight, wrKeep = k - wr;
      const PartWeight nextKeep = PreparePart(wy * wrKeep), nextRight = PreparePart(wy * wr);
#pragma GCC unroll 3
      for (int ch = 0; ch < 3; ch++) {
        const uint32_t v = b[3 * size_t(cell.split) + size_t(ch)];
        next[ch] += Part(v, nextKeep);
        leftNext[ch] = Part(v, nextRight);
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
        state_{std::vector<Acc>(3 * cells_.size(), 0), Acc(UnitSum(xScale, yScale))},
        rowBytes_(3 * size_t(oldW)),
        sums_(rowBytes_, 0),
        held_(rowBytes_ * HeldRowsAtMost()),
        next_(oldH - 1) {}

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

// The reordering rules of the list pages, on positions only: given which rows are selected, the
// new order of the rows as a list of old positions (order[new] = old). A selection block that
// already touches the top (Top, Up) or the bottom (Down, Bottom) moves nothing, even with gaps.
#pragma once

#include <vector>

namespace qv {

using RowOrder = std::vector<int>;

// Every selected row to the top, in its order; the others keep theirs below.
RowOrder MoveRowsTop(const std::vector<bool>& selected);
// Every selected row to the bottom, in its order.
RowOrder MoveRowsBottom(const std::vector<bool>& selected);
// Each selected row, from the top, swaps with the row above it.
RowOrder MoveRowsUp(const std::vector<bool>& selected);
// Each selected row, from the bottom, swaps with the row below it.
RowOrder MoveRowsDown(const std::vector<bool>& selected);
// The rows in reverse order.
RowOrder ReversedRows(int count);
// True when order keeps every row in place.
bool IsIdentity(const RowOrder& order);

}  // namespace qv

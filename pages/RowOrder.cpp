#include "pages/RowOrder.h"

#include <cstddef>
#include <utility>

namespace qv {
namespace {

RowOrder Identity(std::size_t n) {
  RowOrder order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = static_cast<int>(i);
  return order;
}

int FirstSelected(const std::vector<bool>& selected) {
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (selected[i]) return static_cast<int>(i);
  return -1;
}

}  // namespace

RowOrder MoveRowsTop(const std::vector<bool>& selected) {
  const int first = FirstSelected(selected);
  if (first <= 0) return Identity(selected.size());
  RowOrder order;
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (selected[i]) order.push_back(static_cast<int>(i));
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (!selected[i]) order.push_back(static_cast<int>(i));
  return order;
}

RowOrder MoveRowsBottom(const std::vector<bool>& selected) {
  if (selected.empty() || selected.back() || FirstSelected(selected) < 0)
    return Identity(selected.size());
  RowOrder order;
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (!selected[i]) order.push_back(static_cast<int>(i));
  for (std::size_t i = 0; i < selected.size(); ++i)
    if (selected[i]) order.push_back(static_cast<int>(i));
  return order;
}

RowOrder MoveRowsUp(const std::vector<bool>& selected) {
  RowOrder order = Identity(selected.size());
  if (FirstSelected(selected) <= 0) return order;
  for (std::size_t r = 1; r < selected.size(); ++r)
    if (selected[r]) std::swap(order[r], order[r - 1]);
  return order;
}

RowOrder MoveRowsDown(const std::vector<bool>& selected) {
  RowOrder order = Identity(selected.size());
  if (selected.empty() || selected.back() || FirstSelected(selected) < 0) return order;
  for (std::size_t r = selected.size() - 1; r-- > 0;)
    if (selected[r]) std::swap(order[r], order[r + 1]);
  return order;
}

RowOrder ReversedRows(int count) {
  RowOrder order;
  for (int i = count - 1; i >= 0; --i) order.push_back(i);
  return order;
}

bool IsIdentity(const RowOrder& order) {
  for (std::size_t i = 0; i < order.size(); ++i)
    if (order[i] != static_cast<int>(i)) return false;
  return true;
}

}  // namespace qv

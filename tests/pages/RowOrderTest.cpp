#include "pages/RowOrder.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// Rows W X Y Z; `marks` has an 'x' for each selected row.
std::string Apply(qv::RowOrder (*move)(const std::vector<bool>&), const char* marks) {
  const std::string rows = "WXYZ";
  std::vector<bool> selected;
  for (const char* m = marks; *m; ++m) selected.push_back(*m == 'x');
  qv::RowOrder order = move(selected);
  std::string out;
  for (int old : order) out += rows[old];
  return out;
}

TEST(RowOrder, MovesFollowTheSelectionRules) {
  struct Case {
    const char* marks;
    const char* up;
    const char* top;
    const char* down;
    const char* bottom;
  } cases[] = {
      // X and Z: the last row is selected, so Down and Bottom move nothing.
      {".x.x", "XWZY", "XZWY", "WXYZ", "WXYZ"},
      {".xx.", "XYWZ", "XYWZ", "WZXY", "WZXY"},
      // W and Y: the first row is selected, so Up and Top move nothing.
      {"x.x.", "WXYZ", "WXYZ", "XWZY", "XZWY"},
      {"....", "WXYZ", "WXYZ", "WXYZ", "WXYZ"},
      {"..x.", "WYXZ", "YWXZ", "WXZY", "WXZY"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Apply(&qv::MoveRowsUp, c.marks), c.up) << c.marks;
    EXPECT_EQ(Apply(&qv::MoveRowsTop, c.marks), c.top) << c.marks;
    EXPECT_EQ(Apply(&qv::MoveRowsDown, c.marks), c.down) << c.marks;
    EXPECT_EQ(Apply(&qv::MoveRowsBottom, c.marks), c.bottom) << c.marks;
  }
}

TEST(RowOrder, EmptyListsAndReversal) {
  EXPECT_TRUE(qv::MoveRowsTop({}).empty());
  EXPECT_TRUE(qv::MoveRowsBottom({}).empty());
  EXPECT_TRUE(qv::MoveRowsDown({}).empty());
  EXPECT_EQ(qv::ReversedRows(3), (qv::RowOrder{2, 1, 0}));
  EXPECT_TRUE(qv::IsIdentity(qv::MoveRowsUp({true, false})));
  EXPECT_FALSE(qv::IsIdentity(qv::ReversedRows(2)));
}

}  // namespace

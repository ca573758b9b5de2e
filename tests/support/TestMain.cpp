// The main of every GoogleTest program here. A run in which a test skipped itself and none failed
// ends with kSkippedExit, which CTest reports as skipped: a skip must show in the test command's
// total, never pass for a success. Failures still end with 1.
#include <gtest/gtest.h>

#include "tests/support/TestMain.h"

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (RUN_ALL_TESTS() != 0) return 1;
  return testing::UnitTest::GetInstance()->skipped_test_count() > 0 ? qvtest::kSkippedExit : 0;
}

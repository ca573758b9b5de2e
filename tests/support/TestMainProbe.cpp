// A GoogleTest program over the shared test main, run by the test qv_test_main_exit_codes with
// one filter per case; it is not a test of its own.
#include <gtest/gtest.h>

TEST(Probe, Passes) { SUCCEED(); }
TEST(Probe, Skips) { GTEST_SKIP() << "skipped on purpose"; }
TEST(Probe, Fails) { FAIL() << "failed on purpose"; }

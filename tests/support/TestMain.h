// The exit code of a test program whose run skipped a test and failed none (CTest's
// SKIP_RETURN_CODE of every GoogleTest program; keep in step with cmake/Quorvex.cmake).
#pragma once

namespace qvtest {
constexpr int kSkippedExit = 77;
}

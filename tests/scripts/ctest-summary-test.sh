#!/usr/bin/env bash
# Feeds scripts/ctest-summary.sh the output of real ctest runs over a small project with a test
# that passes, one that fails, one that skips itself, one that is disabled, and one that cannot
# run, and checks the totals that the test command's closing line reports.
set -uo pipefail
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
source "$ROOT/scripts/ctest-summary.sh"
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cat >"$WORK/CMakeLists.txt" <<'PROJECT'
cmake_minimum_required(VERSION 3.20)
project(summary NONE)
enable_testing()
add_test(NAME passes COMMAND true)
add_test(NAME fails COMMAND false)
add_test(NAME skips COMMAND sh -c "exit 77")
set_tests_properties(skips PROPERTIES SKIP_RETURN_CODE 77)
add_test(NAME disabled COMMAND true)
set_tests_properties(disabled PROPERTIES DISABLED ON)
add_test(NAME missing COMMAND /nonexistent/program)
PROJECT
cmake -S "$WORK" -B "$WORK/build" >/dev/null 2>&1 || { echo "cannot configure"; exit 1; }

failures=0
check() {  # check NAME PASSED FAILED SKIPPED
  if [ "$passed $failed $skipped" != "$2 $3 $4" ]; then
    echo "FAIL [$1]: passed=$passed failed=$failed skipped=$skipped, expected $2 $3 $4"
    sed 's/^/    | /' "$WORK/log"
    failures=$((failures + 1))
  fi
}
run() { (cd "$WORK/build" && ctest "$@") >"$WORK/log" 2>&1; }

passed=0 failed=0 skipped=0
run
count_ctest "$WORK/log"
check "all five" 1 2 2

# The totals add up over several runs, as the test command's three are.
run -R '^passes$'
count_ctest "$WORK/log"
check "added to the first" 2 2 2

passed=0 failed=0 skipped=0
run -R nothing-matches
count_ctest "$WORK/log"
check "no test selected" 0 0 0

passed=0 failed=0 skipped=0
echo "ctest: crashed before its summary" >"$WORK/log"
count_ctest "$WORK/log"
check "no summary" 0 1 0

if [ "$failures" -gt 0 ]; then echo "ctest-summary-test: $failures failed"; exit 1; fi
echo "ctest-summary-test: all cases passed"

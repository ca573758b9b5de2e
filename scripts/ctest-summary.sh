# Sourced by scripts/test.sh: reads one ctest run's output into the totals passed, failed and
# skipped (the caller sets them to 0 first).

# count_ctest LOG: adds a ctest run's results to the totals. ctest counts a skipped test among the
# passed ones and leaves a disabled one out of its total; both are listed as not run.
count_ctest() {
  local line; line=$(grep -E 'tests passed, [0-9]+ tests failed out of [0-9]+' "$1" | tail -1)
  if [ -z "$line" ]; then
    grep -q 'No tests were found' "$1" || failed=$((failed + 1))
    return
  fi
  local total f s d
  total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$line")
  f=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  s=$(grep -cE '^\s+[0-9]+ - .* \(Skipped\)$' "$1")
  d=$(grep -cE '^\s+[0-9]+ - .* \(Disabled\)$' "$1")
  passed=$((passed + total - f - s)); failed=$((failed + f)); skipped=$((skipped + s + d))
}

#!/usr/bin/env bash
# The benchmark, on small generated files: its report holds every figure it
# promises, as numbers (the figures themselves are not judged).
# The fixtures stand in for the real exports of the batch and the largest.
# Usage: benchmark_test.sh VORLANE_BENCH WORK_DIR FIXTURES_DIR
set -uo pipefail
report=$("$1" --runs 1 --pairs 2 --sizes 0.2,0.5 --dense 1000 --work "$2" --real "$3") ||
  { echo "FAILED: the benchmark"; exit 1; }
echo "$report"
number='[0-9]+\.[0-9]+'
failures=0
expect() {  # expect DESCRIPTION EXTENDED_REGEX [COUNT]
  local found
  found=$(grep -cE "$2" <<<"$report")
  if [ "$found" -ne "${3:-1}" ]; then echo "FAILED: $1"; failures=$((failures + 1)); fi
}
expect "a row of nine figures per file: MB, CPU and wall of both, their ratios, peak and RSS per MB" \
  "^(generated_0\.2mb_whole_map|generated_0\.5mb_whole_map|dense_1000|real_[^ ]+)\.vfk( +$number){9}\$" 4
expect "the growth from the smallest file to the largest" \
  "^growth from 0\.2 MB to 0\.5 MB: $number""x the input, $number""x the cpu time\$"
expect "the cost of the exact and the DXF drawing, of a large file, the dense one and the largest real one" \
  "^(exact|DXF) drawing of (generated_0\.5mb_whole_map|dense_1000|real_[^ ]+)\.vfk: cpu $number s against $number s, $number""x the default drawing \(middle half $number""x to $number""x, 2 pairs\); peak $number MB, $number""x the input\$" 6
expect "the batch on every core against one file after another" \
  "^batch of 200 copies of [0-9]+ real exports, $number MB: -j [0-9]+ wall $number s against -j 1 $number s, $number""x\$"
expect "the chaining of one large parcel" "^one parcel of 100000 boundaries .*: chained in $number s\$"
exit $((failures > 0))

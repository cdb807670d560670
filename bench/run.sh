#!/usr/bin/env bash
# Measures the scan (and the whole zeptor run, once built) against `wc -l`
# on a generated print file held in the page cache.
#
#   bench/run.sh [BUILD_DIR] [MEGABYTES]
set -euo pipefail
build=${1:-build}
megabytes=${2:-256}
file=${TMPDIR:-/tmp}/zeptor-bench-${megabytes}.prt

[ -f "$file" ] || "$build/bench/make_print_file" "$file" "$megabytes"
cat "$file" >/dev/null  # into the page cache

# Best wall time in seconds of five runs of a command.
best() {
  local best_time=""
  for _ in 1 2 3 4 5; do
    local start end took
    start=$(date +%s.%N)
    "$@" >/dev/null
    end=$(date +%s.%N)
    took=$(awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f", b - a }')
    best_time=$(awk -v t="$took" -v b="$best_time" \
      'BEGIN { print (b == "" || t < b) ? t : b }')
  done
  echo "$best_time"
}

bytes=$(stat -c %s "$file")
wc_time=$(best wc -l "$file")
scan_time=$(best "$build/bench/scan_bench" "$file" 1)
report() {
  awk -v name="$1" -v t="$2" -v bytes="$bytes" -v wc="$wc_time" 'BEGIN {
    printf "%-8s %8.3f s %9.1f MB/s %6.2fx wc -l\n", name, t, bytes / t / 1e6, t / wc
  }'
}
echo "file: $file ($bytes bytes)"
report "wc -l" "$wc_time"
report "scan" "$scan_time"
if [ -x "$build/zeptor" ]; then
  out=${TMPDIR:-/tmp}/zeptor-bench.rpt
  zeptor_time=$(best "$build/zeptor" "$file" "$out")
  report "zeptor" "$zeptor_time"
fi

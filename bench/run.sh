#!/usr/bin/env bash
# Times a whole zeptor run on a generated print file held in the page cache
# against `wc -l` and against the plain read of the same file in 256 KiB
# blocks (dd), the floor every reader pays, and zeptor-pairs (its CSV to
# /dev/null) against zeptor. They are timed one after the other in each
# round, and each round's ratios are paired; the medians are printed.
# ZEPTOR_OTHER names a second zeptor binary (an earlier build, say) to time
# in the same rounds, so that the two are paired too. Last, the peak memory
# of both programs on a 1 MiB file and on this one.
#
#   bench/run.sh [BUILD_DIR] [MEGABYTES] [ROUNDS]
set -euo pipefail
build=${1:-build}
megabytes=${2:-1024}
rounds=${3:-11}
file=${TMPDIR:-/tmp}/zeptor-bench-${megabytes}.prt
small=${TMPDIR:-/tmp}/zeptor-bench-1.prt
out=${TMPDIR:-/tmp}/zeptor-bench.rpt
other=${ZEPTOR_OTHER:-}

[ -f "$file" ] || "$build/bench/make_print_file" "$file" "$megabytes"
[ -f "$small" ] || "$build/bench/make_print_file" "$small" 1
cat "$file" >/dev/null # into the page cache

# Wall time of a command in seconds, its output dropped.
seconds() {
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  local end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f\n", b - a }'
}

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo "file: $file ($(stat -c %s "$file") bytes), $rounds rounds"
echo "cpu:  ${cpu:-unknown}"
for _ in $(seq "$rounds"); do
  echo "$(seconds "$build/zeptor" "$file" "$out")" \
    "$(seconds wc -l "$file")" \
    "$(seconds dd if="$file" of=/dev/null bs=256k)" \
    "$(if [ -n "$other" ]; then seconds "$other" "$file" "$out"; else echo 0; fi)" \
    "$(seconds "$build/zeptor-pairs" "$file")"
done | awk -v other="$other" '
  function median(values, n,    i, j, t) {
    for (i = 1; i <= n; i++)
      for (j = i + 1; j <= n; j++)
        if (values[j] < values[i]) { t = values[i]; values[i] = values[j]; values[j] = t }
    return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
  }
  { n++; z[n] = $1; w[n] = $2; d[n] = $3; o[n] = $4; p[n] = $5
    rw[n] = $1 / $2; rd[n] = $1 / $3; ro[n] = $4 / $3; rz[n] = $1 / ($4 ? $4 : 1)
    rp[n] = $5 / $1 }
  END {
    printf "%-8s %9s %9s %9s %10s %10s\n", "", "zeptor", "wc -l", "read",
      "vs wc -l", "vs read"
    printf "%-8s %8.3fs %8.3fs %8.3fs %9.2fx %9.2fx\n", "this", median(z, n),
      median(w, n), median(d, n), median(rw, n), median(rd, n)
    if (other != "") {
      printf "%-8s %8.3fs %29s %9.2fx\n", "other", median(o, n), "",
        median(ro, n)
      printf "this / other, paired: %.3f\n", median(rz, n)
    }
    printf "zeptor-pairs %.3fs; zeptor-pairs / zeptor, paired: %.3f\n",
      median(p, n), median(rp, n)
  }'

if [ -x /usr/bin/time ]; then
  # Peak resident memory in KiB.
  peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
  echo "peak memory, 1 MiB / this file:" \
    "zeptor $(peak "$build/zeptor" "$small" "$out") /" \
    "$(peak "$build/zeptor" "$file" "$out") KiB," \
    "zeptor-pairs $(peak "$build/zeptor-pairs" "$small") /" \
    "$(peak "$build/zeptor-pairs" "$file") KiB"
else
  echo "peak memory: not measured (no /usr/bin/time; apt-get install time)"
fi

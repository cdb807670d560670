#!/usr/bin/env bash
# Times a whole zeptor run on large print files held in the page cache
# against the plain read of the same file in 256 KiB blocks (dd), the floor
# every reader pays, and against `wc -l`; and zeptor-pairs (its CSV to
# /dev/null) against zeptor. Two files: one of bench/make_print_file (page
# headings, eight lines an observation) and, where ../shared/perf is
# beside the checkout, a dense one of its make_dense_print_file.py (an
# observation in every 10 to 20 lines), whose scan_prototype is then timed
# too. The commands run one after the other in each round, each round's
# ratios are paired, and the medians printed. ZEPTOR_OTHER names a second
# zeptor binary (an earlier build, say) to time in the same rounds, paired
# with this one; ZEPTOR_OTHER_PAIRS likewise for zeptor-pairs. Last, the
# peak memory of both programs on a 1 MiB file and on the large ones.
#
#   bench/run.sh [BUILD_DIR] [MEGABYTES] [ROUNDS]
set -euo pipefail
build=${1:-build}
megabytes=${2:-1024}
rounds=${3:-11}
tmp=${TMPDIR:-/tmp}
small=$tmp/zeptor-bench-1.prt
out=$tmp/zeptor-bench.rpt
other=${ZEPTOR_OTHER:-}
other_pairs=${ZEPTOR_OTHER_PAIRS:-}
perf=$(cd "$(dirname "$0")/../.." && pwd)/shared/perf

files=("$tmp/zeptor-bench-${megabytes}.prt")
[ -f "${files[0]}" ] || "$build/bench/make_print_file" "${files[0]}" "$megabytes"
[ -f "$small" ] || "$build/bench/make_print_file" "$small" 1
prototype=""
if [ -d "$perf" ]; then
  dense=$tmp/zeptor-dense-${megabytes}.prt
  [ -f "$dense" ] || python3 "$perf/make_dense_print_file.py" "$megabytes" "$dense"
  files+=("$dense")
  prototype=$tmp/zeptor-scan-prototype
  [ "$prototype" -nt "$perf/scan_prototype.cc" ] ||
    g++ -O2 -o "$prototype" "$perf/scan_prototype.cc"
else
  echo "no $perf: the dense file and the prototype are left out"
fi

# Wall time of a command in seconds, its output dropped; 0 for none.
seconds() {
  if [ -z "$1" ]; then echo 0; return; fi
  local start=$EPOCHREALTIME
  "$@" >/dev/null 2>&1
  local end=$EPOCHREALTIME
  awk -v a="$start" -v b="$end" 'BEGIN { printf "%.6f\n", b - a }'
}

cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
echo "cpu: ${cpu:-unknown}, $rounds rounds, medians"
for file in "${files[@]}"; do
  cat "$file" >/dev/null # into the page cache
  echo
  echo "$file ($(stat -c %s "$file") bytes)"
  for _ in $(seq "$rounds"); do
    echo "$(seconds "$build/zeptor" "$file" "$out")" \
      "$(seconds dd if="$file" of=/dev/null bs=256k)" \
      "$(seconds wc -l "$file")" \
      "$(seconds "$other" "$file" "$out")" \
      "$(seconds "$prototype" "$file")" \
      "$(seconds "$build/zeptor-pairs" "$file")" \
      "$(seconds "$other_pairs" "$file")"
  done | awk -v other="$other" -v prototype="$prototype" \
      -v other_pairs="$other_pairs" '
    function median(values, n,    i, j, t) {
      for (i = 1; i <= n; i++)
        for (j = i + 1; j <= n; j++)
          if (values[j] < values[i]) { t = values[i]; values[i] = values[j]; values[j] = t }
      return n % 2 ? values[(n + 1) / 2] : (values[n / 2] + values[n / 2 + 1]) / 2
    }
    function row(name, time, ratio) {
      printf "%-22s %8.3fs %9.2fx\n", name, time, ratio
    }
    { n++; z[n] = $1; d[n] = $2; w[n] = $3; o[n] = $4; s[n] = $5; p[n] = $6
      q[n] = $7
      rz[n] = $1 / $2; rw[n] = $3 / $2; ro[n] = $4 / $2; rs[n] = $5 / $2
      zo[n] = $1 / ($4 ? $4 : 1); pz[n] = $6 / $1; pq[n] = $6 / ($7 ? $7 : 1) }
    END {
      printf "%-22s %9s %10s\n", "", "time", "vs dd"
      row("dd bs=256k", median(d, n), 1)
      row("wc -l", median(w, n), median(rw, n))
      row("zeptor", median(z, n), median(rz, n))
      if (other != "") row("other zeptor", median(o, n), median(ro, n))
      if (prototype != "") row("scan_prototype", median(s, n), median(rs, n))
      if (other != "") printf "zeptor / other, paired: %.3f\n", median(zo, n)
      printf "zeptor-pairs %.3fs; zeptor-pairs / zeptor, paired: %.3f\n",
        median(p, n), median(pz, n)
      if (other_pairs != "")
        printf "zeptor-pairs / other zeptor-pairs, paired: %.3f\n", median(pq, n)
    }'
done

echo
if [ -x /usr/bin/time ]; then
  # Peak resident memory in KiB.
  peak() { /usr/bin/time -f %M "$@" 2>&1 >/dev/null | tail -1; }
  for file in "$small" "${files[@]}"; do
    echo "peak memory, $(basename "$file"): zeptor" \
      "$(peak "$build/zeptor" "$file" "$out") KiB, zeptor-pairs" \
      "$(peak "$build/zeptor-pairs" "$file") KiB"
  done
else
  echo "peak memory: not measured (no /usr/bin/time; apt-get install time)"
fi

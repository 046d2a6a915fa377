#!/usr/bin/env bash
# Runs the outline walk's fuzz target far longer than the test run does and
# prints its figures: runs, time, executions per second, coverage reached.
#   glyphtrace/benchmark.sh [RUNS] [NATIVE_BUILD_DIR]
# The native build (clang, -DSANITIZE=ON) must exist; the default is build/native.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
runs=${1:-2000000}
build=${2:-$root/build/native}
fuzzer=$build/bin/glyphtrace_outline_fuzz
[ -x "$fuzzer" ] || { echo "benchmark: no $fuzzer; build the native tree first" >&2; exit 1; }

work=$(mktemp -d /tmp/glyphtrace-fuzz.XXXXXX)
trap 'rm -rf "$work"' EXIT
corpus=$work/corpus log=$work/log
mkdir "$corpus"
started=$(date +%s.%N)
"$fuzzer" -runs="$runs" -seed=1 -max_len=16002 -print_final_stats=1 "$corpus" >"$log" 2>&1 || {
  tail -40 "$log"; echo "benchmark: the fuzz target failed" >&2; exit 1; }
ended=$(date +%s.%N)

cov=$(grep -o 'cov: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
ft=$(grep -o 'ft: [0-9]*' "$log" | tail -1 | cut -d' ' -f2)
awk -v runs="$runs" -v s="$started" -v e="$ended" -v cov="$cov" -v ft="$ft" -v n="$(ls "$corpus" | wc -l)" \
  'BEGIN { t = e - s; printf "glyphtrace_outline_fuzz: %d runs in %.1f s, %.0f runs/s, coverage %s edges, %s features, corpus %d inputs\n", runs, t, runs / t, cov, ft, n }'
grep -E '^stat::(peak_rss_mb|slowest_unit_time_sec)' "$log" || true

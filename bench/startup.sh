#!/usr/bin/env bash
# Start-up time (process start to the end of the first frame) over 20 runs,
# and the CPU use of an idle game over 10 seconds, under a private Xvfb.
# Needs a build with tests: tools/test.sh (or cmake --build build).
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
. tools/dev/xvfb.sh
start_private_display

times=()
for _ in $(seq 1 20); do
  out=$(mktemp)
  start=$(date +%s.%N)
  LD_PRELOAD="$PWD/$build/tests/libglut_trace.so" "$build/tests/e2e_window_size" >"$out" 2>&1 &
  pid=$!
  for _ in $(seq 1 500); do grep -q "first frame" "$out" && break; sleep 0.01; done
  first=$(sed -n 's/.*first frame \([0-9.]*\).*/\1/p' "$out")
  kill "$pid"; wait "$pid" 2>/dev/null || true
  times+=("$(awk -v a="$start" -v b="$first" 'BEGIN {print (b - a) * 1000}')")
  rm -f "$out"
done
printf '%s\n' "${times[@]}" | sort -n | awk '{a[NR]=$1} END {printf "start-up to first frame: median %.1f ms (min %.1f, max %.1f, %d runs)\n", (a[10]+a[11])/2, a[1], a[NR], NR}'

"$build/tests/e2e_window_size" >/dev/null 2>&1 &
pid=$!
sleep 2
ticks=$(getconf CLK_TCK)
before=$(awk '{print $14 + $15}' "/proc/$pid/stat")
sleep 10
after=$(awk '{print $14 + $15}' "/proc/$pid/stat")
kill "$pid"; wait "$pid" 2>/dev/null || true
awk -v t=$((after - before)) -v hz="$ticks" 'BEGIN {printf "idle game: %.1f%% of one core over 10 s\n", t * 100 / hz / 10}'

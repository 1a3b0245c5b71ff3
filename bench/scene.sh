#!/usr/bin/env bash
# Scene S(N) in a real window under a private Xvfb, with each renderer: the
# median time of 100 frames from the start of the display callback to the end
# of its present (glFinish included), after 20 frames to warm up.
#   bench/scene.sh [build-dir]    (a build configured with -DVINDLE_BENCH=ON)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-bench}"
. tools/dev/xvfb.sh
start_private_display

declare -A median
for n in 10 100 1000; do
  for renderer in cpu gl; do
    out=$(mktemp)
    VINDLE_RENDERER=$renderer BENCH_N=$n LD_PRELOAD="$PWD/$build/bench/libbench_frame_timer.so" \
      "$build/bench/bench_scene_game" >"$out" 2>&1 &
    pid=$!
    for _ in $(seq 1 1200); do grep -q "^\[frames\]" "$out" && break; sleep 0.1; done
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
    median[$n,$renderer]=$(sed -n 's/^\[frames\] [0-9]* median \([0-9.]*\) ms/\1/p' "$out" | head -1)
    rm -f "$out"
  done
done
printf '%6s %12s %12s %8s\n' N "cpu (ms)" "gl (ms)" "gl/cpu"
for n in 10 100 1000; do
  awk -v n="$n" -v c="${median[$n,cpu]:-nan}" -v g="${median[$n,gl]:-nan}" \
    'BEGIN {printf "%6d %12.3f %12.3f %8.1f\n", n, c, g, (c > 0 ? g / c : 0)}'
done

#!/usr/bin/env bash
# Scene S(N) in a real window under a private Xvfb, with each renderer and as a
# bare blit of the same scene without the engine (bench_bare_blit): the median
# time of 100 frames from the start of the display callback to the end of its
# present (glFinish included), after 20 frames to warm up, and in brackets the
# processor time of the drawing thread, which other work on the machine
# disturbs less (the X server's share of the present is not in it). Each is
# run REPEAT times (default 3), the configurations taking turns, and the
# median of the runs is shown; the load average is printed before and after,
# as other work slows every figure.
#   bench/scene.sh [build-dir [baseline-build-dir]]
# Both builds configured with -DVINDLE_BENCH=ON; a baseline build (another
# checkout) adds its compositor's figures as a column.
# On a machine of three or more processors the X server is kept on the first
# and the programs timed on the others, as a display's own hardware would do
# its copy beside the game: sharing one processor with the server's copy of
# every frame slows a frame by a millisecond or more, depending on where the
# scheduler happens to put them. With two, that would put the game's two
# threads on one processor, which slows it as much: PIN=1 does so all the
# same, PIN=0 never pins.
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-bench}"
baseline="${2:-}"
repeat="${REPEAT:-3}"
. tools/dev/xvfb.sh
start_private_display
pin=()
least=3
[ "${PIN:-}" = 1 ] && least=2
if [ "${PIN:-}" != 0 ] && [ "$(nproc)" -ge "$least" ]; then
  taskset -p -c 0 "$XVFB_PID" >/dev/null
  pin=(taskset -c "1-$(($(nproc) - 1))")
fi

# Runs a program that prints "[frames] 100 median X ms, thread time Y ms"
# (an older build's timer prints no thread time); prints "X Y".
frame_median() {
  local out pid
  out=$(mktemp)
  "$@" >"$out" 2>&1 &
  pid=$!
  for _ in $(seq 1 1200); do grep -q "^\[frames\]" "$out" && break; kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null || true
  sed -En 's/^\[frames\] [0-9]+ median ([0-9.]+) ms(, thread time ([0-9.]+) ms)?.*/\1 \3/p' "$out" | head -1
  rm -f "$out"
}

# The medians of runs given one a line ("wall thread"): "wall thread".
median_of_runs() {
  local middle='$1 != "" {v[++k] = $1} END {if (!k) printf "nan"; else printf "%s", (k % 2 ? v[(k + 1) / 2] : (v[k / 2] + v[k / 2 + 1]) / 2)}'
  local runs
  runs=$(cat)
  printf '%s\n' "$runs" | cut -d' ' -f1 | sort -g | awk "$middle"
  printf ' '
  printf '%s\n' "$runs" | cut -d' ' -f2 | sort -g | awk "$middle"
  echo
}

# Run in the background by frame_median: the game takes the subshell's place,
# so the kill that ends a run ends the game, not only the shell around it.
engine() {  # build renderer n
  local dir="$1"
  [[ "$dir" = /* ]] || dir="$PWD/$dir"  # LD_PRELOAD wants a full path
  VINDLE_RENDERER=$2 BENCH_N=$3 LD_PRELOAD="$dir/bench/libbench_frame_timer.so" exec "${pin[@]}" "$dir/bench/bench_scene_game"
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
if [ ${#pin[@]} -gt 0 ]; then
  echo "X server on processor 0, timed programs on ${pin[2]}"
else
  echo "X server and timed programs where the scheduler puts them ($(nproc) processors)"
fi
# The configurations take turns run by run, so a slow spell of the machine
# falls on all of them alike.
declare -A median runs
configs=(cpu gl bare)
[ -n "$baseline" ] && configs+=(base)
for n in 10 100 1000; do
  for _ in $(seq 1 "$repeat"); do
    for config in "${configs[@]}"; do
      case $config in
        cpu) run=$(frame_median engine "$build" cpu "$n") ;;
        gl) run=$(frame_median engine "$build" gl "$n") ;;
        bare) run=$(frame_median env BENCH_N="$n" "${pin[@]}" "$build/bench/bench_bare_blit") ;;
        base) run=$(frame_median engine "$baseline" cpu "$n") ;;
      esac
      runs[$n,$config]+="$run"$'\n'
    done
  done
  for config in "${configs[@]}"; do median[$n,$config]=$(printf '%s' "${runs[$n,$config]}" | median_of_runs); done
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
printf '%6s %16s %16s %16s %9s' N "cpu (ms)" "gl (ms)" "bare (ms)" "cpu/bare"
[ -n "$baseline" ] && printf ' %16s' "baseline cpu"
echo
cell() { awk -v w="$1" -v t="$2" 'BEGIN {printf " %7.3f [%6.3f]", w, t}'; }
for n in 10 100 1000; do
  printf '%6d' "$n"
  cell ${median[$n,cpu]:-nan nan}
  cell ${median[$n,gl]:-nan nan}
  cell ${median[$n,bare]:-nan nan}
  read -r c _ <<<"${median[$n,cpu]}"
  read -r b _ <<<"${median[$n,bare]}"
  awk -v c="$c" -v b="$b" 'BEGIN {printf " %9.2f", (b > 0 ? c / b : 0)}'
  [ -n "$baseline" ] && cell ${median[$n,base]:-nan nan}
  echo
done

#!/usr/bin/env bash
# Scene S(N) as a Windows program against the 64-bit Vindle.dll under Wine
# (in a private Xvfb, OpenGL by Mesa's llvmpipe): the median frame time of
# 100 frames with each renderer, and the median time of the frame's
# glDrawPixels calls (with the compositor, the present of the whole frame).
# Each figure is the median of REPEAT runs (default 3).
#   bench/windows/scene.sh [dll-folder [baseline-dll-folder]]
# A DLL folder holds Vindle.dll and Vindle.lib (default build-windows/win64,
# from tools/windows.sh build); a baseline adds its compositor's figures.
# The native benchmark build (build-bench, -DVINDLE_BENCH=ON) writes the
# scene's files. The 32-bit DLL is run only where the kernel runs 32-bit
# programs; elsewhere one line says why.
set -euo pipefail
cd "$(dirname "$0")/../.."
dlls="${1:-build-windows/win64}"
baseline="${2:-}"
repeat="${REPEAT:-3}"
out=build-windows/bench
mkdir -p "$out"

. tools/dev/xvfb.sh
. tools/windows/wine-env.sh
reason=$(wine32_missing_reason)
[ -z "$reason" ] || echo "32-bit Vindle.dll not run: $reason"

# scene_frames.exe next to a copy of each DLL.
build_program() {  # dll-folder output-folder
  mkdir -p "$2"
  x86_64-w64-mingw32-g++-posix -O2 -Wall -Wextra -Werror -Iinclude -o "$2/scene_frames.exe" \
    bench/windows/scene_frames.cpp "$1/Vindle.lib" -lopengl32 -static -static-libgcc -static-libstdc++
  cp "$1/Vindle.dll" "$2/"
}
build_program "$dlls" "$out/current"
[ -z "$baseline" ] || build_program "$baseline" "$out/baseline"
build-bench/bench/bench_scene_game --write "$out/resources" >/dev/null 2>&1

start_private_display
wine_start win64
resources=$(WINEDEBUG=-all "$WINE" winepath -w "$PWD/$out/resources" 2>/dev/null)

run() {  # folder renderer n; prints "frame drawPixels"
  local log
  log=$(mktemp)
  BENCH_N=$3 BENCH_RESOURCES="$resources" VINDLE_RENDERER=$2 timeout 300 "$WINE" "$1/scene_frames.exe" >"$log" 2>&1 || true
  sed -n 's/^\[frames\] [0-9]* median \([0-9.]*\) ms, glDrawPixels \([0-9.]*\) ms.*/\1 \2/p' "$log" | head -1
  rm -f "$log"
}

median_of_runs() {
  local runs=() middle='$1 != "" {v[++k] = $1} END {if (!k) printf "nan"; else printf "%s", (k % 2 ? v[(k + 1) / 2] : (v[k / 2] + v[k / 2 + 1]) / 2)}'
  for _ in $(seq 1 "$repeat"); do runs+=("$(run "$@")"); done
  printf '%s\n' "${runs[@]}" | cut -d' ' -f1 | sort -g | awk "$middle"
  printf ' '
  printf '%s\n' "${runs[@]}" | cut -d' ' -f2 | sort -g | awk "$middle"
  echo
}

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A median
for n in 10 100 1000; do
  median[$n,cpu]=$(median_of_runs "$out/current" cpu "$n")
  median[$n,gl]=$(median_of_runs "$out/current" gl "$n")
  [ -z "$baseline" ] || median[$n,base]=$(median_of_runs "$out/baseline" cpu "$n")
done
echo "load average after:  $(cut -d' ' -f1-3 /proc/loadavg)"
echo "frame time in ms [of it in glDrawPixels]"
printf '%6s %20s %20s' N "compositor" "VINDLE_RENDERER=gl"
[ -z "$baseline" ] || printf ' %20s' "baseline compositor"
echo
cell() { awk -v f="$1" -v p="$2" 'BEGIN {printf " %10.3f [%7.3f]", f, p}'; }
for n in 10 100 1000; do
  printf '%6d' "$n"
  cell ${median[$n,cpu]:-nan nan}
  cell ${median[$n,gl]:-nan nan}
  [ -z "$baseline" ] || cell ${median[$n,base]:-nan nan}
  echo
done

#!/usr/bin/env bash
# Measures how long a first load of an 11000 x 11000 picture stops the window
# and the game's other threads: as an image (createImage on the game thread)
# and as a sprite frame (decoded by the window thread's sprite pass).
#   bench/freeze/run.sh [build dir, default build-bench]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build-bench}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVINDLE_BENCH=ON -DVINDLE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_load_freeze frame_gaps >/dev/null
. tools/dev/xvfb.sh
start_private_display

res="$(mktemp -d)"
trap 'rm -rf "$res"' EXIT
mkdir -p "$res/Images" "$res/Sprites/big/walk"
python3 bench/freeze/big_png.py "$res/Images/big.png" 11000 11000
cp "$res/Images/big.png" "$res/Sprites/big/walk/1.png"
for mode in image sprite; do
  LD_PRELOAD="$PWD/$build/bench/libframe_gaps.so" "$build/bench/bench_load_freeze" "$res" "$mode" | grep -v '^\S*[^a-z:]*$' || true
done

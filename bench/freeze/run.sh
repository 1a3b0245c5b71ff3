#!/usr/bin/env bash
# Measures how long a first load of an 11000 x 11000 picture stops the window
# and the game's other threads: as an image (createImage on the game thread)
# and as a sprite frame (decoded by the window thread's sprite pass); and how
# long a text of 100,000 distinct CJK and Hangul characters (cjk) or of 10 MB
# of random bytes (bytes), at size 1000, does.
#   bench/freeze/run.sh [build dir, default build-bench] [modes, default: image sprite cjk bytes]
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${1:-build-bench}"
shift || true
modes=("$@")
[ ${#modes[@]} -gt 0 ] || modes=(image sprite cjk bytes)
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DVINDLE_BENCH=ON -DVINDLE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target bench_load_freeze frame_gaps >/dev/null
. tools/dev/xvfb.sh
start_private_display

res="$(mktemp -d)"
trap 'rm -rf "$res"; kill $XVFB_PID 2>/dev/null || true' EXIT
mkdir -p "$res/Images" "$res/Sprites/big/walk"
if [[ " ${modes[*]} " == *" image "* || " ${modes[*]} " == *" sprite "* ]]; then
  python3 bench/freeze/big_png.py "$res/Images/big.png" 11000 11000
  cp "$res/Images/big.png" "$res/Sprites/big/walk/1.png"
fi
for mode in "${modes[@]}"; do
  LD_PRELOAD="$PWD/$build/bench/libframe_gaps.so" "$build/bench/bench_load_freeze" "$res" "$mode" | grep -v '^\S*[^a-z:]*$' || true
done

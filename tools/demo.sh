#!/usr/bin/env bash
# Builds Vindle and runs the demo game. Without a display it runs the demo
# under Xvfb for a few seconds and saves a picture of its window as
# build/demo.png.
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh
# A new build folder leaves the tests out: they need the dev set, and
# tools/test.sh turns them on.
tests=()
[ -f build/CMakeCache.txt ] || tests=(-DVINDLE_TESTS=OFF)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVINDLE_EXAMPLES=ON "${tests[@]}" >/dev/null
cmake --build build -j"$(nproc)" --target demo
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec build/examples/demo
fi
tools/setup.sh display
. tools/dev/xvfb.sh
. tools/dev/window.sh
start_private_display
start_game build/examples/demo
sleep "${DEMO_SECONDS:-4}"
save_window build/demo.png
stop_game
echo "No display here: ran the demo under Xvfb and saved a picture of its window to build/demo.png"

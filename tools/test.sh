#!/usr/bin/env bash
# Builds Vindle and runs every test: unit, render (offscreen) and end-to-end
# games under a private Xvfb display.
#   tools/test.sh                       the whole suite
#   tools/test.sh --sanitize address,undefined   (or thread) in build-<name>/
set -euo pipefail
cd "$(dirname "$0")/.."
sanitize=""
if [ "${1:-}" = "--sanitize" ]; then sanitize="$2"; shift 2; fi

tools/setup.sh
build=build
[ -n "$sanitize" ] && build="build-${sanitize//,/-}"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVINDLE_SANITIZE="$sanitize" >/dev/null
cmake --build "$build" -j"$(nproc)"

. tools/xvfb.sh
start_private_display
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# Some e2e tests preload a tracing library into the games.
export ASAN_OPTIONS="${ASAN_OPTIONS:-verify_asan_link_order=0}"
# Mesa's software renderer syncs its worker threads in ways ThreadSanitizer
# cannot see; rendering on the calling thread keeps its reports about our code.
if [ "$sanitize" = thread ]; then export LP_NUM_THREADS=0; fi
export LSAN_OPTIONS="suppressions=$PWD/tools/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300 "$@"

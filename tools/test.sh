#!/usr/bin/env bash
# Builds Vindle and runs every test (unit, render offscreen, end-to-end games
# under a private Xvfb display), first in a plain build, then under
# AddressSanitizer + UndefinedBehaviorSanitizer, then under ThreadSanitizer.
# The sanitizer builds also run the API stress game for 20 s each
# (tools/dev/stress.sh), a full run fuzzes for 60 s in all (the PNG loader,
# sound decoding and game strings, tools/dev/fuzz.sh), then builds the
# Windows DLLs, runs their tests under Wine and packs and checks the students'
# zip, and last builds the test games as web pages and plays them in headless
# Chromium (tools/web.sh test).
#   tools/test.sh                          all three, stress, fuzzing, Windows and web
#   tools/test.sh --quick                  the plain build only
#   tools/test.sh --sanitize thread        one sanitizer build only
#   tools/test.sh --fresh                  the README's commands and this whole
#                                          run in a bare Debian 12 (tools/dev/fresh-check.sh)
# Arguments after these go to ctest (e.g. -R Sprites). It installs the dev set
# of packages (tools/setup.sh dev), and the windows set for a full run
# (tools/web.sh asks for the web set).
set -euo pipefail
cd "$(dirname "$0")/.."

variants=("" "address,undefined" "thread")
fuzz=yes
windows=1
case "${1:-}" in
  --quick) variants=(""); fuzz=no; windows=0; shift ;;
  --sanitize)
    if [ -z "${2:-}" ] || [ "${2#-}" != "$2" ]; then
      echo "tools/test.sh: --sanitize needs a value: address,undefined or thread" >&2
      exit 2
    fi
    variants=("$2"); fuzz=no; windows=0; shift 2 ;;
  --fresh) shift; exec tools/dev/fresh-check.sh "$@" ;;
esac

if [ $windows -eq 1 ]; then tools/setup.sh dev windows; else tools/setup.sh dev; fi
. tools/dev/xvfb.sh
start_private_display

export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
# Some e2e tests preload a tracing library into the games.
export ASAN_OPTIONS="${ASAN_OPTIONS:-verify_asan_link_order=0}"
export LSAN_OPTIONS="suppressions=$PWD/tools/dev/lsan-suppressions.txt${LSAN_OPTIONS:+:$LSAN_OPTIONS}"

failed=()
for sanitize in "${variants[@]}"; do
  build=build
  [ -n "$sanitize" ] && build="build-${sanitize//,/-}"
  echo "== ${sanitize:-plain} build in $build/"
  # The plain build compiles the benchmarks too (not run here), so they keep building.
  bench=OFF
  [ -n "$sanitize" ] || bench=ON
  cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVINDLE_SANITIZE="$sanitize" -DVINDLE_TESTS=ON \
    -DVINDLE_BENCH=$bench >/dev/null
  cmake --build "$build" -j"$(nproc)" >/dev/null
  # Mesa's software renderer syncs its worker threads in ways ThreadSanitizer
  # cannot see; rendering on the calling thread keeps its reports about our code.
  if [ "$sanitize" = thread ]; then export LP_NUM_THREADS=0; else unset LP_NUM_THREADS; fi
  ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 300 "$@" || failed+=("${sanitize:-plain}")
  if [ -n "$sanitize" ]; then
    echo "== API stress, $sanitize build"
    tools/dev/stress.sh 20 "$build" || failed+=("stress-$sanitize")
  fi
done
if [ "$fuzz" = yes ]; then
  mkdir -p build-fuzz
  tools/dev/fuzz.sh 60 >build-fuzz/fuzz.log 2>&1 || { tail -40 build-fuzz/fuzz.log; failed+=("fuzz"); }
  sed -n '/^== fuzz summary/,$p' build-fuzz/fuzz.log
fi

if [ $windows -eq 1 ]; then
  echo "== Windows build, tested under Wine"
  tools/windows.sh build test package || failed+=(windows)
fi

if [ $windows -eq 1 ]; then
  echo "== Web build, tested in headless Chromium"
  tools/web.sh test || failed+=(web)
fi

if [ ${#failed[@]} -gt 0 ]; then
  echo "Failing builds: ${failed[*]}"
  exit 1
fi

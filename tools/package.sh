#!/usr/bin/env bash
# Builds Vindle and makes the Debian package build/vindle_VERSION_ARCH.deb:
# the library, vindle.h, vindle.pc, the CMake package and vindle-new-game.
# Install it with: sudo apt install ./build/vindle_*.deb
#   tools/package.sh [BUILD_DIR [OUTPUT_DIR]]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=${2:-$build}
"$root/tools/setup.sh"
# A new build folder leaves the tests out (they need the dev set).
tests=()
[ -f "$build/CMakeCache.txt" ] || tests=(-DVINDLE_TESTS=OFF)
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${tests[@]}" >/dev/null
cmake --build "$build" -j"$(nproc)" --target vindle game_resources >/dev/null
(cd "$build" && cpack -G DEB -B "$out" >/dev/null)
rm -rf "$out/_CPack_Packages"
ls "$out"/vindle_*.deb

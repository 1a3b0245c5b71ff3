#!/usr/bin/env bash
# Fuzzes the PNG loader with libFuzzer (clang, address and undefined-behaviour
# sanitizers) for the given number of seconds, 60 by default, starting from a
# seed corpus that the tests' own PNG writer makes. Fails on a crash, a leak,
# an input that takes longer than 1 s, or an RSS above 600 MB; what was found
# is kept in build-fuzz/findings/.
#   tools/dev/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-60}"

tools/setup.sh dev
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVINDLE_FUZZ=ON -DVINDLE_TESTS=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target png_fuzz png_seed_corpus >/dev/null

seeds="$build/seeds" corpus="$build/corpus" findings="$build/findings"
rm -rf "$seeds"
mkdir -p "$seeds" "$corpus" "$findings"
"$build/tests/fuzz/png_seed_corpus" "$seeds"

echo "== fuzzing loadPng for ${seconds} s"
export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
"$build/tests/fuzz/png_fuzz" -max_total_time="$seconds" -timeout=1 -rss_limit_mb=600 -print_final_stats=1 \
  -artifact_prefix="$findings/" "$corpus" "$seeds"

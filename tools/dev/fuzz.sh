#!/usr/bin/env bash
# Fuzzes with libFuzzer (clang, address and undefined-behaviour sanitizers):
# the PNG loader, the opening and first second of decoding of sound files
# (WAV, MP3 or any bytes), and the game-string path (encoding detection,
# splitting, conversion). The seconds given (60 by default) are shared out
# evenly; each target starts from a seed corpus of its own. Fails on a crash,
# a leak, an input that takes longer than 1 s, or an RSS above 600 MB; what
# was found is kept in build-fuzz/findings/<target>/.
#   tools/dev/fuzz.sh [seconds] [target...]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-60}"
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(png sound text)
each=$((seconds / ${#targets[@]}))
[ "$each" -ge 1 ] || each=1

tools/setup.sh dev
build=build-fuzz
CC=clang CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVINDLE_FUZZ=ON -DVINDLE_TESTS=OFF \
  -DVINDLE_EXAMPLES=OFF >/dev/null
cmake --build "$build" -j"$(nproc)" --target seed_corpus "${targets[@]/%/_fuzz}" >/dev/null

export ASAN_OPTIONS="detect_leaks=1${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
failed=()
summary=()
for target in "${targets[@]}"; do
  seeds="$build/seeds/$target" corpus="$build/corpus/$target" findings="$build/findings/$target"
  rm -rf "$seeds"
  mkdir -p "$seeds" "$corpus" "$findings"
  "$build/tests/fuzz/seed_corpus" "$target" "$seeds"
  echo "== fuzzing ${target} for ${each} s"
  log="$build/$target.log"
  status=0
  "$build/tests/fuzz/${target}_fuzz" -max_total_time="$each" -timeout=1 -rss_limit_mb=600 -print_final_stats=1 \
    -artifact_prefix="$findings/" "$corpus" "$seeds" >"$log" 2>&1 || status=$?
  cat "$log"
  [ "$status" -eq 0 ] || failed+=("$target")
  stat() { sed -n "s/^stat::$1: *//p" "$log" | tail -1; }
  summary+=("$target: $(stat number_of_executed_units) execs in ${each} s ($(stat average_exec_per_sec)/s), peak RSS $(stat peak_rss_mb) MB")
done
echo "== fuzz summary"
printf '%s\n' "${summary[@]}"
[ ${#failed[@]} -eq 0 ] || { echo "fuzz targets that failed: ${failed[*]}"; exit 1; }

#!/usr/bin/env bash
# Runs the API stress game (4 threads calling the whole API at random while
# the window draws) for the given seconds in a built tree, on a private X
# display. Fails on a sanitizer report, on an exit status other than the
# game's 1, or when the resident set still grows in the second half of the run
# (more than 10 % and 16 MB above what it was at half time).
#   tools/dev/stress.sh [seconds, default 20] [build dir, default build]
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds="${1:-20}"
build="${2:-build}"
game="$build/tests/stress/api_stress"
[ -x "$game" ] || { echo "stress: $game is not built" >&2; exit 1; }
. tools/dev/xvfb.sh
[ -n "${DISPLAY:-}" ] || start_private_display

# A small quarantine, so that the address sanitizer's own holding of freed
# blocks does not pass for growth.
export ASAN_OPTIONS="quarantine_size_mb=16${ASAN_OPTIONS:+:$ASAN_OPTIONS}"
# Mesa's software driver is unloaded before the leak check runs, so what it
# keeps for the life of the window could not be told from a leak of ours:
# preloaded, it stays and its suppression applies.
driver="/usr/lib/$(gcc -dumpmachine)/dri/swrast_dri.so"
preload="${LD_PRELOAD:-}"
[ -f "$driver" ] && preload="$driver${preload:+:$preload}"
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"
log="$(mktemp)" errors="$(mktemp)"
trap 'rm -f "$log" "$errors"' EXIT
set +e
LD_PRELOAD="$preload" timeout $((seconds * 3 + 60)) "$game" "$seconds" 2>"$errors" | grep -a -E '^(rss|calls) ' >"$log"
status=${PIPESTATUS[0]}
set -e
grep -v '^rss' "$log" || true

failed=0
if [ "$status" -ne 1 ]; then
  echo "stress: the game ended with status $status, not 1" >&2
  failed=1
fi
if grep -q -E 'ThreadSanitizer|AddressSanitizer|LeakSanitizer|runtime error' "$errors"; then
  echo "stress: sanitizer report:" >&2
  head -60 "$errors" >&2
  failed=1
fi
rss_half=$(awk -v s="$seconds" '$1 == "rss" && $2 == int(s / 2) {print $3}' "$log")
rss_end=$(awk '$1 == "rss" {v = $3} END {print v}' "$log")
echo "resident set: ${rss_half:-?} kB at half time, ${rss_end:-?} kB at the end"
if [ -z "$rss_half" ] || [ -z "$rss_end" ]; then
  echo "stress: the game did not report its resident set" >&2
  failed=1
elif [ "$rss_end" -gt $((rss_half + rss_half / 10 + 16384)) ]; then
  echo "stress: the resident set still grows" >&2
  failed=1
fi
exit $failed

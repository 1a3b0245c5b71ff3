#!/usr/bin/env bash
# Starts a game that returns at once many times in a row (200 by default) on
# its own Xvfb, started as xvfb-run starts it (the server resets whenever its
# last client leaves), and counts the starts that did not end with status 1.
# Prints the machine's load beside the count.
#   bench/start_race.sh [build dir, default build] [starts]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}" starts="${2:-200}"
game="$build/tests/e2e_returns"
[ -x "$game" ] || { echo "no $game: build the tests first" >&2; exit 2; }

for n in $(seq 141 190); do
  [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=":$n" SDL_AUDIODRIVER=dummy VINDLE_TEST_DELAY_MS=0
for _ in $(seq 1 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.05; done

echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A statuses=()
for _ in $(seq 1 "$starts"); do
  status=0
  timeout 10 "$game" >/dev/null 2>&1 || status=$?
  statuses[$status]=$((${statuses[$status]:-0} + 1))
done
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
for status in "${!statuses[@]}"; do echo "status $status: ${statuses[$status]} of $starts starts"; done

#!/usr/bin/env bash
# Runs the game that returns from gameMain while the window draws N times
# (default 200) and counts the exit statuses; every run must end with 1.
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${BUILD:-build}"
runs="${1:-200}"
. tools/dev/xvfb.sh
start_private_display
declare -A count
for i in $(seq 1 "$runs"); do
  status=0
  VINDLE_TEST_DELAY_MS=$(( i * 7 % 60 )) timeout 30 "$build/tests/e2e_returns" >/dev/null 2>&1 || status=$?
  count[$status]=$(( ${count[$status]:-0} + 1 ))
done
for s in "${!count[@]}"; do echo "status $s: ${count[$s]} runs"; done
[ "${count[1]:-0}" -eq "$runs" ]

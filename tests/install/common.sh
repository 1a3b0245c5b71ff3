# Sourced by the install tests: a scratch folder removed at the end, and checks
# that stop the test with a message.
set -euo pipefail
scratch=$(mktemp -d "${TMPDIR:-/tmp}/vindle-test.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs a game that ends by itself and checks its exit status and banner.
expect_game_ends() {
  local status=0
  SDL_AUDIODRIVER=dummy timeout 20 "$@" >"$scratch/game.out" 2>&1 || status=$?
  [ "$status" = 1 ] || { cat "$scratch/game.out" >&2; fail "$1 ended with status $status, not 1"; }
  grep -q "Vindle" "$scratch/game.out" || fail "$1 printed no banner"
}

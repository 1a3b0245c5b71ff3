#!/usr/bin/env bash
# Runs each example game for a moment and saves a picture of its window (the
# window only) as docs/images/NAME.png; for the dialogs example also the box,
# as docs/images/dialogs-box.png, and the game tools/new-game.sh makes as
# docs/images/new-game.png.
#   tools/dev/screenshots.sh [--check] [BUILD_DIR [OUTPUT_DIR]]
# With --check it fails when a game ends early, opens no window, or shows a
# window of the wrong size or of hardly any colours (CI runs it this way).
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
check=0
[ "${1:-}" = --check ] && { check=1; shift; }
build=$(readlink -f "${1:-$root/build}")
out=$(mkdir -p "${2:-$root/docs/images}" && cd "${2:-$root/docs/images}" && pwd)
games=(demo texts images sprites input sound dialogs new-game)

if [ "${1:-}" = "" ]; then
  "$root/tools/setup.sh" dev
  cmake -S "$root" -B "$build" >/dev/null
  cmake --build "$build" -j"$(nproc)" --target "${games[@]/new-game/game_resources}" >/dev/null
fi
. "$root/tools/dev/xvfb.sh"
. "$root/tools/dev/window.sh"
[ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1 || start_private_display
export SDL_AUDIODRIVER="${SDL_AUDIODRIVER:-dummy}"

starter=$(mktemp -d)
# Replaces the trap of start_private_display, so it stops Xvfb as well.
trap 'rm -rf "$starter"; [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null || true' EXIT
VINDLE_BUILD_DIR=$build "$root/tools/new-game.sh" new-game "$starter/new-game" >/dev/null
make -s -C "$starter/new-game" >/dev/null

failed=()
for game in "${games[@]}"; do
  GAME_LOG="$out/$game.log"
  program=$build/examples/$game
  [ "$game" = new-game ] && program=$starter/new-game/new-game
  if ! start_game "$program"; then failed+=("$game: no window"); continue; fi
  sleep "${SHOT_SECONDS:-2}"
  if ! kill -0 "$GAME_PID" 2>/dev/null; then
    failed+=("$game: ended early")
    wait "$GAME_PID" || true
    continue
  fi
  save_window "$out/$game.png"
  if [ "$game" = dialogs ]; then
    box=$(other_windows | tail -n 1)
    if [ -n "$box" ]; then import -window "$box" "$out/dialogs-box.png"; else failed+=("dialogs: no box"); fi
  fi
  stop_game
  rm -f "$GAME_LOG"
  size=$(identify -format '%wx%h' "$out/$game.png")
  colours=$(identify -format '%k' "$out/$game.png")
  echo "$game: $size, $colours colours -> $out/$game.png"
  [ "$size" = 800x600 ] || failed+=("$game: window $size")
  [ "$colours" -ge 2 ] || failed+=("$game: only $colours colours")
done

if [ ${#failed[@]} -gt 0 ]; then
  printf '%s\n' "${failed[@]}" >&2
  [ $check = 1 ] && exit 1
fi
exit 0

# Sourced by the scripts that show a game: starts it, finds its window and
# saves a picture of that window alone (not the whole screen).
#   start_game PROGRAM [ARGS...]   sets GAME_PID and GAME_WINDOW (the game's
#                                  output goes to GAME_LOG when it is set)
#   save_window FILE.png           the window as it is now
#   stop_game                      ends the game if it still runs
# A process and all its descendants.
family() {
  local child
  echo "$1"
  for child in $(pgrep -P "$1"); do family "$child"; done
}

start_game() {
  GAME_WINDOW=
  if [ -n "${GAME_LOG:-}" ]; then "$@" >"$GAME_LOG" 2>&1 & else "$@" & fi
  GAME_PID=$!
  local _ pid
  for _ in $(seq 1 100); do
    # The game, or the game that a command such as `make run` started.
    for pid in $(family "$GAME_PID"); do
      GAME_WINDOW=$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1) || true
      [ -n "$GAME_WINDOW" ] && break
    done
    if [ -n "$GAME_WINDOW" ]; then
      # Without a window manager the window sits at the screen's corner with
      # its edge outside the screen, where nothing can be read back.
      xdotool windowmove "$GAME_WINDOW" 20 20 2>/dev/null || true
      return 0
    fi
    kill -0 "$GAME_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "no window from $1" >&2
  return 1
}

save_window() {
  import -window "$GAME_WINDOW" "$1"
}

# The game's other windows (a message box, for one), newest last.
other_windows() {
  xdotool search --onlyvisible --pid "$GAME_PID" 2>/dev/null | grep -vx "$GAME_WINDOW" || true
}

stop_game() {
  kill "$GAME_PID" 2>/dev/null || true
  wait "$GAME_PID" 2>/dev/null || true
}

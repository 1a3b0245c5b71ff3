#!/usr/bin/env bash
# Makes a new game with the starter, both as installed (vindle-new-game, the
# engine found through pkg-config) and from the source tree (tools/new-game.sh,
# the engine in the build folder); builds each with make, runs it under X,
# checks its window and ends it with Escape.
#   new_game_test.sh BUILD_DIR SOURCE_DIR
. "$(dirname "$0")/common.sh"
build=$(readlink -f "$1") source=$(readlink -f "$2")
. "$source/tools/dev/window.sh"
export SDL_AUDIODRIVER=dummy

# Colour of one pixel of a picture as "r,g,b".
pixel() {
  convert "$1" -crop "1x1+$2+$3" -format '%[fx:int(255*r+0.5)],%[fx:int(255*g+0.5)],%[fx:int(255*b+0.5)]' info:
}

play_and_check() {
  local folder=$1 shot=$scratch/$(basename "$1").png
  (cd "$folder" && make >"$scratch/make.out" 2>&1) || { cat "$scratch/make.out" >&2; fail "make failed in $folder"; }
  GAME_LOG=$scratch/game.out start_game make -C "$folder" -s run || fail "no window from $folder"
  sleep 1.5
  save_window "$shot"
  [ "$(identify -format '%wx%h' "$shot")" = 800x600 ] || fail "window is not 800x600"
  # The sky colour above the landscape, the title in red, the walker's shirt.
  [ "$(pixel "$shot" 790 10)" = 135,207,235 ] || fail "sky is $(pixel "$shot" 790 10)"
  convert "$shot" -crop 400x60+40+0 -unique-colors txt: | grep -qi '#CC1A1A' || fail "no red title"
  convert "$shot" -crop 800x100+0+470 -unique-colors txt: | grep -qi '#D23C32' || fail "no walker"
  xdotool windowfocus --sync "$GAME_WINDOW" key Escape
  local status=0
  for _ in $(seq 1 50); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  wait "$GAME_PID" || status=$?
  # The game's normal end (status 1) is a success for `make run`.
  [ "$status" = 0 ] || { cat "$scratch/game.out" >&2; fail "make run ended with status $status"; }
}

# Installed: the starter from the prefix, the engine through pkg-config.
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig LD_LIBRARY_PATH=$prefix/lib
(cd "$scratch" && "$prefix/bin/vindle-new-game" 我的游戏 installed >/dev/null)
[ -f "$scratch/installed/Sprites/walker/walk/1.png" ] || fail "no sprite in the new game"
grep -qx 'VINDLE_BUILD =' "$scratch/installed/Makefile" || fail "installed game points at a build tree"
play_and_check "$scratch/installed"
[ -x "$scratch/installed/我的游戏" ] || fail "the program is not named after the game"

# From the source tree: the engine in the build folder, no pkg-config.
unset PKG_CONFIG_PATH LD_LIBRARY_PATH
VINDLE_BUILD_DIR=$build "$source/tools/new-game.sh" first "$scratch/intree" >/dev/null
grep -q "^VINDLE_BUILD = $build\$" "$scratch/intree/Makefile" || fail "in-tree game does not use $build"
play_and_check "$scratch/intree"

# A folder that already holds something is left alone.
"$source/tools/new-game.sh" again "$scratch/intree" 2>/dev/null && fail "overwrote a game"
echo "made, built and ran a new game both ways"

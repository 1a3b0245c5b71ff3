#!/usr/bin/env bash
# What a game prints, all of it (stdout and stderr): the banner in a normal
# run; the banner and the engine's one line when there is no audio output
# (no lines from the audio libraries); one hint when a game never called the
# engine, none for a program that did or that loaded the library itself.
#   console_test.sh BUILD_DIR SOURCE_DIR
. "$(dirname "$0")/common.sh"
build=$(readlink -f "$1") source=$(readlink -f "$2")
compile() {
  gcc "$source/tests/install/$1.c" -I"$source/include" -L"$build" -lvindle -Wl,-rpath,"$build" -o "$scratch/$1"
}
lines() { grep -c '' "$1" || true; }

compile game
expect_game_ends "$scratch/game"
[ "$(lines "$scratch/game.out")" = 4 ] || { cat "$scratch/game.out" >&2; fail "a normal run printed more than the banner"; }

# An ALSA card that does not exist: no audio output, on any machine.
status=0
SDL_AUDIODRIVER=alsa ALSA_CARD=nosuchcard timeout 3 "$build/examples/sound" >"$scratch/sound.out" 2>&1 || status=$?
[ "$status" = 124 ] || fail "the sound example ended with status $status"
grep -q '没有可用的音频输出设备' "$scratch/sound.out" || fail "no line about the missing audio output"
[ "$(lines "$scratch/sound.out")" = 5 ] || { cat "$scratch/sound.out" >&2; fail "more than the banner and one line"; }

compile no_zqinit
status=0
"$scratch/no_zqinit" >"$scratch/hint.out" 2>&1 || status=$?
[ "$status" = 0 ] || fail "no_zqinit ended with status $status"
grep -q 'zqInit' "$scratch/hint.out" && [ "$(lines "$scratch/hint.out")" = 1 ] ||
  { cat "$scratch/hint.out" >&2; fail "no one-line hint about zqInit"; }

# No hint for a program that called the engine (a console program showing a
# box, here without a display), nor for one that only loads the library.
compile alert_only
env -u DISPLAY "$scratch/alert_only" >"$scratch/alert.out" 2>&1 || true
! grep -q 'zqInit' "$scratch/alert.out" || { cat "$scratch/alert.out" >&2; fail "a hint after a call of alert"; }
python3 -c 'import ctypes, sys; ctypes.CDLL(sys.argv[1])' "$build/libvindle.so" >"$scratch/loaded.out" 2>&1 ||
  fail "python could not load the library"
[ "$(lines "$scratch/loaded.out")" = 0 ] || { cat "$scratch/loaded.out" >&2; fail "loading the library printed"; }
echo "console: banner only; banner and one line without audio; one hint without zqInit, none after a call or a load"

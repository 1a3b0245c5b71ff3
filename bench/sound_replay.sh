#!/usr/bin/env bash
# What playSound costs its caller under Wine when it restarts a three-minute
# WAV and MP3 that are already open: five restarts from the game thread and
# five from a key-up handler (keys released with xdotool), with their medians.
# Uses the DLL of tools/windows.sh build.
#   bench/sound_replay.sh [win64|win32]
set -euo pipefail
cd "$(dirname "$0")/.."
target="${1:-win64}"
case "$target" in
  win32) cc=i686-w64-mingw32-gcc-posix ;;
  win64) cc=x86_64-w64-mingw32-gcc-posix ;;
  *) echo "usage: $0 [win64|win32]" >&2; exit 2 ;;
esac
[ -f "build-windows/$target/Vindle.dll" ] || { echo "no build-windows/$target/Vindle.dll: run tools/windows.sh build" >&2; exit 1; }
. tools/dev/xvfb.sh
. tools/windows/wine-env.sh
if [ "$target" = win32 ] && [ -n "$(wine32_missing_reason)" ]; then
  echo "win32: cannot run here: $(wine32_missing_reason)"
  exit 0
fi

work=$(mktemp -d /tmp/vindle-replay-XXXXXX)
mkdir -p "$work/Sounds"
cp "build-windows/$target/Vindle.dll" "$work/"
"$cc" -O2 -Wall -Wextra -Werror -Ibuild-windows/$target -static -o "$work/replay.exe" \
  bench/window/replay_game.c "build-windows/$target/Vindle.lib"
# Three minutes of a 440 Hz tone, 22050 Hz mono, and the same as an MP3.
python3 - "$work/Sounds/long.wav" <<'PY'
import math, struct, sys
rate, seconds = 22050, 180
samples = bytes().join(struct.pack('<h', int(12000 * math.sin(2 * math.pi * 440 * i / rate))) for i in range(rate))
data = samples * seconds
header = b'RIFF' + struct.pack('<I', 36 + len(data)) + b'WAVEfmt ' + struct.pack('<IHHIIHH', 16, 1, 1, rate, rate * 2, 2, 16)
open(sys.argv[1], 'wb').write(header + b'data' + struct.pack('<I', len(data)) + data)
PY
lame --quiet "$work/Sounds/long.wav" "$work/Sounds/long.mp3"

start_private_display
wine_start "$target"
out="$work/replay.log"
(cd "$work" && VINDLE_BENCH_RESOURCES="Z:${work//\//\\}" exec "$WINE" replay.exe long.wav long.mp3 >"$out" 2>&1) &
game=$!
for _ in $(seq 1 600); do grep -q "ready for keys" "$out" && break; sleep 0.1; done
window=$(xdotool search --all --onlyvisible --class replay | head -1)
xdotool windowfocus --sync "$window" 2>/dev/null || true
for _ in $(seq 1 10); do
  xdotool key x
  sleep 0.5
done
xdotool key Escape
wait $game || true
grep -a -E 'first play|restarted|median' "$out"
wine_stop
rm -rf "$work"

#!/usr/bin/env bash
# Packs the Windows build (tools/windows.sh build) for students:
# build-windows/Vindle-<version>-windows.zip with x86/ and x64/ (Vindle.dll and
# Vindle.lib), vindle.h, the demo built for Windows with its pictures and
# sounds, and a README in Chinese. Then runs the packed demo under Wine for a
# few seconds and saves a screenshot as build-windows/demo-windows.png.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/setup.sh student windows
version=$(sed -n 's/^project(vindle VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
name=Vindle-$version-windows
stage=build-windows/package
zip=$PWD/build-windows/$name.zip

for target in win32 win64; do
  [ -f build-windows/$target/Vindle.dll ] || { echo "no build-windows/$target/Vindle.dll: run tools/windows.sh build" >&2; exit 1; }
done
# The demo's pictures and sounds are made by the native build's generators.
tests=()
[ -f build/CMakeCache.txt ] || tests=(-DVINDLE_TESTS=OFF)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${tests[@]}" >/dev/null
cmake --build build -j"${JOBS:-2}" --target game_resources >/dev/null

rm -rf "$stage" "$zip"
mkdir -p "$stage/x86" "$stage/x64" "$stage/demo"
cp build-windows/win32/Vindle.dll build-windows/win32/Vindle.lib "$stage/x86/"
cp build-windows/win64/Vindle.dll build-windows/win64/Vindle.lib "$stage/x64/"
cp build-windows/win32/vindle.h "$stage/"
# The 32-bit demo runs on every Windows. Its source goes along in GBK, the
# encoding Visual Studio and Dev-C++ read on a Chinese Windows.
i686-w64-mingw32-gcc-posix -O2 -Wall -Wextra -Werror -fexec-charset=GBK -Ibuild-windows/win32 -static \
  -o "$stage/demo/demo.exe" examples/demo.c build-windows/win32/Vindle.lib
i686-w64-mingw32-strip "$stage/demo/demo.exe"
cp build-windows/win32/Vindle.dll "$stage/demo/"
iconv -f UTF-8 -t GBK examples/demo.c | sed 's/$/\r/' >"$stage/demo/demo.c"
cp -r build/examples/Images build/examples/Sprites "$stage/demo/"
mkdir -p "$stage/demo/Sounds"
cp build/examples/Sounds/*.wav build/examples/Sounds/*.mp3 "$stage/demo/Sounds/"
# Notepad reads UTF-8 with its byte order mark, and wants CR LF line ends.
{ printf '\357\273\277'; sed "s/@VERSION@/$version/; s/\$/\r/" tools/windows/README.txt; } >"$stage/README.txt"
(cd "$stage" && zip -qr -X "$zip" README.txt vindle.h x86 x64 demo)
echo "Packed build-windows/$name.zip ($(stat -c %s "$zip") bytes):"
unzip -l "$zip" | sed -n '4,$p' | grep -v '^---' | sed '$d' | awk '{print "  " $4}' | grep -v '/$'

# The packed demo under Wine, as a student would start it.
. tools/dev/xvfb.sh
. tools/windows/wine-env.sh
start_private_display
target=win32
[ -z "$(wine32_missing_reason)" ] || target=win64
run=build-windows/demo-run
rm -rf "$run" && mkdir -p "$run" && (cd "$run" && unzip -q "$zip")
[ $target = win32 ] || { cp "$run/x64/Vindle.dll" "$run/demo/"; x86_64-w64-mingw32-gcc-posix -O2 -fexec-charset=GBK \
  -I"$run" -static -o "$run/demo/demo.exe" examples/demo.c "$run/x64/Vindle.lib"; }
wine_start $target
(cd "$run/demo" && exec "$WINE" demo.exe >../demo.log 2>&1) &
demo=$!
sleep "${DEMO_SECONDS:-8}"
import -window root build-windows/demo-windows.png
if kill -0 $demo 2>/dev/null; then
  echo "The packed demo runs under Wine ($target); screenshot: build-windows/demo-windows.png"
  status=0
else
  echo "The packed demo ended early under Wine ($target): $(iconv -f GBK -t UTF-8 "$run/demo.log" | tail -5)"
  status=1
fi
"$WINESERVER" -k 2>/dev/null || true
wait $demo 2>/dev/null || true
rm -rf "$run"
exit $status

#!/usr/bin/env bash
# The Windows build of Vindle, cross-compiled with mingw-w64.
#   tools/windows.sh build     Vindle.dll, Vindle.lib and vindle.h for 32-bit
#                              (build-windows/win32/) and 64-bit (build-windows/win64/)
#   tools/windows.sh test      the Windows tests under Wine
#   tools/windows.sh package   the zip for students, checked as students use it
# Several subcommands may be given; they run in order.
set -euo pipefail
cd "$(dirname "$0")/.."

# Builds one target: $1 is the compiler's architecture, $2 the output folder.
build_target() {
  local arch="$1" out="build-windows/$2" dir="build-windows/build-$1"
  local start=$SECONDS
  tools/windows/deps.sh "$arch"
  cmake -S . -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DVINDLE_TESTS=ON >"$dir.log" 2>&1 || { cat "$dir.log"; exit 1; }
  cmake --build "$dir" -j"${JOBS:-2}" >>"$dir.log" 2>&1 || { tail -50 "$dir.log"; exit 1; }
  mkdir -p "$out"
  "$arch-w64-mingw32-strip" -o "$out/Vindle.dll" "$dir/Vindle.dll"
  cp "$dir/Vindle.lib" "$out/"
  # MinGW's own import library, under the name -lvindle finds.
  cp "$dir/Vindle.dll.a" "$out/libvindle.dll.a"
  cp include/vindle.h "$out/"
  echo "Built $out/ ($(stat -c %s "$out/Vindle.dll") bytes Vindle.dll) in $((SECONDS - start)) s"
}

[ $# -gt 0 ] || { sed -n '2,7s/^# \{0,1\}//p' "$0"; exit 2; }
for command in "$@"; do
  case "$command" in
    build)
      tools/setup.sh windows
      build_target i686 win32
      build_target x86_64 win64
      ;;
    test) tools/windows/test.sh ;;
    package) tools/windows/package.sh ;;
    *)
      echo "unknown subcommand: $command (build, test or package)" >&2
      exit 2
      ;;
  esac
done

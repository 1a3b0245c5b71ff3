#!/usr/bin/env bash
# Builds the static libraries the web build links (zlib, libpng) from Debian's
# source packages with emscripten, for pages with threads (-pthread).
#   tools/web/deps.sh
# Sources are unpacked once into build-web/src/; the libraries and headers go
# to build-web/deps/ and are kept until the sources or this script change.
set -euo pipefail
cd "$(dirname "$0")/../.."

root="$PWD"
src="$root/build-web/src"
prefix="$root/build-web/deps"
jobs="${JOBS:-2}"
mkdir -p "$src"

. tools/dev/debian_sources.sh

fetch zlib
fetch libpng1.6

stamp="$prefix/.built"
want="$(cat "$src/zlib/.unpacked" "$src/libpng1.6/.unpacked" | tr '\n' ' ')$(emcc -dumpversion) $(sha1sum <"$0" | cut -c1-12)"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  exit 0
fi

start=$SECONDS
work="$root/build-web/deps-build"
rm -rf "$prefix" "$work"
mkdir -p "$prefix/include" "$prefix/lib" "$work/zlib"
# Code linked into a page with threads is compiled for shared memory.
flags="-O2 -pthread -DHAVE_UNISTD_H"

# zlib: the library's C files into one static archive.
for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
         inftrees trees uncompr zutil; do
  echo "$src/zlib/tree/$c.c"
done | xargs -P "$jobs" -I{} sh -c 'emcc $0 -c "$1" -o "$2/$(basename "$1" .c).o"' \
  "$flags" {} "$work/zlib"
emar rcs "$prefix/lib/libz.a" "$work"/zlib/*.o
cp "$src/zlib/tree/zlib.h" "$src/zlib/tree/zconf.h" "$prefix/include/"

# libpng: its C files with the configuration it ships prebuilt (every
# feature on), which spares CMake's slow compiler probes under emscripten.
mkdir -p "$work/libpng"
cp "$src/libpng1.6/tree/scripts/pnglibconf.h.prebuilt" "$work/libpng/pnglibconf.h"
for c in png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset pngtrans \
         pngwio pngwrite pngwtran pngwutil; do
  echo "$src/libpng1.6/tree/$c.c"
done | xargs -P "$jobs" -I{} sh -c 'emcc $0 -I"$2" -I"$3/include" -c "$1" -o "$2/$(basename "$1" .c).o"' \
  "$flags" {} "$work/libpng" "$prefix"
emar rcs "$prefix/lib/libpng16.a" "$work"/libpng/*.o
cp "$src/libpng1.6/tree/png.h" "$src/libpng1.6/tree/pngconf.h" "$work/libpng/pnglibconf.h" "$prefix/include/"

rm -rf "$work"
echo "$want" >"$stamp"
echo "Built zlib and libpng for the web in $((SECONDS - start)) s"

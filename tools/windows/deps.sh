#!/usr/bin/env bash
# Builds the static libraries the Windows DLL links (zlib, libpng, freeglut),
# and GoogleTest for the Windows test programs, from Debian's source packages
# with the mingw-w64 posix compilers.
#   tools/windows/deps.sh i686|x86_64
# Sources are unpacked once into build-windows/src/; each target's libraries and
# headers go to build-windows/deps-<arch>/ and are kept until the sources change
# (GoogleTest has a stamp of its own, so adding it rebuilt nothing else).
set -euo pipefail
cd "$(dirname "$0")/../.."

arch="$1"
case "$arch" in i686|x86_64) ;; *) echo "usage: $0 i686|x86_64" >&2; exit 2 ;; esac
host="$arch-w64-mingw32"
root="$PWD"
src="$root/build-windows/src"
prefix="$root/build-windows/deps-$arch"
jobs="${JOBS:-2}"
mkdir -p "$src"

. tools/dev/debian_sources.sh

fetch zlib
fetch libpng1.6
fetch freeglut
fetch googletest

toolchain="$root/cmake/mingw-$arch.cmake"
# Runs a build step into its log; the log's end is shown when the step fails.
quiet() {
  local log="$1"
  shift
  "$@" >>"$log" 2>&1 || { tail -40 "$log" >&2; exit 1; }
}
common=(-DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release
        -DCMAKE_INSTALL_PREFIX="$prefix" -DCMAKE_PREFIX_PATH="$prefix"
        -DCMAKE_POLICY_DEFAULT_CMP0074=NEW)
tools_hash=$(cat cmake/mingw-$arch.cmake cmake/mingw-w64.cmake | sha1sum | cut -c1-12)

# GoogleTest for the unit, contract and Windows test programs (static, with
# the posix threads the compilers use).
build_googletest() {
  local stamp="$prefix/.googletest" want
  want="$(cat "$src/googletest/.unpacked") $host $tools_hash"
  [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && return
  local start=$SECONDS work="$root/build-windows/deps-build-$arch-googletest"
  rm -rf "$work" && mkdir -p "$work"
  quiet "$work/googletest.log" cmake -S "$src/googletest/tree" -B "$work/build" "${common[@]}" \
    -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -Dgtest_disable_pthreads=OFF
  quiet "$work/googletest.log" cmake --build "$work/build" -j"$jobs"
  quiet "$work/googletest.log" cmake --install "$work/build"
  rm -rf "$work"
  echo "$want" >"$stamp"
  echo "Built GoogleTest for $host in $((SECONDS - start)) s"
}

stamp="$prefix/.built"
want="$(cat "$src/zlib/.unpacked" "$src/libpng1.6/.unpacked" "$src/freeglut/.unpacked" | tr '\n' ' ')$host $(cat "$0" cmake/mingw-$arch.cmake cmake/mingw-w64.cmake | sha1sum | cut -c1-12)"
if [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
  build_googletest
  exit 0
fi

start=$SECONDS
rm -rf "$prefix" "$root/build-windows/deps-build-$arch"
work="$root/build-windows/deps-build-$arch"
mkdir -p "$prefix/include" "$prefix/lib" "$work"

# zlib: the library's C files into one static archive.
mkdir -p "$work/zlib"
for c in adler32 compress crc32 deflate gzclose gzlib gzread gzwrite infback inffast inflate \
         inftrees trees uncompr zutil; do
  echo "$src/zlib/tree/$c.c"
done | xargs -P "$jobs" -I{} sh -c '"$0-gcc-posix" -O2 -c "$1" -o "$2/$(basename "$1" .c).o"' \
  "$host" {} "$work/zlib"
"$host-ar" rcs "$prefix/lib/libz.a" "$work"/zlib/*.o
cp "$src/zlib/tree/zlib.h" "$src/zlib/tree/zconf.h" "$prefix/include/"

quiet "$work/libpng.log" cmake -S "$src/libpng1.6/tree" -B "$work/libpng" "${common[@]}" \
  -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF -DPNG_BUILD_ZLIB=OFF \
  -DZLIB_ROOT="$prefix" -DZLIB_LIBRARY="$prefix/lib/libz.a" -DZLIB_INCLUDE_DIR="$prefix/include" \
  -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=ON
quiet "$work/libpng.log" cmake --build "$work/libpng" -j"$jobs"
quiet "$work/libpng.log" cmake --install "$work/libpng"

quiet "$work/freeglut.log" cmake -S "$src/freeglut/tree" -B "$work/freeglut" "${common[@]}" \
  -DFREEGLUT_BUILD_SHARED_LIBS=OFF -DFREEGLUT_BUILD_STATIC_LIBS=ON \
  -DFREEGLUT_BUILD_DEMOS=OFF -DFREEGLUT_GLES=OFF
quiet "$work/freeglut.log" cmake --build "$work/freeglut" -j"$jobs"
quiet "$work/freeglut.log" cmake --install "$work/freeglut"

rm -rf "$work"
echo "$want" >"$stamp"
echo "Built zlib, libpng and freeglut for $host in $((SECONDS - start)) s"
build_googletest

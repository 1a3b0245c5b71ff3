#!/usr/bin/env bash
# Installs into a scratch prefix and builds a game from outside the source
# tree twice: with gcc and pkg-config, and with the README's CMake project.
#   install_test.sh BUILD_DIR SOURCE_DIR
. "$(dirname "$0")/common.sh"
build=$1 source=$2
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null

# The SONAME carries the major version; the link a game is built against
# names the file of that name.
version=$(awk '/^Version:/ {print $2}' "$prefix/lib/pkgconfig/vindle.pc")
soname=$(objdump -p "$prefix/lib/libvindle.so" | awk '/SONAME/ {print $2}')
[ "$soname" = "libvindle.so.${version%%.*}" ] || fail "SONAME is '$soname', version $version"
[ -e "$prefix/lib/$soname" ] || fail "no $soname"
cmp -s "$source/include/vindle.h" "$prefix/include/vindle.h" || fail "vindle.h not installed"

mkdir "$scratch/game" && cp "$source/tests/install/game.c" "$scratch/game/"
cd "$scratch/game"
export PKG_CONFIG_PATH=$prefix/lib/pkgconfig
[ "$(pkg-config --modversion vindle)" = "$(awk '/^Version:/ {print $2}' "$prefix/lib/pkgconfig/vindle.pc")" ] ||
  fail "pkg-config does not find vindle"
gcc game.c $(pkg-config --cflags --libs vindle) -o game-pkgconfig
readelf -d game-pkgconfig | grep -qF "[$soname]" || fail "game not linked to $soname"
LD_LIBRARY_PATH=$prefix/lib expect_game_ends ./game-pkgconfig

# The CMake project the README shows, with the game as its main.c.
awk '/^```cmake$/ {on = 1; next} /^```/ {on = 0} on' "$source/README.md" >CMakeLists.txt
grep -q 'Vindle::vindle' CMakeLists.txt || fail "no CMake project in README.md"
mv game.c main.c
cmake -S . -B build -DCMAKE_PREFIX_PATH="$prefix" >/dev/null || fail "find_package(Vindle) failed"
cmake --build build >/dev/null || fail "the CMake game does not build"
LD_LIBRARY_PATH=$prefix/lib expect_game_ends build/mygame
echo "installed into $prefix; built and ran a game with pkg-config and with find_package(Vindle)"

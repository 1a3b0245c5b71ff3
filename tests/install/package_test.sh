#!/usr/bin/env bash
# Makes the .deb with CPack and checks what it holds and what it depends on.
#   package_test.sh BUILD_DIR
. "$(dirname "$0")/common.sh"
build=$(readlink -f "$1")
(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null 2>"$scratch/cpack.err") ||
  { cat "$scratch/cpack.err" >&2; fail "cpack failed"; }
deb=$(ls "$scratch"/out/vindle_*.deb)

files=$(dpkg-deb -c "$deb" | awk '{print $6}')
soname=libvindle.so.$(dpkg-deb -f "$deb" Version | cut -d. -f1)
for path in ./usr/lib/libvindle.so ./usr/lib/$soname ./usr/include/vindle.h \
    ./usr/lib/pkgconfig/vindle.pc ./usr/lib/cmake/Vindle/VindleConfig.cmake \
    ./usr/lib/cmake/Vindle/VindleTargets.cmake ./usr/bin/vindle-new-game \
    ./usr/share/vindle/starter/main.c ./usr/share/vindle/starter/Images/bg.png \
    ./usr/share/vindle/starter/Sprites/walker/walk/1.png ./usr/share/vindle/starter/Sounds/jump.wav \
    ./usr/share/doc/vindle/api.md ./usr/share/doc/vindle/mistakes.md; do
  grep -qx "$path" <<<"$files" || fail "$path is not in the package"
done
grep -q -e '^\./usr/lib/.*\.a$' -e '/tests\?/' -e 'e2e_' <<<"$files" && fail "test files in the package"

dpkg-deb -x "$deb" "$scratch/root"
grep -qx 'prefix=/usr' "$scratch/root/usr/lib/pkgconfig/vindle.pc" || fail "vindle.pc does not name /usr"
[ "$(objdump -p "$scratch/root/usr/lib/$soname" | awk '/SONAME/ {print $2}')" = "$soname" ] ||
  fail "wrong SONAME in the package"

# Computed from the library: every shared library it needs is a dependency.
depends=$(dpkg-deb -f "$deb" Depends)
for package in libc6 "libglut[0-9.]+" "libpng[0-9-]+" libfreetype6 libfontconfig1 libsdl2-mixer-2.0-0 libxft2 libx11-6 fonts-wqy-zenhei; do
  grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
echo "package $(basename "$deb"): $(wc -l <<<"$files") entries; Depends: $depends"

#!/usr/bin/env bash
# Packs the Windows build (tools/windows.sh build) for students as
# build-windows/Vindle-<version>-windows.zip, everything under Vindle-<version>/:
#   x86/ x64/        Vindle.dll, Vindle.lib (Visual Studio), libvindle.dll.a (MinGW)
#   vindle.h         UTF-8 with a byte order mark, which Visual Studio and gcc both read
#   VisualStudio/    MyGame.sln and MyGame.vcxproj (x86 and x64) with main.c and its resources
#   DevCpp-64/ DevCpp-32/   MyGame.dev with main.c, the matching Vindle.dll and resources
#   docs/            the manual and the page of mistakes as HTML pages
#   examples/        the examples' sources with their Images, Sprites and Sounds
#   demo/            the demo built for 32-bit Windows, its source and resources
#   README.txt       in Chinese: the steps for each tool and what to do when stuck
# Sources are in GBK with CR LF line ends, as a Chinese Windows keeps them. Then
# tools/windows/package_test.sh checks the zip.
set -euo pipefail
cd "$(dirname "$0")/../.."
tools/setup.sh student windows
version=$(sed -n 's/^project(vindle VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
top=Vindle-$version
stage=build-windows/package
zip=$PWD/build-windows/$top-windows.zip

for target in win32 win64; do
  for file in Vindle.dll Vindle.lib libvindle.dll.a; do
    [ -f build-windows/$target/$file ] || { echo "no build-windows/$target/$file: run tools/windows.sh build" >&2; exit 1; }
  done
done
# The pictures and sounds are made by the native build's generators.
tests=()
[ -f build/CMakeCache.txt ] || tests=(-DVINDLE_TESTS=OFF)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${tests[@]}" >/dev/null
cmake --build build -j"${JOBS:-2}" --target game_resources >/dev/null

# Text for Windows: CR LF line ends; $2 is gbk (sources) or bom (UTF-8 with a byte order mark).
windows_text() {
  case "$2" in
    gbk) iconv -f UTF-8 -t GBK "$1" | sed 's/$/\r/' ;;
    bom) printf '\357\273\277'; sed 's/$/\r/' "$1" ;;
  esac
}
resources() {   # Images, Sprites and Sounds of the examples into folder $1
  mkdir -p "$1/Sounds"
  cp -r build/examples/Images build/examples/Sprites "$1/"
  cp build/examples/Sounds/*.wav build/examples/Sounds/*.mp3 "$1/Sounds/"
}

rm -rf "$stage" "$zip"
root=$stage/$top
mkdir -p "$root/x86" "$root/x64" "$root/docs" "$root/demo" "$root/examples" "$root/VisualStudio"
for pair in win32:x86 win64:x64; do
  cp build-windows/${pair%%:*}/{Vindle.dll,Vindle.lib,libvindle.dll.a} "$root/${pair#*:}/"
done
windows_text include/vindle.h bom >"$root/vindle.h"
{ windows_text tools/windows/README.txt bom; } | sed "s/@VERSION@/$version/" >"$root/README.txt"

# The manual as pages a browser opens offline; links between them stay links.
# Debian's python3, which python3-markdown is for.
/usr/bin/python3 - "$root/docs" docs/api.md docs/mistakes.md <<'EOF'
import html, re, sys, markdown
out = sys.argv[1]
for source in sys.argv[2:]:
    text = open(source, encoding="utf-8").read()
    # Python-Markdown nests lists by four spaces; the manual indents by two.
    text = re.sub(r"^((?:  )+)([-*] |[0-9]+\. )", lambda m: m.group(1) * 2 + m.group(2), text, flags=re.M)
    title = re.search(r"^# (.*)$", text, re.M).group(1)
    body = markdown.markdown(text, extensions=["tables", "fenced_code"])
    body = re.sub(r'href="([a-z]+)\.md"', r'href="\1.html"', body)
    name = source.rsplit("/", 1)[1][:-3]
    with open(f"{out}/{name}.html", "w", encoding="utf-8", newline="\r\n") as page:
        page.write(f"""<!DOCTYPE html>
<html lang="zh-CN"><head><meta charset="utf-8"><title>{html.escape(title)}</title>
<style>body{{font-family:"Microsoft YaHei",sans-serif;max-width:70em;margin:1em auto;padding:0 1em;line-height:1.5}}
table{{border-collapse:collapse}}td,th{{border:1px solid #bbb;padding:.3em .5em;vertical-align:top}}
code,pre{{background:#f3f3f3}}pre{{padding:.5em;overflow:auto}}img{{max-width:100%}}</style></head>
<body>
{body}
</body></html>
""")
EOF
mkdir -p "$root/docs/images"
for image in $(grep -oh 'images/[A-Za-z0-9_-]*\.png' docs/api.md docs/mistakes.md | sort -u); do
  cp "docs/$image" "$root/docs/images/"
done

# The first game, for Visual Studio and for Dev-C++ (one project per bitness:
# the folder holds the DLL the program runs with).
windows_text tools/windows/project/main.c gbk >"$root/VisualStudio/main.c"
windows_text tools/windows/project/MyGame.vcxproj bom >"$root/VisualStudio/MyGame.vcxproj"
windows_text tools/windows/project/MyGame.sln bom >"$root/VisualStudio/MyGame.sln"
resources "$root/VisualStudio"
# Dev-C++ 5.11 lists its TDM-GCC compilers 64-bit first: set 0 is 64-bit Release, 3 is 32-bit Release.
for variant in 64:x64:-m64:0 32:x86:-m32:3; do
  IFS=: read -r bits arch flag set <<<"$variant"
  dir=$root/DevCpp-$bits
  mkdir -p "$dir"
  windows_text tools/windows/project/main.c gbk >"$dir/main.c"
  sed -e "s/@BITS@/$flag/g" -e "s/@ARCH@/$arch/g" -e "s/@COMPILER_SET@/$set/" -e 's/$/\r/' \
    tools/windows/project/MyGame.dev >"$dir/MyGame.dev"
  cp "$root/$arch/Vindle.dll" "$dir/"
  resources "$dir"
done

# The examples' sources and resources; the demo built for 32-bit Windows, which runs on every Windows.
for source in examples/*.c; do
  windows_text "$source" gbk >"$root/examples/$(basename "$source")"
done
resources "$root/examples"
i686-w64-mingw32-gcc-posix -O2 -Wall -Wextra -Werror -fexec-charset=GBK -Ibuild-windows/win32 -static \
  -o "$root/demo/demo.exe" examples/demo.c build-windows/win32/Vindle.lib
i686-w64-mingw32-strip "$root/demo/demo.exe"
cp build-windows/win32/Vindle.dll "$root/demo/"
windows_text examples/demo.c gbk >"$root/demo/demo.c"
resources "$root/demo"

(cd "$stage" && zip -qr -X "$zip" "$top")
echo "Packed build-windows/$top-windows.zip ($(stat -c %s "$zip") bytes, $(unzip -Z1 "$zip" | grep -vc '/$') files under $top/)"
tools/windows/package_test.sh "$zip"

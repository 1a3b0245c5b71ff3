#!/usr/bin/env bash
# Checks the students' zip (tools/windows/package.sh) the way a student uses it:
#   - everything under one Vindle-<version>/ folder, each tool's files in place;
#   - text files in the encodings Windows tools read: GBK sources in which no
#     character hides a backslash byte (gcc would read an escape there), UTF-8
#     with a byte order mark for vindle.h, README.txt and the projects;
#   - the Visual Studio project: both platforms point at the folders and files
#     that exist, the source's character set, and its post-build step, run by
#     Wine's cmd.exe, puts the DLL of the right bitness and the resources next
#     to the .exe;
#   - the Dev-C++ projects: each built with exactly the flags its .dev names by
#     the posix and (when installed) the win32 thread models of mingw-w64; the
#     programs import only system DLLs and Vindle.dll; the 64-bit ones run
#     under wine64: window, banner, Escape ends them with status 1;
#   - the packed demo runs (a screenshot as build-windows/demo-windows.png).
# 32-bit programs run only where the kernel runs them; one line says so.
#   tools/windows/package_test.sh build-windows/Vindle-<version>-windows.zip
set -euo pipefail
zip=$(readlink -f "$1")
cd "$(dirname "$0")/../.."
. tools/dev/xvfb.sh
. tools/windows/wine-env.sh
. tools/dev/window.sh

failed=0
fail() { echo "FAILED: $*"; failed=$((failed + 1)); }
work=$(mktemp -d /tmp/vindle-zip-XXXXXX)
cleanup() { wine_stop; [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT

top=$(unzip -Z1 "$zip" | sed -n "1s|/.*||p")
[[ "$top" =~ ^Vindle-[0-9]+$ ]] || fail "the zip's first entry is not in a Vindle-<version>/ folder: $top"
outside=$(unzip -Z1 "$zip" | grep -v "^$top/" || true)
[ -z "$outside" ] || fail "entries outside $top/: $outside"
(cd "$work" && unzip -q "$zip")
v=$work/$top
for file in README.txt vindle.h x86/Vindle.dll x86/Vindle.lib x86/libvindle.dll.a x64/Vindle.dll \
    x64/Vindle.lib x64/libvindle.dll.a docs/api.html docs/mistakes.html VisualStudio/MyGame.sln \
    VisualStudio/MyGame.vcxproj VisualStudio/main.c DevCpp-64/MyGame.dev DevCpp-32/MyGame.dev \
    examples/demo.c examples/Images/bg.png examples/Sounds/bgm.mp3 demo/demo.exe; do
  [ -f "$v/$file" ] || fail "no $file in the zip"
done

# Encodings.
python3 - "$v" <<'EOF' || fail "encodings (above)"
import pathlib, sys
root, bad = pathlib.Path(sys.argv[1]), []
for path in root.rglob("*"):
    name = path.name
    if name.endswith((".c", ".dev")):
        data = path.read_bytes()
        try:
            text = data.decode("gbk")
        except UnicodeDecodeError as error:
            bad.append(f"{path}: not GBK ({error})"); continue
        if b"\n" in data.replace(b"\r\n", b""):
            bad.append(f"{path}: lines not ended with CR LF")
        for ch in text:
            if ch != "\\" and b"\\" in ch.encode("gbk"):
                bad.append(f"{path}: {ch!r} has a backslash byte in GBK")
    elif name in ("vindle.h", "README.txt", "MyGame.sln", "MyGame.vcxproj"):
        if not path.read_bytes().startswith(b"\xef\xbb\xbf"):
            bad.append(f"{path}: no UTF-8 byte order mark")
    elif name.endswith(".html"):
        page = path.read_bytes().decode("utf-8")
        if '<meta charset="utf-8">' not in page or "<table>" not in page and "api" in name:
            bad.append(f"{path}: not a UTF-8 page with the manual's tables")
        if ".md\"" in page:
            bad.append(f"{path}: links to a .md file")
for line in bad: print(line)
sys.exit(1 if bad else 0)
EOF

# Which PE machine a DLL or program is for: pei-i386 or pei-x86-64.
pe_format() { LC_ALL=C objdump -f "$1" | sed -n 's/.*file format //p'; }
# The DLLs a program imports that are neither Windows' own nor Vindle.dll.
foreign_imports() {
  LC_ALL=C objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' |
    grep -vxE 'vindle\.dll|kernel32\.dll|msvcrt\.dll|user32\.dll|api-ms-win-crt-[a-z0-9-]+\.dll' || true
}

# The Visual Studio project: paths and settings per platform, from its XML.
python3 - "$v/VisualStudio" >"$work/vs-platforms" <<'EOF' || fail "the Visual Studio project (above)"
import os, re, sys, xml.etree.ElementTree as ET
folder = sys.argv[1]
ns = {"m": "http://schemas.microsoft.com/developer/msbuild/2003"}
project = ET.parse(os.path.join(folder, "MyGame.vcxproj")).getroot()
bad = []
configs = sorted(c.get("Include") for c in project.iterfind(".//m:ProjectConfiguration", ns))
if configs != ["Debug|Win32", "Debug|x64", "Release|Win32", "Release|x64"]:
    bad.append(f"configurations {configs}")
def text(path):
    return [e.text for e in project.iterfind(path, ns)]
def arch_of(platform):   # the project's own VindleArch for this platform
    for e in project.iterfind(".//m:VindleArch", ns):
        if e.get("Condition", "").replace(" ", "") == f"'$(Platform)'=='{platform}'":
            return e.text
def expand(value, platform):
    value = value.replace("$(VindleDir)", os.path.join(folder, "..")).replace("$(VindleArch)", arch_of(platform))
    return value.replace("$(MSBuildThisFileDirectory)", folder + "/").replace("\\", "/")
vindle_dir = text(".//m:VindleDir")[0]
if vindle_dir != "$(MSBuildThisFileDirectory)..":
    bad.append(f"VindleDir is {vindle_dir}")
for platform in ("Win32", "x64"):
    includes = expand(text(".//m:AdditionalIncludeDirectories")[0].split(";")[0], platform)
    if not os.path.isfile(os.path.join(includes, "vindle.h")):
        bad.append(f"{platform}: no vindle.h in {includes}")
    libs = expand(text(".//m:AdditionalLibraryDirectories")[0].split(";")[0], platform)
    if not os.path.isfile(os.path.join(libs, "Vindle.lib")):
        bad.append(f"{platform}: no Vindle.lib in {libs}")
    print(platform, arch_of(platform), os.path.normpath(libs))
if "Vindle.lib" not in text(".//m:AdditionalDependencies")[0].split(";"):
    bad.append("Vindle.lib is not linked")
options = text(".//m:AdditionalOptions")[0]
if "/source-charset:.936" not in options or "/execution-charset:.936" not in options or "/utf-8" in options:
    bad.append(f"character set options: {options}")
if "_CRT_SECURE_NO_WARNINGS" not in text(".//m:PreprocessorDefinitions")[0]:
    bad.append("no _CRT_SECURE_NO_WARNINGS")
sources = [c.get("Include") for c in project.iterfind(".//m:ClCompile[@Include]", ns)]
if sources != ["main.c"] or not os.path.isfile(os.path.join(folder, "main.c")):
    bad.append(f"sources {sources}")
solution = open(os.path.join(folder, "MyGame.sln"), encoding="utf-8-sig").read()
guid = project.find(".//m:ProjectGuid", ns).text
if f'"MyGame.vcxproj", "{guid}"' not in solution:
    bad.append("the solution does not name the project with its GUID")
for sln, proj in (("x86", "Win32"), ("x64", "x64")):
    for config in ("Debug", "Release"):
        if f"{guid}.{config}|{sln}.Build.0 = {config}|{proj}" not in solution:
            bad.append(f"the solution does not build {config}|{sln} as {config}|{proj}")
for line in bad: print("  " + line, file=sys.stderr)
sys.exit(1 if bad else 0)
EOF

# Each platform links the import library of its own machine.
while read -r platform arch libs; do
  want=pei-x86-64
  [ "$platform" = Win32 ] && want=pei-i386
  [ "$(pe_format "$libs/Vindle.dll")" = $want ] || fail "VisualStudio $platform: links $libs/Vindle.lib, which is for $(pe_format "$libs/Vindle.dll")"
done <"$work/vs-platforms"

# Dev-C++: the flags of a .dev (Dev-C++ separates them with _@@_).
dev_field() { sed -n "s/^$2=//p" "$1" | tr -d '\r' | sed 's/_@@_/ /g'; }
compilers=(posix)
if command -v x86_64-w64-mingw32-gcc-win32 >/dev/null && command -v i686-w64-mingw32-gcc-win32 >/dev/null; then
  compilers+=(win32)
else
  echo "Dev-C++ projects: the win32 thread model of mingw-w64 is not installed (gcc-mingw-w64-*-win32); built with posix only"
fi
built=()
for bits in 64 32; do
  dir=$v/DevCpp-$bits
  case $bits in 64) triple=x86_64-w64-mingw32 format=pei-x86-64 ;; 32) triple=i686-w64-mingw32 format=pei-i386 ;; esac
  includes=$(dev_field "$dir/MyGame.dev" Includes)
  [ -f "$dir/$includes/vindle.h" ] || fail "DevCpp-$bits: Includes=$includes holds no vindle.h"
  [ "$(pe_format "$dir/Vindle.dll")" = "$format" ] || fail "DevCpp-$bits: its Vindle.dll is $(pe_format "$dir/Vindle.dll")"
  for model in "${compilers[@]}"; do
    out=$work/devcpp-$bits-$model
    mkdir -p "$out"
    # As Dev-C++ runs make in the project's folder.
    # shellcheck disable=SC2046
    if (cd "$dir" && "$triple-gcc-$model" -c main.c -o "$out/main.o" $(dev_field MyGame.dev Compiler) -I"$includes" &&
        "$triple-gcc-$model" "$out/main.o" -o "$out/MyGame.exe" $(dev_field MyGame.dev Linker)) >"$out/log" 2>&1; then
      [ "$(pe_format "$out/MyGame.exe")" = "$format" ] || fail "DevCpp-$bits ($model): MyGame.exe is $(pe_format "$out/MyGame.exe")"
      foreign=$(foreign_imports "$out/MyGame.exe")
      [ -z "$foreign" ] || fail "DevCpp-$bits ($model): MyGame.exe needs $foreign"
      built+=("$bits-$model")
    else
      fail "DevCpp-$bits ($model): $(grep -m3 -E "error|undefined|incompatible" "$out/log")"
    fi
  done
done
echo "Dev-C++ projects built with their own flags: ${built[*]}"

start_private_display
wine_start win64
trap cleanup EXIT
# The post-build step of the Visual Studio project, as MSBuild hands it to cmd.exe.
winpath() { echo "Z:${1//\//\\}"; }
for platform in x64:x64:x64 Win32:x86:; do
  IFS=: read -r name arch sub <<<"$platform"
  project_arch=$(awk -v p="$name" '$1 == p {print $2}' "$work/vs-platforms")
  vs=$v/VisualStudio
  outdir="$(winpath "$vs")\\${sub:+$sub\\}Debug\\"
  python3 - "$vs/MyGame.vcxproj" "$(winpath "$vs")\.." "$project_arch" "$outdir" "$(winpath "$vs")\\" >"$work/post-$arch.cmd" <<'EOF'
import sys, xml.etree.ElementTree as ET
ns = {"m": "http://schemas.microsoft.com/developer/msbuild/2003"}
command = ET.parse(sys.argv[1]).getroot().find(".//m:PostBuildEvent/m:Command", ns).text
for macro, value in zip(("$(VindleDir)", "$(VindleArch)", "$(OutDir)", "$(ProjectDir)"), sys.argv[2:]):
    command = command.replace(macro, value)
sys.stdout.write("@echo off\r\n" + command.replace("\n", "\r\n") + "\r\n")
EOF
  mkdir -p "$vs/${sub:+$sub/}Debug"
  "$WINE" cmd /c "$(winpath "$work/post-$arch.cmd")" >"$work/post-$arch.log" 2>&1 || fail "VisualStudio $name: the post-build step failed: $(cat "$work/post-$arch.log")"
  exe_dir=$vs/${sub:+$sub/}Debug
  cmp -s "$exe_dir/Vindle.dll" "$v/$arch/Vindle.dll" || fail "VisualStudio $name: the post-build step left no $arch Vindle.dll next to the .exe"
  for file in Images/bg.png Sprites/walker/walk/1.png Sounds/jump.wav; do
    [ -f "$exe_dir/$file" ] || fail "VisualStudio $name: the post-build step left no $file next to the .exe"
  done
done
echo "Visual Studio project: both platforms find vindle.h and Vindle.lib; the post-build step ran in Wine's cmd.exe"

# The first game as a Dev-C++ user runs it: from its project folder.
run_first_game() {
  local exe=$1 label=$2 status=0
  cp "$exe" "$v/DevCpp-64/MyGame.exe"
  GAME_LOG=$work/game.log start_game bash -c "cd '$v/DevCpp-64' && exec '$WINE' MyGame.exe" ||
    { fail "$label: no window; $(iconv -f GBK -t UTF-8 "$work/game.log" 2>&1 | tail -3)"; return; }
  sleep 2
  save_window build-windows/first-game-windows.png
  xdotool windowfocus --sync "$GAME_WINDOW" key Escape
  for _ in $(seq 1 100); do kill -0 "$GAME_PID" 2>/dev/null || break; sleep 0.1; done
  wait "$GAME_PID" || status=$?
  if [ $status -eq 1 ] && iconv -f GBK -t UTF-8 "$work/game.log" | grep -q "docs"; then
    echo "$label: ran under wine64, printed the banner, Escape ended it with status 1"
  else
    fail "$label: status $status, output: $(iconv -f GBK -t UTF-8 "$work/game.log" 2>&1 | tail -3)"
  fi
}
for model in "${compilers[@]}"; do
  [ -f "$work/devcpp-64-$model/MyGame.exe" ] && run_first_game "$work/devcpp-64-$model/MyGame.exe" "DevCpp-64 ($model)"
done
reason=$(wine32_missing_reason)
[ -z "$reason" ] || echo "DevCpp-32 and demo.exe: SKIPPED the runs under Wine: $reason; built and checked statically"

# The packed demo, under the 32-bit Wine where it can run, else built again as 64-bit.
demo=$v/demo
if [ -n "$reason" ]; then
  cp "$v/x64/Vindle.dll" "$demo/"
  x86_64-w64-mingw32-gcc-posix -O2 -fexec-charset=GBK -I"$v" -static -o "$demo/demo.exe" examples/demo.c "$v/x64/Vindle.lib"
else
  wine_stop
  wine_start win32
  trap cleanup EXIT
fi
(cd "$demo" && exec "$WINE" demo.exe >"$work/demo.log" 2>&1) &
pid=$!
sleep "${DEMO_SECONDS:-8}"
import -window root build-windows/demo-windows.png
if kill -0 $pid 2>/dev/null; then
  echo "The packed demo runs under Wine; screenshot: build-windows/demo-windows.png"
else
  fail "the packed demo ended early under Wine: $(iconv -f GBK -t UTF-8 "$work/demo.log" | tail -5)"
fi
# Ending Wine ends the demo with a signal; bash's note about it is noise.
{ "$WINESERVER" -k; wait $pid; } 2>/dev/null || true

[ $failed -eq 0 ] || { echo "Package checks failed: $failed"; exit 1; }
echo "Package checks passed"

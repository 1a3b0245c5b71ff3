#!/usr/bin/env bash
# The commands the READMEs show: the Chinese and the English README show the
# same ones (and the same CMake project, which install_test.sh builds); every
# program they name exists; the ones that make, build and run a game are run
# as a student would type them (in a scratch home, against a scratch install),
# and the first game from the README is built and run.
#   readme_test.sh BUILD_DIR SOURCE_DIR
. "$(dirname "$0")/common.sh"
build=$(readlink -f "$1") source=$(readlink -f "$2")

# The lines of the ```sh blocks, comments dropped.
commands() {
  awk '/^```sh$/ {on = 1; next} /^```/ {on = 0} on' "$1" | sed -e 's/[[:space:]]*#.*$//' -e '/^$/d'
}
commands "$source/README.md" >"$scratch/zh"
commands "$source/README.en.md" >"$scratch/en"
diff -u "$scratch/zh" "$scratch/en" >&2 || fail "the two READMEs show different commands"
[ "$(grep -c '' "$scratch/zh")" -ge 10 ] || fail "hardly any commands found"
diff <(awk '/^```c$/ {on = 1; next} /^```/ {on = 0} on' "$source/README.md" | grep -c '') \
     <(awk '/^```c$/ {on = 1; next} /^```/ {on = 0} on' "$source/README.en.md" | grep -c '') >/dev/null ||
  fail "the two READMEs show different first games"

diff <(awk '/^```cmake$/ {on = 1; next} /^```/ {on = 0} on' "$source/README.md") \
     <(awk '/^```cmake$/ {on = 1; next} /^```/ {on = 0} on' "$source/README.en.md") >&2 ||
  fail "the two READMEs show different CMake projects"

# The package sets and test options the READMEs name are the ones the scripts
# take, and every set of packages is named there.
sets=" $("$source/tools/setup.sh" --sets) "
for set in $(grep -o 'tools/setup.sh [a-z]*' "$scratch/zh" | awk '{print $2}' | sort -u); do
  [[ "$sets" == *" $set "* ]] || fail "the READMEs name the package set '$set'; tools/setup.sh has: $sets"
done
for set in $sets; do
  [ "$set" = student ] || grep -q "tools/setup.sh $set\b" "$scratch/zh" || fail "the READMEs never name the package set '$set'"
done
for option in $(grep -o 'tools/test.sh --[a-z]*' "$scratch/zh" | awk '{print $2}' | sort -u); do
  grep -q "^  $option)" "$source/tools/test.sh" || fail "the READMEs name tools/test.sh $option, which it does not take"
done

# The package the READMEs install is the one tools/package.sh makes.
deb="vindle_$(awk '/^Version:/ {print $2}' "$build/vindle.pc.in")_$(dpkg --print-architecture).deb"
grep -ho 'vindle_[^ ]*\.deb' "$source/README.md" "$source/README.en.md" | sort -u | while read -r named; do
  [ "$named" = "$deb" ] || fail "the READMEs name $named, the package is $deb"
done

# Every program named exists: ours in the source tree, the others on PATH
# (vindle-new-game once installed).
prefix=$scratch/prefix
cmake --install "$build" --prefix "$prefix" >/dev/null
while read -r line; do
  for word in $(sed -e 's/ && /\n/g' <<<"$line" | sed 's/^sudo //' | awk '{print $1}'); do
    case "$word" in
      tools/* | bench/*) [ -x "$source/$word" ] || fail "$word (in: $line) is not an executable script" ;;
      build/examples/*) [ -x "$build/${word#build/}" ] || fail "$word is not built" ;;
      vindle-new-game) [ -x "$prefix/bin/$word" ] || fail "$word is not installed" ;;
      ./mygame | cd) ;;
      *) command -v "$word" >/dev/null || fail "$word (in: $line) is not on PATH" ;;
    esac
  done
done <"$scratch/zh"

# Run what a student runs to get a game on the screen, both routes. A game that
# still runs after a few seconds (status 124 from timeout) is a running game.
export HOME=$scratch/home VINDLE_BUILD_DIR=$build SDL_AUDIODRIVER=dummy
export PATH=$prefix/bin:$PATH PKG_CONFIG_PATH=$prefix/lib/pkgconfig LD_LIBRARY_PATH=$prefix/lib
mkdir -p "$HOME"
run_lines() {
  local line made status
  cd "$source"
  while read -r line; do
    rm -rf "$HOME/mygame"
    case "$line" in
      tools/new-game.sh* | vindle-new-game*) ;;
      *) continue ;;
    esac
    made=$line
    eval "$line" >"$scratch/out" 2>&1 || { cat "$scratch/out" >&2; fail "$line"; }
    read -r line
    [[ "$line" == "cd ~/mygame && make run" ]] || fail "no 'make run' after $made"
    status=0
    (cd "$HOME/mygame" && timeout 4 make run >"$scratch/out" 2>&1) || status=$?
    [ "$status" = 124 ] || { cat "$scratch/out" >&2; fail "make run ended with status $status"; }
    echo "ran: $made; $line"
  done <"$scratch/zh"
}
run_lines

awk '/^```c$/ {on = 1; next} /^```/ {on = 0} on' "$source/README.md" >"$scratch/main.c"
cd "$scratch"
grep -q '^gcc main.c \$(pkg-config --cflags --libs vindle) -o mygame$' "$scratch/zh" || fail "no gcc line"
gcc main.c $(pkg-config --cflags --libs vindle) -o mygame
expect_game_ends ./mygame

# The manual quotes every message a game can print, exactly as the engine
# prints it (banner, box buttons and the sound backend's reasons aside).
printf '#include "core/messages.h"\n#include <cstdio>\n#define P(name, text) printf("%%s\\t%%s\\n", #name, text);\nint main() { VINDLE_MESSAGES(P) }\n' >messages.cpp
g++ -std=c++17 -I"$source/src" messages.cpp -o messages
# The banner and the first title point to something that exists, not to a placeholder.
./messages | grep -E '^kMsg(Banner|InitialTitle)' | grep -q 'example\.' && fail "a message names a placeholder address"
./messages | grep -Ev '^kMsg(Banner|Button|SoundHardware|SoundNotOpen|SoundFileNotFound|SoundCannotDecode|SoundUnknownError)' |
  while IFS=$'\t' read -r name text; do
    grep -qF -- "$text" "$source/docs/api.md" || fail "docs/api.md does not quote $name: $text"
  done
echo "the READMEs' commands agree, exist, and make and run games; the manual quotes every message"

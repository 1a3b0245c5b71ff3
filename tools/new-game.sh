#!/usr/bin/env bash
# Makes the folder of a new game: main.c (a first game that runs), a Makefile,
# and Images/ Sprites/ Sounds/ with a picture, a sprite and a sound.
#   new-game.sh NAME [FOLDER]      (installed as vindle-new-game)
# Installed, the Makefile finds the engine with pkg-config; run from the
# engine's source folder, it uses the engine built there (building it first).
set -euo pipefail

if [ $# -lt 1 ] || [ $# -gt 2 ] || [ "${1#-}" != "$1" ]; then
  echo "用法 / usage: $(basename "$0") NAME [FOLDER]" >&2
  exit 2
fi
name=$1
folder=${2:-$1}
case "$name" in
  */* | *' '*) echo "游戏名不能含有 / 或空格：$name" >&2; exit 2 ;;
esac
if [ -e "$folder" ] && [ -n "$(ls -A "$folder" 2>/dev/null)" ]; then
  echo "文件夹 $folder 已经存在且不是空的，没有改动它。" >&2
  exit 1
fi

here=$(cd "$(dirname "$(readlink -f "$0")")" && pwd)
if [ -f "$here/../share/vindle/starter/main.c" ]; then
  starter=$here/../share/vindle/starter
  resources=$starter
  source_dir= build_dir=
else
  source_dir=$(cd "$here/.." && pwd)
  starter=$source_dir/tools/starter
  build_dir=$(readlink -f "${VINDLE_BUILD_DIR:-$source_dir/build}")
  resources=$build_dir/examples
  if [ ! -e "$build_dir/libvindle.so" ] || [ ! -e "$resources/Images/bg.png" ]; then
    echo "先编译引擎 / building the engine in $build_dir ..."
    "$source_dir/tools/setup.sh"
    # A new build folder leaves the tests out (they need the dev set).
    tests=()
    [ -f "$build_dir/CMakeCache.txt" ] || tests=(-DVINDLE_TESTS=OFF)
    cmake -S "$source_dir" -B "$build_dir" "${tests[@]}" >/dev/null
    cmake --build "$build_dir" -j"$(nproc)" --target vindle game_resources >/dev/null
  fi
fi

mkdir -p "$folder/Images" "$folder/Sprites" "$folder/Sounds"
cp "$starter/main.c" "$folder/main.c"
sed -e "s|^NAME = .*|NAME = $name|" -e "s|^VINDLE_BUILD =.*|VINDLE_BUILD =${build_dir:+ $build_dir}|" \
    -e "s|^VINDLE_SOURCE =.*|VINDLE_SOURCE =${source_dir:+ $source_dir}|" "$starter/Makefile" > "$folder/Makefile"
cp "$resources/Images/bg.png" "$folder/Images/"
cp -r "$resources/Sprites/walker" "$folder/Sprites/"
cp "$resources/Sounds/jump.wav" "$folder/Sounds/"

echo "新游戏已经建好：$folder"
echo "运行它 / run it:  cd $folder && make run"

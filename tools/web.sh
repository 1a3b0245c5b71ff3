#!/usr/bin/env bash
# The web build of Vindle: a game as a page that runs in the browser.
#   tools/web.sh build GAME.c RESOURCES_DIR OUT_DIR [NAME]
#        OUT_DIR/index.html and NAME.js/.wasm/.data beside it (NAME: the
#        game's file name without .c); the Images/, Sprites/ and Sounds/ of
#        RESOURCES_DIR go into the page
#   tools/web.sh serve OUT_DIR [PORT]
#        serves the page on http://127.0.0.1:PORT/ (default 8000) with the
#        headers that threads in a page need
#   tools/web.sh test     builds the test games for the web and runs them in
#                         headless Chromium
# Any folder of static files can host the page: where the host cannot send
# those headers, the page's service worker (isolate.js) adds them.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)

usage() { sed -n '2,13s/^# \{0,1\}//p' "$0"; exit 2; }

# emcc's optimiser needs Debian's acorn, which another vendor's node misses.
export NODE_PATH="${NODE_PATH:+$NODE_PATH:}/usr/share/nodejs"

# emscripten, CMake and Debian's source packages build the pages; chromium
# with a CJK font, and lame (for a test's MP3), test them. tools/setup.sh
# installs them once it knows the web set.
setup() {
  if grep -q '^ *web)' "$here/tools/setup.sh"; then
    "$here/tools/setup.sh" web
    return
  fi
  local wanted=(emscripten cmake make dpkg-dev python3 chromium fonts-wqy-zenhei lame) missing=() p
  for p in "${wanted[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: ${missing[*]} (sudo apt-get install ${missing[*]})" >&2
    exit 1
  fi
  apt-get -o DPkg::Lock::Timeout=900 update -qq
  DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# The engine as a static WebAssembly library in build-web/engine/.
build_engine() {
  "$here/tools/web/deps.sh"
  local dir="$here/build-web/engine"
  if [ ! -f "$dir/CMakeCache.txt" ]; then
    emcmake cmake -S "$here" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DVINDLE_TESTS=OFF \
      -DVINDLE_EXAMPLES=OFF >"$dir.log" 2>&1 || { cat "$dir.log"; exit 1; }
  fi
  cmake --build "$dir" -j"${JOBS:-2}" --target vindle >>"$dir.log" 2>&1 || { tail -50 "$dir.log"; exit 1; }
}

# Links GAME.c with the engine into OUT_DIR/NAME.js, .wasm, .data and the page.
build_game() {
  local game="$1" resources="$2" out="$3" name="${4:-$(basename "$1" .c)}"
  [ -f "$game" ] || { echo "no such game source: $game" >&2; exit 2; }
  [ -d "$resources" ] || { echo "no such resources folder: $resources" >&2; exit 2; }
  mkdir -p "$out"
  local preload=()
  for folder in Images Sprites Sounds; do
    [ -d "$resources/$folder" ] && preload+=(--preload-file "$resources/$folder@/game/$folder")
  done
  [ ${#preload[@]} -gt 0 ] || preload=(-sFORCE_FILESYSTEM=1)
  local libraries=()
  for js in "$here"/src/platform/web/*.js; do libraries+=(--js-library "$js"); done
  rm -f "$out/$name".{js,wasm,data,worker.js}
  emcc -O2 -pthread -Wall -I"$here/include" "$game" \
    "$here/build-web/engine/libvindle.a" "$here/build-web/deps/lib/libpng16.a" "$here/build-web/deps/lib/libz.a" \
    "${libraries[@]}" "${preload[@]}" \
    -sPTHREAD_POOL_SIZE=4 -sPTHREAD_POOL_SIZE_STRICT=0 -sENVIRONMENT=web,worker \
    -sINITIAL_MEMORY=64MB -sALLOW_MEMORY_GROWTH=1 -sMAXIMUM_MEMORY=1GB -Wno-pthreads-mem-growth \
    -sEXPORTED_FUNCTIONS=_main,_malloc,_free -sEXPORTED_RUNTIME_METHODS=ENV \
    -o "$out/$name.js"
  sed -e "s|@TITLE@|$name|g" -e "s|@SCRIPT@|$name.js|g" "$here/tools/web/index.html" >"$out/index.html"
  cp "$here/tools/web/isolate.js" "$out/"
}

[ $# -gt 0 ] || usage
case "$1" in
  build)
    [ $# -eq 4 ] || [ $# -eq 5 ] || usage
    start=$SECONDS
    # Set by callers that build several pages at once, the engine first.
    if [ -z "${VINDLE_WEB_ENGINE_BUILT:-}" ]; then
      setup
      build_engine
    fi
    build_game "${@:2}"
    echo "Built $4/index.html in $((SECONDS - start)) s; show it with: tools/web.sh serve $4"
    ;;
  serve)
    [ $# -ge 2 ] && [ $# -le 3 ] || usage
    exec python3 "$here/tools/web/serve.py" "$2" "${3:-8000}"
    ;;
  test)
    setup
    build_engine
    exec python3 "$here/tests/web/web_test.py" "${@:2}"
    ;;
  *) usage ;;
esac

#!/usr/bin/env bash
# Installs the Debian packages for one or more sets; with no set, the student's.
# Run as root it says how much it will download and install, then installs
# what is missing; otherwise it names what is missing and how to install it.
#   sudo tools/setup.sh                 student: build and run games (compiler,
#                                       CMake, the engine's -dev libraries, the
#                                       Chinese font)
#   sudo tools/setup.sh dev             + the test tools (GoogleTest, OSMesa,
#                                       Xvfb, xdotool, clang and libFuzzer)
#   sudo tools/setup.sh windows         the cross build of the Windows DLLs and
#                                       Wine to test them
#   sudo tools/setup.sh web             emscripten and Chromium
# Several sets may be named at once (tools/setup.sh dev windows).
#   tools/setup.sh --sets               names the sets
#   tools/setup.sh --size SET...        what installing them would take, installing nothing
set -euo pipefail
cd "$(dirname "$0")/.."
all_sets=(student dev windows web)
[ "${1:-}" != --sets ] || { echo "${all_sets[*]}"; exit 0; }
size_only=0
[ "${1:-}" != --size ] || { size_only=1; shift; }

student_packages=(
  build-essential cmake pkg-config file
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libpng-dev zlib1g-dev
  libfreetype-dev libfontconfig-dev fonts-wqy-zenhei libxft-dev libxext-dev
  libsdl2-dev libsdl2-mixer-dev libmpg123-dev libsndfile1-dev lame
)
# A private X display, for the demo on a machine without one and for the tests.
display_packages=(xvfb xauth x11-utils xdotool imagemagick)
dev_packages=(
  "${student_packages[@]}" "${display_packages[@]}" python3
  libosmesa6-dev libgtest-dev libgmock-dev libbenchmark-dev libxfixes-dev
  clang libclang-rt-14-dev libfuzzer-14-dev
)
# mingw-w64 with POSIX threads for the DLLs (and its win32 thread model, which
# the package test compiles the Dev-C++ projects with too), dpkg-dev for Debian's source
# packages of freeglut, libpng and zlib, LLVM's dlltool for Vindle.lib; Wine
# with GStreamer's decoders for MP3 through MCI, a Chinese locale, clang and
# lld-link for a Visual Studio style link, python3-markdown for the manual's
# pages, zip for the package.
windows_packages=(
  cmake make dpkg-dev binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-win32 g++-mingw-w64-x86-64-win32
  llvm
  wine wine64 gstreamer1.0-plugins-base gstreamer1.0-plugins-good locales
  "${display_packages[@]}" fonts-wqy-zenhei
  clang lld python3-markdown zip unzip
)
# The 32-bit Wine needs 32-bit Mesa for its OpenGL window (not pulled in without
# recommends); all of it only where the kernel runs 32-bit programs.
wine32_packages=(
  wine32:i386 libgl1-mesa-dri:i386 libglx-mesa0:i386
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386
)
# emcc, CMake and Debian's source packages build the pages; Chromium with the
# CJK font, and lame for a test's MP3, test them.
web_packages=(emscripten nodejs cmake make dpkg-dev python3 chromium fonts-wqy-zenhei lame)

sets=("$@")
[ ${#sets[@]} -gt 0 ] || sets=(student)
packages=()
for set in "${sets[@]}"; do
  case "$set" in
    student) packages+=("${student_packages[@]}") ;;
    dev) packages+=("${dev_packages[@]}") ;;
    display) packages+=("${display_packages[@]}") ;;
    windows) packages+=("${windows_packages[@]}") ;;
    web)
      packages+=("${web_packages[@]}")
      # Node's own builds carry npm; Debian's come without it.
      command -v npm >/dev/null || packages+=(npm) ;;
    *) echo "unknown package set: $set (one of: ${all_sets[*]})" >&2; exit 2 ;;
  esac
done

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done | sort -u
}

# "N packages, D MB to download, I MB on disk" for what installing $@ would add.
planned_size() {
  local plan
  [ $# -gt 0 ] || { echo "nothing new"; return; }
  plan=$(apt-get install -s -qq --no-install-recommends "$@" 2>/dev/null | awk '/^Inst /{print $2}')
  [ -n "$plan" ] || { echo "nothing new"; return; }
  # shellcheck disable=SC2086
  apt-cache show --no-all-versions $plan 2>/dev/null |
    awk -v n="$(wc -l <<<"$plan")" '/^Size:/ {d += $2} /^Installed-Size:/ {i += $2}
      END {printf "%d packages, %.0f MB to download, %.0f MB on disk\n", n, d / 1e6, i / 1024}'
}

install() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: $*" >&2
    echo "Install them with: sudo tools/setup.sh ${sets[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get -o DPkg::Lock::Timeout=900 update -qq
  echo "Installing for the ${sets[*]} set: $(planned_size "$@")"
  apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "$@" >/dev/null
}

mapfile -t absent < <(missing "${packages[@]}")
if [ $size_only -eq 1 ]; then
  echo "${sets[*]}: $(planned_size "${absent[@]}")"
  exit 0
fi
[ ${#absent[@]} -eq 0 ] || install "${absent[@]}"

for set in "${sets[@]}"; do
  [ "$set" = windows ] || continue
  # The 32-bit Wine, only where the kernel runs 32-bit programs at all.
  . tools/windows/wine-env.sh
  mapfile -t absent < <(missing "${wine32_packages[@]}")
  if [ ${#absent[@]} -gt 0 ]; then
    if kernel_runs_i386; then
      if [ "$(id -u)" -eq 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
      fi
      install "${absent[@]}"
    else
      echo "Not installing the 32-bit Wine: this kernel does not run 32-bit programs"
    fi
  fi
  # Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936.
  if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
    if [ "$(id -u)" -ne 0 ]; then
      echo "Missing locale zh_CN.UTF-8: run sudo tools/setup.sh windows" >&2
      exit 1
    fi
    sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
    grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
    locale-gen >/dev/null
  fi
done

#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vindle need,
# for Linux and for the Windows build tested under Wine.
# Run as root it installs what is missing; otherwise it names what is missing.
#   tools/setup.sh                  everything: Linux, the Windows build, Wine
#   tools/setup.sh windows-build    the cross build of the Windows DLLs only
set -euo pipefail
cd "$(dirname "$0")/.."

linux_packages=(
  build-essential cmake pkg-config python3
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libosmesa6-dev
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-wqy-zenhei
  libsdl2-dev libsdl2-mixer-dev libmpg123-dev libsndfile1-dev lame libxft-dev libxext-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick libxfixes-dev
  clang libclang-rt-14-dev libfuzzer-14-dev python3
)
# mingw-w64 with POSIX threads, dpkg-dev for unpacking Debian's source
# packages of freeglut, libpng and zlib, and LLVM's dlltool for the import
# libraries.
windows_build_packages=(
  cmake make dpkg-dev binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix llvm
)
# Wine with GStreamer's decoders for MP3 through MCI, a Chinese locale, clang
# and lld-link for a Visual Studio style link, and zip for the package.
windows_test_packages=(
  wine wine64 gstreamer1.0-plugins-base gstreamer1.0-plugins-good locales
  clang lld zip unzip
)

case "${1:-all}" in
  all) packages=("${linux_packages[@]}" "${windows_build_packages[@]}" "${windows_test_packages[@]}") ;;
  windows-build) packages=("${windows_build_packages[@]}") ;;
  *) echo "unknown package set: $1 (all or windows-build)" >&2; exit 2 ;;
esac

missing() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || echo "$p"
  done
}

install() {
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing Debian packages: $*" >&2
    echo "Install them with: sudo apt-get install $*" >&2
    exit 1
  fi
  echo "Installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  apt-get -o DPkg::Lock::Timeout=900 update -qq
  apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "$@"
}

mapfile -t absent < <(missing "${packages[@]}")
[ ${#absent[@]} -eq 0 ] || install "${absent[@]}"
[ "${1:-all}" = all ] || exit 0

# The 32-bit Wine, only where the kernel runs 32-bit programs at all.
. tools/windows/wine-env.sh
wine32_packages=(wine32:i386 gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386)
mapfile -t absent < <(missing "${wine32_packages[@]}")
if [ ${#absent[@]} -gt 0 ] && kernel_runs_i386; then
  if [ "$(id -u)" -eq 0 ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
    dpkg --add-architecture i386
  fi
  install "${absent[@]}"
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936.
if ! locale -a 2>/dev/null | grep -qix 'zh_CN.utf8'; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing locale zh_CN.UTF-8: enable it in /etc/locale.gen and run locale-gen" >&2
    exit 1
  fi
  sed -i 's/^# *zh_CN.UTF-8 UTF-8/zh_CN.UTF-8 UTF-8/' /etc/locale.gen
  grep -qx 'zh_CN.UTF-8 UTF-8' /etc/locale.gen || echo 'zh_CN.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi

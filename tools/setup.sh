#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vindle need.
# Run as root it installs what is missing; otherwise it names what is missing.
#   tools/setup.sh                  the Linux build and its tests
#   tools/setup.sh windows-build    the cross build of the Windows DLLs
set -euo pipefail

linux_packages=(
  build-essential cmake pkg-config python3
  freeglut3-dev libglu1-mesa-dev libgl1-mesa-dri libosmesa6-dev
  libpng-dev zlib1g-dev libfreetype-dev libfontconfig-dev fonts-wqy-zenhei
  libsdl2-dev libsdl2-mixer-dev libmpg123-dev lame libxft-dev libxext-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick libxfixes-dev
  clang libclang-rt-14-dev libfuzzer-14-dev python3
)
# mingw-w64 with POSIX threads, and dpkg-dev for unpacking Debian's source
# packages of freeglut, libpng and zlib.
windows_build_packages=(
  cmake make dpkg-dev binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
)

case "${1:-linux}" in
  linux) packages=("${linux_packages[@]}") ;;
  windows-build) packages=("${windows_build_packages[@]}") ;;
  *) echo "unknown package set: $1 (linux or windows-build)" >&2; exit 2 ;;
esac

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing Debian packages: ${missing[*]}" >&2
  echo "Install them with: sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
apt-get -o DPkg::Lock::Timeout=900 update -qq
apt-get -o DPkg::Lock::Timeout=900 install -y -qq --no-install-recommends "${missing[@]}"

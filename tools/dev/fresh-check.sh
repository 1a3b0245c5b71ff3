#!/usr/bin/env bash
# Runs the README's commands in a bare Debian 12, as a new machine sees them:
# nothing installed by hand here is there. The committed HEAD of this checkout
# is cloned into a new copy of the bare system, and there:
#   1. the student's commands, with the student set alone:
#        sudo tools/setup.sh && tools/new-game.sh mygame /tmp/mygame && make -C /tmp/mygame
#      (how many MB of packages they installed is printed);
#   2. tools/test.sh (skipped with --student; `--quick` runs tools/test.sh --quick,
#      `--then 'COMMAND'` runs COMMAND instead, e.g. 'tools/windows.sh build test package').
#   tools/dev/fresh-check.sh [--student | --quick | --then COMMAND]     (also: tools/test.sh --fresh)
# The bare system (debootstrap --variant=minbase, from this machine's own apt
# archives) is made once and kept as a tarball in $FRESH_CACHE (default
# /var/tmp/fresh-debian). FRESH_KEEP=1 keeps the system afterwards. Needs root.
set -euo pipefail
cd "$(dirname "$0")/../.."
mode=full
then="tools/test.sh"
case "${1:-}" in
  --student) mode=student ;;
  --quick) then="tools/test.sh --quick" ;;
  --then) [ -n "${2:-}" ] || { echo "--then needs a command" >&2; exit 2; }; then=$2 ;;
  "") ;;
  *) sed -n '2,13s/^# \{0,1\}//p' "$0" >&2; exit 2 ;;
esac
[ "$(id -u)" -eq 0 ] || { echo "$0: needs root (debootstrap, chroot, mounts)" >&2; exit 2; }
top=$PWD
commit=$(git rev-parse HEAD)
[ -z "$(git status --porcelain --untracked-files=no)" ] ||
  echo "Note: uncommitted changes are not part of the check; it runs commit ${commit:0:12}"
cache=${FRESH_CACHE:-/var/tmp/fresh-debian}
base=$cache/bookworm-minbase.tar
mkdir -p "$cache"

mirror() {   # the first Debian archive this machine's apt uses
  { cat /etc/apt/sources.list.d/*.sources 2>/dev/null | sed -n 's/^URIs:[[:space:]]*//p'
    cat /etc/apt/sources.list 2>/dev/null | sed -n 's/^deb[[:space:]]\+\(\[[^]]*\][[:space:]]\+\)\?\([^[:space:]]*\).*/\2/p'
  } | grep -v security | head -n1 | awk '{print $1}' || true
}

if [ ! -s "$base" ]; then
  command -v debootstrap >/dev/null || {
    apt-get update -qq; DEBIAN_FRONTEND=noninteractive apt-get install -y -qq debootstrap >/dev/null; }
  m=$(mirror)
  [ -n "$m" ] || { echo "$0: no Debian archive in this machine's apt sources" >&2; exit 1; }
  tmp=$(mktemp -d "$cache/make.XXXX")
  echo "Making a bare Debian 12 system (once; kept in $base)..."
  debootstrap --variant=minbase bookworm "$tmp" "$m" >"$cache/debootstrap.log" 2>&1 ||
    { tail -20 "$cache/debootstrap.log" >&2; rm -rf "$tmp"; exit 1; }
  tar -C "$tmp" -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf "$tmp"
fi

root=$(mktemp -d "$cache/root.XXXX")
cleanup() {
  local m
  for m in dev/shm dev/pts dev sys proc; do umount -l "$root/$m" 2>/dev/null || true; done
  if [ -n "${FRESH_KEEP:-}" ]; then echo "Kept the system at $root"; else rm -rf --one-file-system "$root"; fi
}
trap cleanup EXIT
tar -C "$root" -xf "$base"
# The same archives as this machine; what the project adds itself it must add again.
rm -f "$root/etc/apt/sources.list"
mkdir -p "$root/etc/apt/sources.list.d"
cp /etc/apt/sources.list.d/*.sources "$root/etc/apt/sources.list.d/" 2>/dev/null || true
[ -f /etc/apt/sources.list ] && cp /etc/apt/sources.list "$root/etc/apt/"
rm -f "$root"/etc/apt/sources.list.d/vindle-*
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mount --rbind /sys "$root/sys"
mount --bind /dev "$root/dev"
mount --bind /dev/pts "$root/dev/pts"
mount -t tmpfs tmpfs "$root/dev/shm"
git clone -q --no-checkout "$top" "$root/build/project"
git -C "$root/build/project" checkout -q "$commit"

# Runs a command in the bare system, in the clone, as a fresh login would.
in_fresh() {
  chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    LANG=C.UTF-8 TERM="${TERM:-dumb}" CI="${CI:-}" /bin/bash -c "cd /build/project && $1"
}
# Kilobytes of installed packages, as dpkg counts them.
installed_kb() {
  in_fresh "dpkg-query -W -f='\${Installed-Size}\n' | awk '{s += \$1} END {print s}'"
}

echo "Fresh Debian 12 at $root, commit ${commit:0:12}"
before=$(installed_kb)
start=$SECONDS
# The student's commands as the README gives them, as root (as sudo would).
in_fresh 'tools/setup.sh && tools/new-game.sh mygame /tmp/mygame && make -C /tmp/mygame' ||
  { echo "FAILED: the student's commands in a bare Debian 12"; exit 1; }
[ -x "$root/tmp/mygame/mygame" ] || { echo "FAILED: no program /tmp/mygame/mygame"; exit 1; }
after=$(installed_kb)
echo "Student commands: passed in $((SECONDS - start)) s; the student set installed $(((after - before) / 1024)) MB of packages"

[ "$mode" != student ] || exit 0
start=$SECONDS
status=0
in_fresh "$then" || status=$?
echo "$then: exit status $status in $((SECONDS - start)) s; packages now $(($(installed_kb) / 1024)) MB in all (bare system: $((before / 1024)) MB)"
exit $status

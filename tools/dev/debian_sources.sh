# Unpacks Debian source packages, for the builds that compile libraries from
# them (the Windows DLLs, the web pages). Sourced; the caller sets $src, the
# folder the packages are unpacked into.
#   fetch NAME     unpacks NAME into $src/NAME (its tree as $src/NAME/tree)

# apt-get source needs deb-src entries; add them for the archives the machine
# already uses (deb822 files and one-line lists alike) when none are there.
enable_sources() {
  if apt-get indextargets --format '$(IDENTIFIER)' 2>/dev/null | grep -qx Sources; then
    return
  fi
  if [ "$(id -u)" -ne 0 ]; then
    echo "Debian source packages are not enabled; run this once as root." >&2
    exit 1
  fi
  local list=/etc/apt/sources.list.d/vindle-deb-src.sources
  : >"$list.tmp"
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -e "$f" ] && [ "$f" != "$list" ] || continue
    awk 'BEGIN{RS=""; ORS="\n\n"} /(^|\n)Types:([^\n]* )?deb( |\n|$)/ {
           sub(/Types:[^\n]*/, "Types: deb-src"); print }' "$f" >>"$list.tmp"
  done
  if [ -f /etc/apt/sources.list ]; then
    sed -n 's/^[[:space:]]*deb[[:space:]]/deb-src /p' /etc/apt/sources.list >"${list%.sources}.list"
  fi
  mv "$list.tmp" "$list"
  echo "Enabled Debian source packages ($list)"
  apt-get -o DPkg::Lock::Timeout=900 update -qq
}

# Unpacks source package $1 into $src/$1 (newest revision, else the one before).
fetch() {
  local name="$1" dir="$src/$1"
  [ -f "$dir/.unpacked" ] && return
  enable_sources
  rm -rf "$dir" && mkdir -p "$dir"
  local versions
  versions=$(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -u -V -r)
  [ -n "$versions" ] || { apt-get -o DPkg::Lock::Timeout=900 update -qq
    versions=$(apt-cache showsrc "$name" | sed -n 's/^Version: //p' | sort -u -V -r); }
  local v
  for v in $(echo "$versions" | head -2); do
    if (cd "$dir" && apt-get source -qq "$name=$v" >/dev/null 2>"$dir/fetch.log"); then
      local tree
      tree=$(find "$dir" -mindepth 1 -maxdepth 1 -type d | head -1)
      ln -sfn "$(basename "$tree")" "$dir/tree"
      echo "$v" >"$dir/.unpacked"
      echo "Unpacked $name $v"
      return
    fi
    echo "Source of $name $v not available, trying the previous revision" >&2
  done
  cat "$dir/fetch.log" >&2
  echo "Could not get the source package $name" >&2
  exit 1
}

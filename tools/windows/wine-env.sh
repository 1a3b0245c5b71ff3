# Sourced by the Windows scripts: a fresh Wine prefix for one run.
#   kernel_runs_i386            true when the kernel can execute a 32-bit program
#   wine_start win32|win64      makes the prefix and exports WINE (the loader to
#                               run programs with) and the environment around it
# Wine needs an X display: call start_private_display (tools/dev/xvfb.sh) first.

# Links and runs a tiny i386 program: some kernels are built without 32-bit
# support and refuse it with "Exec format error".
kernel_runs_i386() {
  local dir status=0
  dir=$(mktemp -d)
  printf '.globl _start\n_start:\n movl $1, %%eax\n xorl %%ebx, %%ebx\n int $0x80\n' >"$dir/t.s"
  { as --32 -o "$dir/t.o" "$dir/t.s" && ld -m elf_i386 -o "$dir/t" "$dir/t.o" && "$dir/t"; } >/dev/null 2>&1 || status=$?
  rm -rf "$dir"
  return $status
}

# Why the 32-bit Wine cannot run here, or nothing when it can.
wine32_missing_reason() {
  if ! kernel_runs_i386; then
    echo "this kernel does not run 32-bit programs (Exec format error)"
  elif [ ! -x /usr/lib/wine/wine ]; then
    echo "wine32:i386 is not installed"
  fi
}

wine_start() {
  local arch=$1
  case "$arch" in
    win64) WINE=/usr/lib/wine/wine64 ;;
    win32) WINE=/usr/lib/wine/wine ;;
    *) echo "wine_start: win32 or win64, not '$arch'" >&2; return 1 ;;
  esac
  [ -x "$WINE" ] || { echo "no Wine loader at $WINE" >&2; return 1; }
  # The ANSI code page follows the locale: zh_CN gives 936, the games' byte strings.
  locale -a 2>/dev/null | grep -qix 'zh_CN.utf8' || { echo "the zh_CN.UTF-8 locale is missing" >&2; return 1; }
  # Wine takes the system's fonts into the prefix when it makes it: the CJK
  # font must be there before.
  fc-list :lang=zh family | grep -q . || { echo "no CJK font installed" >&2; return 1; }

  WINE_RUN_DIR=$(mktemp -d /tmp/vindle-wine-XXXXXX)
  # MCI plays through ALSA; a null device stands in for a missing sound card.
  printf 'pcm.!default { type null }\nctl.!default { type hw card 0 }\n' >"$WINE_RUN_DIR/asound.conf"
  export ALSA_CONFIG_PATH="/usr/share/alsa/alsa.conf:$WINE_RUN_DIR/asound.conf"
  export WINEPREFIX="$WINE_RUN_DIR/prefix" WINEARCH="$arch" WINELOADER="$WINE" WINE
  export WINESERVER=/usr/lib/wine/wineserver
  export WINEDEBUG=-all LC_ALL=zh_CN.UTF-8
  # No Mono or Gecko installer dialogs while the prefix is made.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  "$WINE" wineboot --init >"$WINE_RUN_DIR/wineboot.log" 2>&1 || {
    echo "wineboot failed for $arch:" >&2; cat "$WINE_RUN_DIR/wineboot.log" >&2; return 1; }
  "$WINESERVER" -w
  # Replaces the EXIT trap of start_private_display, ending its display too.
  trap 'wine_stop; [ -z "${XVFB_PID:-}" ] || kill "$XVFB_PID" 2>/dev/null || true' EXIT
}

# Ends the prefix's wineserver and removes the prefix (about 700 MB).
wine_stop() {
  [ -n "${WINE_RUN_DIR:-}" ] || return 0
  "$WINESERVER" -k >/dev/null 2>&1 || true
  rm -rf "$WINE_RUN_DIR"
  WINE_RUN_DIR=
}

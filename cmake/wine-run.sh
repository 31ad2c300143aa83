#!/bin/sh
# Runs one Windows program under Wine in a Wine prefix of its own, made in a
# temporary folder and removed afterwards (never the user's ~/.wine), and
# exits with the program's exit code. Without a display it starts a private
# Xvfb for the run, since Windows programs need one to make any window.
# Used as the cross build's CMAKE_CROSSCOMPILING_EMULATOR, so every test
# gets a fresh, private prefix.
#
# Wine's offers to install Mono and Gecko are switched off, and so is its
# debug output. $VLIC_WINE_KEEP_PREFIX=1 keeps the prefix for a post-mortem.
# $VLIC_WINE_SCREEN (WIDTHxHEIGHTxDEPTH, default 1024x768x24) sizes that
# Xvfb's screen. $VLIC_WINE_UNMANAGED=1 keeps the windows away from any window manager
# (Wine's X11 "Managed" = N): with none running, as on a bare Xvfb, Wine
# otherwise waits 2 s for one at every window it hides.
set -u
loader=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
[ -x "$loader" ] || loader=$(command -v wine64 || command -v wine)
[ -x "$server" ] || server=$(command -v wineserver64 || command -v wineserver)

prefix=$(mktemp -d "${TMPDIR:-/tmp}/vlic-wine.XXXXXXXX") || exit 125
export WINEPREFIX="$prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH
xvfb_pid=""

# Ends whatever the program left running in its prefix (wineserver,
# handlers that a test started), waits until the server is gone, and
# removes the prefix; also when the run is stopped (a ctest time-out).
cleanup() {
  "$server" -k >/dev/null 2>&1
  "$server" -w >/dev/null 2>&1
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -f "$prefix.display"
  if [ "${VLIC_WINE_KEEP_PREFIX:-0}" = 1 ]; then
    echo "wine-run: prefix kept in $prefix" >&2
  else
    rm -rf "$prefix"
  fi
}
trap 'cleanup; exit 143' TERM
trap 'cleanup; exit 130' INT

# Windows need a display: without one, a private Xvfb for this run, made
# before the prefix so that Wine's desktop process uses it too.
if [ -z "${DISPLAY:-}" ] && command -v Xvfb >/dev/null 2>&1; then
  Xvfb -displayfd 3 -screen 0 "${VLIC_WINE_SCREEN:-1024x768x24}" -nolisten tcp 3>"$prefix.display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -s "$prefix.display" ] && break
    sleep 0.1
  done
  export DISPLAY=":$(cat "$prefix.display")"
fi

# Make the prefix first, so that Wine's notes about it stay out of the
# program's output.
"$loader" wineboot -i >/dev/null 2>&1
# Wine's own Tahoma (fonts-wine) when the machine has it: this Wine does not
# load it from its own folder and draws "Tahoma" in the wider DejaVu Sans.
# The regular face only: with fonts-wine's tahomabd.ttf beside it, Wine 8
# draws bold text in the regular glyphs (measured: the same ink for both
# weights), so headings lost their bold; alone, it emboldens the regular.
cp /usr/share/wine/fonts/tahoma.ttf "$prefix/drive_c/windows/Fonts/" 2>/dev/null || true
if [ "${VLIC_WINE_UNMANAGED:-0}" = 1 ]; then
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi

# In the background, so that a signal reaches the trap at once.
"$loader" "$@" &
wait $!
status=$?
cleanup
exit $status

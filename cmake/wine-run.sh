#!/bin/sh
# Runs one Windows program under Wine in a Wine prefix of its own, made in a
# temporary folder and removed afterwards (never the user's ~/.wine), and
# exits with the program's exit code. Used as the cross build's
# CMAKE_CROSSCOMPILING_EMULATOR, so every test gets a fresh, private prefix.
#
# Wine's offers to install Mono and Gecko are switched off, and so is its
# debug output. $VLIC_WINE_KEEP_PREFIX=1 keeps the prefix for a post-mortem.
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

# Make the prefix first, so that Wine's notes about it stay out of the
# program's output.
"$loader" wineboot -i >/dev/null 2>&1

"$loader" "$@"
status=$?

# End whatever the program left running in its prefix (wineserver, handlers
# that a test started), then wait until the server is gone.
"$server" -k >/dev/null 2>&1
"$server" -w >/dev/null 2>&1
if [ "${VLIC_WINE_KEEP_PREFIX:-0}" = 1 ]; then
  echo "wine-run: prefix kept in $prefix" >&2
else
  rm -rf "$prefix"
fi
exit $status

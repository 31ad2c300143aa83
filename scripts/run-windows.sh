#!/usr/bin/env bash
# run-windows.sh [--200] [args...]: tries the Windows program under Wine as a
# school would run it: makes the zip (scripts/package-windows.sh, which
# cross-builds first and installs what is missing), unpacks it into a
# folder of its own and starts VLicEnr.exe there with the arguments given
# (a product number, --produits, --adresses N). Wine's prefix is
# $VLIC_WINEPREFIX (default ~/.cache/vlic-wine), made on the first run;
# --200 sets it to 200 % (LogPixels 192), a run without it back to 100 %.
# Needs a display (DISPLAY); exits with the program's exit code.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
dpi=96
if [ "${1:-}" = --200 ]; then dpi=192; shift; fi
"$top/scripts/package-windows.sh" >/dev/null
export WINEPREFIX=${VLIC_WINEPREFIX:-$HOME/.cache/vlic-wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
loader=/usr/lib/wine/wine64
[ -x "$loader" ] || loader=$(command -v wine64 || command -v wine)
mkdir -p "$WINEPREFIX"
[ -f "$WINEPREFIX/system.reg" ] || "$loader" wineboot -i >/dev/null 2>&1
# Wine's own Tahoma, which this Wine does not load from its own folder (the
# regular face only: tests/e2e/wine/winelib.sh's wine_fonts says why).
cp /usr/share/wine/fonts/tahoma.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
"$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
here=$WINEPREFIX/drive_c/Veltrane
rm -rf "$here"
mkdir -p "$here"
(cd "$here" && unzip -q "$top/dist/VLicEnr-windows-x64.zip")
cd "$here/VLicEnr"
exec "$loader" VLicEnr.exe "$@"

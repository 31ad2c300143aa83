#!/usr/bin/env bash
# Safe loading of system libraries: a DLL planted beside the program under
# the name of a system library that is no known DLL (winspool.drv, loaded
# to print; uxtheme.dll, which the common controls load) is never loaded,
# not at start, not for --produits, not for a print. Wine is told to look
# for those names as Windows does (native first: "=n,b"), so without the
# program's own restriction it would take the planted files. Seen twice:
# the marker DLL's file "<name>.loaded", and Wine's log of every loaded
# module, which must show nothing taken from the program's folder but the
# program itself.
# Run as: bash planted_dlls.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x
wine_prefix
W=$E2E_WORK
P=$W/programme
mkdir -p "$P"
cp "$E2E_BIN"/{VLicEnr.exe,Veltrane.vlicprod,FenGen.uir,print_once.exe} "$P/"
cp "$E2E_BIN/marker.dll" "$P/winspool.drv"
cp "$E2E_BIN/marker.dll" "$P/uxtheme.dll"
export WINEDLLOVERRIDES="mscoree,mshtml=;winspool.drv=n,b;uxtheme=n,b"
export WINEDEBUG=+loaddll
cd "$P"

wine_start VLicEnr.exe
pid=$E2E_APP_PID
win=$(e2e_wait_window "^Veltrane - " "$pid")
e2e_key "$win" alt+q
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code of the program"
grep loaddll "$W/app-$pid.log" >"$W/loaded-start.txt" || true

rc=0
wine_run VLicEnr.exe --produits >"$W/produits.txt" 2>"$W/loaded-produits.txt" || rc=$?
e2e_expect_eq 0 "$rc" "exit code of --produits"
e2e_expect_eq 41 "$(wc -l <"$W/produits.txt")" "lines of --produits"

rc=0
wine_run print_once.exe >"$W/print.txt" 2>"$W/loaded-print.txt" || rc=$?
e2e_expect_eq 0 "$rc" "exit code of the print"
e2e_expect "the print was asked" grep -q '^print: ' "$W/print.txt"
# The print did load winspool, from the system folder.
e2e_expect "winspool loaded to print" grep -qi 'system32\\\\winspool.drv' "$W/loaded-print.txt"

e2e_expect_eq "" "$(cd "$P" && ls -- *.loaded 2>/dev/null)" "planted DLLs that ran"
folder=$(wine_winpath "$P")
folder=${folder//\\/\\\\}
for run in start produits print; do
    e2e_expect_eq "" "$(grep -iF "Loaded L\"$folder\\\\" "$W/loaded-$run.txt" | grep -viF 'VLicEnr.exe"' |
        grep -viF 'print_once.exe"' || true)" "modules of the program's folder loaded ($run)"
done
e2e_done

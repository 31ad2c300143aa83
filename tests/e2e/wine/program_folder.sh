#!/usr/bin/env bash
# The program unpacked into a folder named in a script that Windows-1252
# cannot write (Cyrillic, Chinese), started from another folder, as from a
# shortcut or a console elsewhere: it makes its own folder current by its
# whole name and reads its catalogue there, so the main panel shows (not the
# message of a missing catalogue) and the listings are the program's own,
# started directly and through the console launcher.
# Run as: bash program_folder.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x
wine_prefix
W=$E2E_WORK
MAIN='^Veltrane - T'

mkdir "$W/ailleurs"
cd "$W/ailleurs"
wine_run "$E2E_BIN/VLicEnr.exe" --produits >"$W/attendu.txt"
for name in 'Иван' '王伟'; do
    dir=$W/$name/VLicEnr
    mkdir -p "$dir"
    cp "$E2E_BIN"/{VLicEnr.exe,VLicEnr.com,Veltrane.vlicprod,Veltrane.vlicvers,FenGen.uir} "$dir/"

    rc=0
    wine_run "$dir/VLicEnr.exe" --produits >"$W/produits.txt" 2>"$W/produits.err" || rc=$?
    e2e_expect_eq 0 "$rc" "$name: exit code of --produits"
    e2e_expect "$name: --produits from its own catalogue" cmp "$W/attendu.txt" "$W/produits.txt"
    rc=0
    wine_run cmd /c "$(wine_winpath "$dir/VLicEnr")" --adresses 250 >"$W/adresses.txt" 2>&1 || rc=$?
    e2e_expect_eq 0 "$rc" "$name: exit code of cmd /c VLicEnr --adresses 250"
    e2e_expect "$name: the EMP line through the launcher" grep -q $'^16\tBP_EMP\tEMP\thttps://' "$W/adresses.txt"

    wine_start "$dir/VLicEnr.exe"
    pid=$E2E_APP_PID
    win=$(e2e_wait_window "$MAIN" "$pid")
    e2e_expect "$name: the main panel shows" [ -n "$win" ]
    e2e_expect "$name: no message of a missing catalogue" [ -z "$(e2e_find_window 'application incompl' "$pid")" ]
    [ -n "$win" ] && e2e_close_box "$win"
    e2e_wait_exit "$pid"
    e2e_expect_eq 0 "$E2E_EXIT" "$name: exit code after the close box"
done
e2e_done

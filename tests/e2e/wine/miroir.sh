#!/usr/bin/env bash
# The Windows program on a lab PC whose school keeps its mirror on a
# server's share, under Wine, on real X input:
#   - the share \\serveur\veltrane\ (Wine's dosdevices/unc, a folder of the
#     test) named in Veltrane.vlicmiroir beside the program, as Notepad
#     writes it (a BOM, CR LF);
#   - the technician's session: --miroir lists each archive's path on the
#     share (exit code 5 while one is absent), the archives are copied
#     there, --miroir then gives 0;
#   - the downloads panel's title names the share; pressing EMP hands the
#     archive's UNC path to the program registered for zip files (the
#     recording one), not the https handler.
# Run as: bash miroir.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x
wine_prefix
wine_record_https
W=$E2E_WORK
MAIN='^Veltrane - T'
LOAD='charger Logiciels et Ressources'
main_ui=ui/panels/4.ui
load_ui=ui/panels/6.ui

# Zip files open in the recording program too.
wine_reg add 'HKCR\.zip' /ve /d VlicTest.Zip /f
wine_reg add 'HKCR\VlicTest.Zip\shell\open\command' /ve /d "\"$(wine_winpath "$E2E_BIN/shell_recorder.exe")\" \"%1\"" /f
# The server's share: Wine reaches \\serveur\veltrane through this link.
mkdir -p "$W/partage" "$WINEPREFIX/dosdevices/unc/serveur"
ln -s "$W/partage" "$WINEPREFIX/dosdevices/unc/serveur/veltrane"

poste=$W/poste
mkdir -p "$poste"
cp "$E2E_BIN"/{VLicEnr.exe,VLicEnr.com,Veltrane.vlicprod,Veltrane.vlicvers,FenGen.uir} "$poste/"
printf '\xef\xbb\xbf# Miroir du lyc\xc3\xa9e\r\n\\\\serveur\\veltrane\\\r\n' >"$poste/Veltrane.vlicmiroir"

# The technician's session: the listing, then each absent archive copied
# to its path on the share.
rc=0
wine_run "$poste/VLicEnr.exe" --miroir 180 >"$W/avant.txt" 2>"$W/avant.err" || rc=$?
e2e_expect_eq 5 "$rc" "--miroir 180 on an empty share"
e2e_expect "archives listed" [ -s "$W/avant.txt" ]
e2e_expect_eq "$(wc -l <"$W/avant.txt")" \
    "$(awk -F'\t' '$5 == "absent" && index($4, "\\\\serveur\\veltrane\\") == 1' "$W/avant.txt" | wc -l)" \
    "archives listed at their paths on the share, absent"
while IFS=$'\t' read -r _ _ _ chemin etat; do
    [ "$etat" = absent ] || continue
    unix=$W/partage/$(printf '%s' "${chemin#\\\\serveur\\veltrane\\}" | tr '\\' /)
    mkdir -p "$(dirname "$unix")"
    printf 'PK\003\004' >"$unix"
done <"$W/avant.txt"
rc=0
wine_run "$poste/VLicEnr.exe" --miroir 180 >"$W/apres.txt" || rc=$?
e2e_expect_eq 0 "$rc" "--miroir 180 once the share holds every archive"

# A lab PC: the panel of Chronobox, from the share.
cd "$W"
wine_start "$poste/VLicEnr.exe"
pid=$E2E_APP_PID
main=$(e2e_wait_window "$MAIN" "$pid")
e2e_click "$main" $(e2e_ui_center $main_ui PROD_CHOIX)
e2e_press c Return
e2e_key "$main" alt+t
load=$(e2e_wait_window "$LOAD" "$pid")
e2e_expect_eq "Télécharger Logiciels et Ressources Veltrane — miroir de l'école : \\\\serveur\\veltrane\\" \
    "$(e2e_title "$load")" "the title names the share"
e2e_click "$load" $(e2e_ui_center $load_ui BP_EMP)
if wine_wait_records 1 30; then
    e2e_expect_eq '1|\\serveur\veltrane\Chronobox_EMP_V1-1.zip' "$(cat "$WINE_RECORD")" \
        "the archive's path on the share handed to the zip files' program"
else
    e2e_fail "the zip files' program was not started"
fi
e2e_close_box "$load"
main=$(e2e_wait_window "$MAIN" "$pid")
e2e_close_box "$main"
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code"
e2e_done

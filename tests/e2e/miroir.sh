#!/usr/bin/env bash
# End to end, a lab PC with the school's mirror, on real X input:
#   - the program in a folder of its own, Veltrane.vlicmiroir beside it
#     naming a folder mirror (a blank and an accent in its name);
#   - the technician fills the mirror from the listing of --miroir (exit
#     code 5 while an archive is absent, 0 once it is complete; the test
#     machine has no internet: a stand-in archive at each path);
#   - the downloads panel's title names the mirror; pressing EMP hands the
#     archive's copy in the mirror to the desktop's handler for zip files
#     (a recording one), never the maker's address;
#   - an archive taken out of the mirror: its button shows the
#     failed-download popup and starts nothing.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
# X and openbox first: openbox reads its configuration from the XDG
# folders, which the throw-away desktop below replaces for the program.
e2e_start_x
. "$E2E_SRC/tests/support/xdg_fixture.sh"
vlic_xdg_setup
vlic_xdg_register application/zip
trap 'e2e_cleanup; vlic_xdg_cleanup' EXIT

W=$E2E_WORK
load_ui=ui/panels/6.ui
poste=$W/poste
miroir="$W/serveur/miroir école"
mkdir -p "$poste" "$miroir"
cp "$E2E_BIN"/{VLicEnr,Veltrane.vlicprod,Veltrane.vlicvers,FenGen.uir} "$poste/"
printf '# Le miroir du lycée\n\n%s/\n' "$miroir" >"$poste/Veltrane.vlicmiroir"

# The technician's session: the listing, then each absent archive fetched
# to its path in the mirror.
rc=0
"$poste/VLicEnr" --miroir 180 >"$W/avant.txt" || rc=$?
e2e_expect_eq 5 "$rc" "--miroir 180 on an empty mirror"
e2e_expect_eq "$(wc -l <"$W/avant.txt")" "$(grep -c $'\tabsent$' "$W/avant.txt")" "every archive absent"
while IFS=$'\t' read -r _ _ adresse chemin etat; do
    [ "$etat" = absent ] || continue
    case $adresse in https://www.veltrane.fr/telecharger/*) ;; *) e2e_fail "not a maker's address: $adresse" ;; esac
    mkdir -p "$(dirname "$chemin")"
    printf 'PK\003\004' >"$chemin"
done <"$W/avant.txt"
rc=0
"$poste/VLicEnr" --miroir 180 >"$W/apres.txt" || rc=$?
e2e_expect_eq 0 "$rc" "--miroir 180 once filled"
e2e_expect "every archive present" bash -c '! grep -qv $'"'"'\tprésent$'"'"' "$1"' _ "$W/apres.txt"

# A lab PC: the panel of Chronobox, from the mirror.
cd "$W"
e2e_start_app "$poste/VLicEnr"
pid=$E2E_APP_PID
main=$(e2e_wait_window "^Veltrane - " "$pid")
load=$(e2e_open_downloads "$main" "$pid")
title=$(e2e_title "$load")
e2e_expect_eq "Télécharger Logiciels et Ressources Veltrane — miroir de l'école : $miroir/" "$title" \
    "the title names the mirror"

vlic_xdg_clear
e2e_click "$load" $(e2e_ui_center $load_ui BP_EMP)
if vlic_xdg_wait 1 10; then
    e2e_expect_eq "$miroir/Chronobox_EMP_V1-1.zip" "$(vlic_xdg_records)" "the archive's copy in the mirror opened"
else
    e2e_fail "the handler of zip files was not started"
fi

# Taken out of the mirror: said, nothing started.
rm "$miroir/Chronobox_DT.zip"
vlic_xdg_clear
e2e_click "$load" $(e2e_ui_center $load_ui PDF_DT)
popup=$(e2e_wait_window "téléchargement impossible" "$pid")
e2e_shot "$W/absent.png" "$popup"
e2e_expect "the failed-download popup" [ -n "$popup" ]
e2e_key "$popup" Escape
sleep 1
e2e_expect_eq 0 "$(vlic_xdg_count)" "starts for the missing archive"
e2e_close_box "$load"
main=$(e2e_wait_window "^Veltrane - " "$pid")
e2e_close_box "$main"
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code"
e2e_done

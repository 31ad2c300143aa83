#!/usr/bin/env bash
# The Windows program under Wine worked with real keys only (xdotool):
#   - on the main panel, the chooser has the focus at start; Tab reaches
#     the web link next (no product chosen), whose Enter opens the site;
#   - a product chosen, Tab reaches TELECHARGER, whose Enter opens the
#     downloads panel; there Tab reaches the EMP button first after the
#     product ring, and its Enter hands the EMP address to the handler;
#   - Shift+Tab twice goes back round to RETOUR; Escape is RETOUR too, and
#     does nothing on the main panel.
# Run as: bash keyboard.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x
wine_prefix
wine_record_https

MAIN='^Veltrane - T'
LOAD='charger Logiciels et Ressources'
emp="https://www.veltrane.fr/telecharger/Chronobox_EMP_V1-1.zip"

cd "$E2E_BIN"
wine_start "$E2E_BIN/VLicEnr.exe"
pid=$E2E_APP_PID
main=$(e2e_wait_window "$MAIN" "$pid")

e2e_key "$main" Tab Return
wine_wait_records 1 30 || e2e_fail "Tab then Enter opened nothing"
e2e_expect_eq "1|https://www.veltrane.fr/" "$(sed -n 1p "$WINE_RECORD")" "Tab reaches the web link, Enter opens it"

# Chronobox, the short list's first product starting with C; the focus
# goes back to the chooser (Shift+Tab from the link), then Tab to TELECHARGER.
e2e_key "$main" shift+Tab c
e2e_key "$main" Tab Return
load=$(e2e_wait_window "$LOAD" "$pid")
e2e_key "$load" Tab Return
wine_wait_records 2 30 || e2e_fail "Tab then Enter on the downloads panel opened nothing"
e2e_expect_eq "1|$emp" "$(sed -n 2p "$WINE_RECORD")" "Tab reaches EMP first, Enter hands its address on"

e2e_key "$load" shift+Tab shift+Tab Return
main=$(e2e_wait_window "$MAIN" "$pid")
e2e_expect "Shift+Tab went round to RETOUR" e2e_wait_no_window "$LOAD" "$pid" 5

e2e_key "$main" Return   # the focus came back to TELECHARGER
load=$(e2e_wait_window "$LOAD" "$pid")
e2e_key "$load" Escape
main=$(e2e_wait_window "$MAIN" "$pid")
e2e_expect "Escape is RETOUR" e2e_wait_no_window "$LOAD" "$pid" 5

e2e_key "$main" Escape
sleep 1
e2e_expect "Escape leaves the main panel open" e2e_running "$pid"
e2e_expect_eq 1 "$(e2e_count_windows "$pid")" "one panel still shown"
e2e_done

#!/usr/bin/env bash
# The Windows program under Wine at 200 % (LogPixels 192) on a 1280 x 1024
# screen, with no test seam: the downloads panel, twice its size of 96 DPI
# too large for that screen, is laid out at the largest scale that fits
# its work area, fed by what Windows reports of the screen. Its client area
# lies on the screen and holds every control (its size is the panel's at
# one scale), and a click on RETOUR, where that scale puts it, brings the
# main panel back.
# Run as: bash small_screen.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x 1280x1024x24
wine_prefix 192

APP=$E2E_BIN/VLicEnr.exe
load_ui=ui/panels/6.ui
MAIN='^Veltrane - T'
LOAD='charger Logiciels et Ressources'
ui_size() { awk '/<property name="geometry">/ {g=1} g && /<width>/ {gsub(/[^0-9]/,""); w=$0} g && /<height>/ {gsub(/[^0-9]/,""); print w, $0; exit}' "$E2E_SRC/$1"; }

cd "$E2E_BIN"
wine_start "$APP"
pid=$E2E_APP_PID
main=$(e2e_wait_window "$MAIN" "$pid")
read -r x y < <(e2e_ui_center ui/panels/4.ui PROD_CHOIX)
e2e_click "$main" $((x * 2)) $((y * 2))   # the main panel fits at 200 %
e2e_press c Return
e2e_key "$main" alt+t
load=$(e2e_wait_window "$LOAD" "$pid")
e2e_wait_still "$load" || true
read -r lx ly lw lh < <(e2e_geometry "$load")
read -r uw uh < <(ui_size $load_ui)
e2e_log "downloads panel: client ${lw}x${lh} at $lx,$ly; ${uw}x${uh} at 96 DPI"
e2e_expect "its client lies on the screen" test $((lx >= 0 && ly >= 0 && lx + lw <= 1280 && ly + lh <= 1024)) = 1
e2e_expect "laid out below 200 %" [ "$lw" -lt $((uw * 2)) ]
# One scale for both sides (a pixel of rounding apart): every control,
# placed at that scale, lies inside.
e2e_expect "one scale: height $lh for width $lw" test $((lh * uw - lw * uh <= 2 * uw && lw * uh - lh * uw <= 2 * uh)) = 1
read -r cx cy < <(e2e_ui_center $load_ui BP_QUIT)
e2e_click "$load" $((cx * lw / uw)) $((cy * lw / uw))
main=$(e2e_wait_window "$MAIN" "$pid")
e2e_expect "RETOUR brought the main panel back" [ -n "$main" ]
e2e_key "$main" alt+q
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code"
e2e_done

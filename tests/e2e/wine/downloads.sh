#!/usr/bin/env bash
# The downloads panel of the Windows program under Wine, on real X input:
#   - a product chosen (Chronobox, 180), Alt+T opens its downloads panel in
#     the main panel's place, moved just enough to lie whole on the screen,
#     and hides the main panel;
#   - over the EMP button the help box appears and the hand cursor shows
#     (the cursor of the main panel's web link), elsewhere the normal one;
#   - pressing EMP hands the product's EMP address to the https handler
#     registered in the prefix (a recording one), as a normal window;
#   - the panel moved and left with RETOUR: the main panel comes back where
#     the downloads panel was; again with the close box; the main panel's
#     close box ends the program with 0.
# Run as: bash downloads.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x
wine_prefix
wine_record_https

APP=$E2E_BIN/VLicEnr.exe
main_ui=ui/panels/4.ui
load_ui=ui/panels/6.ui
MAIN='^Veltrane - T'
LOAD='charger Logiciels et Ressources'
W=$E2E_WORK
expected="https://www.veltrane.fr/telecharger/Chronobox_EMP_V1-1.zip"

# back_from <downloads window> <how...>: leaves the downloads panel (after
# moving it) and expects the main panel where it was.
back_from() {
    local load=$1 frame lx ly mx my
    shift
    frame=$(e2e_frame "$load" | awk '{print $1}')
    xdotool windowmove --sync "$frame" 200 150 >/dev/null 2>&1 || xdotool windowmove "$frame" 200 150
    for _ in $(seq 1 50); do
        read -r lx ly _ _ < <(e2e_geometry "$load")
        [ "$lx" -lt 400 ] && break
        sleep 0.1
    done
    "$@"
    main=$(e2e_wait_window "$MAIN" "$pid")
    read -r mx my _ _ < <(e2e_geometry "$main")
    e2e_expect_eq "$lx $ly" "$mx $my" "main panel back where the downloads panel was ($*)"
}

cd "$E2E_BIN"
wine_start "$APP"
pid=$E2E_APP_PID
main=$(e2e_wait_window "$MAIN" "$pid")

# The link cursor, as the web link shows it, and the normal one.
e2e_move_mouse "$main" 3 3
normal=$(wine_cursor)
e2e_move_mouse "$main" $(e2e_ui_center $main_ui WEB)
wine_wait_other_cursor "$normal" || e2e_fail "no other cursor over the web link"
hand=$(wine_cursor)

# Chronobox, the short list's first product starting with C.
e2e_click "$main" $(e2e_ui_center $main_ui PROD_CHOIX)
e2e_press c Return
e2e_move_mouse "$main" 3 3
read -r mx my _ _ < <(e2e_geometry "$main")
e2e_key "$main" alt+t
load=$(e2e_wait_window "$LOAD" "$pid")
e2e_expect "the main panel is hidden" e2e_wait_no_window "$MAIN" "$pid" 5
read -r fid fx fy fw fh < <(e2e_frame "$load")
read -r lx ly lw lh < <(e2e_geometry "$load")
e2e_log "main panel at $mx $my; downloads panel at $lx $ly, its frame $fx $fy ${fw}x$fh"
e2e_expect_eq "$my" "$ly" "the downloads panel opens at the main panel's top"
# Wider than what is left right of the main panel: moved left until its
# frame (a Windows frame of up to 3 pixels where openbox draws 1) meets the
# screen's right edge.
e2e_expect "its frame lies whole on the screen, at the right edge ($((fx + fw)))" \
    bash -c '[ "$1" -ge 0 ] && [ $(($1 + $2)) -le 1280 ] && [ $(($1 + $2)) -ge 1276 ]' _ "$fx" "$fw"

# Hover help and cursor.
read -r ix iy iw ih < <(e2e_ui_rect $load_ui DECORATION_2)
e2e_move_mouse "$load" 2 2
e2e_wait_still "$load" || true
e2e_shot_rect "$load" "$ix" "$iy" "$iw" "$ih" "$W/help-rest.png"
e2e_expect "the normal cursor at rest" wine_wait_cursor "$normal"
e2e_move_mouse "$load" $(e2e_ui_center $load_ui BP_EMP)
e2e_expect "the hand cursor over EMP" wine_wait_cursor "$hand"
e2e_wait_still "$load" || true
e2e_shot_rect "$load" "$ix" "$iy" "$iw" "$ih" "$W/help-emp.png"
e2e_shot "$W/hover-emp.png" "$load"
changed=$(e2e_diff "$W/help-rest.png" "$W/help-emp.png")
e2e_expect "the help box shows over EMP ($changed pixels)" [ "$changed" -gt 500 ]
e2e_move_mouse "$load" 2 2
e2e_expect "the normal cursor again off the button" wine_wait_cursor "$normal"

# The address reaches the https handler.
e2e_click "$load" $(e2e_ui_center $load_ui BP_EMP)
if wine_wait_records 1 30; then
    e2e_expect_eq "1|$expected" "$(cat "$WINE_RECORD")" "the EMP address handed to the https handler"
else
    e2e_fail "the https handler was not started"
fi

back_from "$load" e2e_click "$load" $(e2e_ui_center $load_ui BP_QUIT)
e2e_key "$main" alt+t
load=$(e2e_wait_window "$LOAD" "$pid")
back_from "$load" e2e_close_box "$load"

e2e_close_box "$main"
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after the main panel's close box"
e2e_done

#!/usr/bin/env bash
# The Windows program under Wine at 200 % (LogPixels 192), on a 2560 x 1600
# screen, with real X input: both panels are twice their size of 96 DPI;
# the labels' text lies whole inside them (not cut at their right edge);
# the pointer is read at its place (the help box and the hand cursor over
# the EMP button, the click reaching its address); RETOUR puts the main
# panel on the very pixel where the downloads panel was.
# Run as: bash high_dpi.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x 2560x1600x24
wine_prefix 192
wine_record_https

APP=$E2E_BIN/VLicEnr.exe
main_ui=ui/panels/4.ui
load_ui=ui/panels/6.ui
MAIN='^Veltrane - T'
LOAD='charger Logiciels et Ressources'
W=$E2E_WORK
# x2 <numbers...>: the numbers doubled (from 96-DPI units to the screen's pixels).
x2() { local n out=(); for n in "$@"; do out+=($((n * 2))); done; echo "${out[@]}"; }
# ui_size <.ui file>: "w h" of the panel's root widget.
ui_size() { awk '/<property name="geometry">/ {g=1} g && /<width>/ {gsub(/[^0-9]/,""); w=$0} g && /<height>/ {gsub(/[^0-9]/,""); print w, $0; exit}' "$E2E_SRC/$1"; }
# whole <window> <.ui file> <label>: the label's last columns show no text
# (its text is not cut at its right edge).
whole() {
    local x y w h
    read -r x y w h < <(e2e_ui_rect "$2" "$3")
    read -r x y w h < <(x2 "$x" "$y" "$w" "$h")
    e2e_shot_rect "$1" $((x + w - 3)) "$y" 3 "$h" "$W/edge-$3.png"
    [ "$(e2e_colors "$W/edge-$3.png")" -le 1 ]
}

cd "$E2E_BIN"
wine_start "$APP"
pid=$E2E_APP_PID
main=$(e2e_wait_window "$MAIN" "$pid")
e2e_move_mouse "$main" 3 3
e2e_wait_still "$main" || true
e2e_shot "$W/main-200.png" "$main"
read -r _ _ mw mh < <(e2e_geometry "$main")
e2e_expect_eq "$(x2 $(ui_size $main_ui))" "$mw $mh" "main panel's size at 200 %"
for label in LAB_P WEB; do e2e_expect "$label whole at 200 %" whole "$main" $main_ui $label; done
normal=$(wine_cursor)

e2e_click "$main" $(x2 $(e2e_ui_center $main_ui PROD_CHOIX))
e2e_press c Return
e2e_move_mouse "$main" 3 3
e2e_expect "LAB_LOAD whole at 200 %" whole "$main" $main_ui LAB_LOAD
e2e_key "$main" alt+t
load=$(e2e_wait_window "$LOAD" "$pid")
e2e_move_mouse "$load" 3 3
e2e_wait_still "$load" || true
read -r _ _ lw lh < <(e2e_geometry "$load")
e2e_expect_eq "$(x2 $(ui_size $load_ui))" "$lw $lh" "downloads panel's size at 200 %"
for label in LAB_1 LAB_4 TXT_EMP TXT_IHM; do e2e_expect "$label whole at 200 %" whole "$load" $load_ui $label; done

read -r ix iy iw ih < <(x2 $(e2e_ui_rect $load_ui DECORATION_2))
e2e_shot_rect "$load" "$ix" "$iy" "$iw" "$ih" "$W/help-rest.png"
e2e_move_mouse "$load" $(x2 $(e2e_ui_center $load_ui BP_EMP))
e2e_expect "another cursor over EMP" wine_wait_other_cursor "$normal"
e2e_wait_still "$load" || true
e2e_shot_rect "$load" "$ix" "$iy" "$iw" "$ih" "$W/help-emp.png"
e2e_shot "$W/downloads-200.png" "$load"
changed=$(e2e_diff "$W/help-rest.png" "$W/help-emp.png")
e2e_expect "the help box shows over EMP ($changed pixels)" [ "$changed" -gt 2000 ]
e2e_click "$load" $(x2 $(e2e_ui_center $load_ui BP_EMP))
if wine_wait_records 1 30; then
    e2e_expect_eq "1|https://www.veltrane.fr/telecharger/Chronobox_EMP_V1-1.zip" "$(cat "$WINE_RECORD")" "the EMP address"
else
    e2e_fail "the https handler was not started"
fi

# An odd place, which 96-DPI units cannot name at 200 %.
frame=$(e2e_frame "$load" | awk '{print $1}')
xdotool windowmove "$frame" 301 151
for _ in $(seq 1 50); do
    read -r lx ly _ _ < <(e2e_geometry "$load")
    [ "$lx" -lt 600 ] && break
    sleep 0.1
done
e2e_click "$load" $(x2 $(e2e_ui_center $load_ui BP_QUIT))
main=$(e2e_wait_window "$MAIN" "$pid")
read -r mx my _ _ < <(e2e_geometry "$main")
e2e_expect_eq "$lx $ly" "$mx $my" "main panel on the downloads panel's pixel"
e2e_key "$main" alt+q
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code"
e2e_done

#!/usr/bin/env bash
# End to end, on real X input: start VLicEnr, choose a product in the
# chooser, press TELECHARGER, press the EMP button of the downloads panel:
# the desktop's https handler (a recording one) receives exactly the
# product's EMP address. Press it again: a second start with the same
# address. Move the downloads panel, press RETOUR: the main panel comes
# back at the moved place. Hovering the EMP button shows the help box.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
# X and openbox first: openbox reads its configuration from the XDG
# folders, which the throw-away desktop below replaces for the program.
e2e_start_x
. "$E2E_SRC/tests/support/xdg_fixture.sh"
vlic_xdg_setup
trap 'e2e_cleanup; vlic_xdg_cleanup' EXIT

main_ui=ui/panels/4.ui
load_ui=ui/panels/6.ui
expected="https://www.veltrane.fr/telecharger/Chronobox_EMP_V1-1.zip"

cd "$E2E_BIN"
e2e_start_app "$E2E_BIN/VLicEnr"
pid=$E2E_APP_PID
main=$(e2e_wait_window "^Veltrane - " "$pid")
e2e_log "main panel: $(e2e_title "$main")"

# Choose product 180 "Chronobox" in the chooser: open its list with a
# click, type the start of the name (the list's type-ahead) and take it.
e2e_click "$main" $(e2e_ui_center $main_ui PROD_CHOIX)
sleep 0.3
xdotool type --delay 60 "Chronobox"
xdotool key Return
sleep 0.5
e2e_shot "$E2E_WORK/chosen.png"
E2E_KEEP=${VLIC_E2E_KEEP:-0}

# The download command opens the downloads panel in the main panel's place.
read -r mx my _ _ < <(e2e_geometry "$main")
e2e_click "$main" $(e2e_ui_center $main_ui BP_LOAD)
load=$(e2e_wait_window "Logiciels et Ressources" "$pid")
e2e_log "downloads panel: $(e2e_title "$load")"
read -r lx ly lw _ < <(e2e_geometry "$load")
# The main panel's place, moved left just enough for the wider panel's
# frame to stay on the 1280 px screen.
read -r _ fr _ _ < <(e2e_frame_extents "$load")
want=$mx
[ $((mx + lw + fr)) -le 1280 ] || want=$((1280 - lw - fr))
e2e_expect_eq "$want $my" "$lx $ly" "downloads panel opens where the main panel was, kept on the screen"
e2e_expect "the main panel is not mapped" bash -c \
    '[ "$(xwininfo -id "$1" | awk "/Map State:/ {print \$3}")" != IsViewable ]' _ "$main"

# Hover over the EMP button: the help box appears (pixels change there).
read -r ix iy iw ih < <(e2e_ui_rect $load_ui INFO)
e2e_move_mouse "$load" 2 2
sleep 0.4
e2e_shot_rect "$load" 0 0 "$(xwininfo -id "$load" | awk '/^ *Width:/ {print $2}')" \
    "$(xwininfo -id "$load" | awk '/^ *Height:/ {print $2}')" "$E2E_WORK/rest.png"
e2e_move_mouse "$load" $(e2e_ui_center $load_ui BP_EMP)
sleep 0.4
e2e_shot_rect "$load" 0 0 "$(xwininfo -id "$load" | awk '/^ *Width:/ {print $2}')" \
    "$(xwininfo -id "$load" | awk '/^ *Height:/ {print $2}')" "$E2E_WORK/hover.png"
changed=$(e2e_diff "$E2E_WORK/rest.png" "$E2E_WORK/hover.png")
e2e_expect "hovering BP_EMP changes the panel ($changed pixels: the help box)" [ "$changed" -gt 500 ]

# Press the EMP button: one start of the https handler with its address.
vlic_xdg_clear
e2e_click "$load" $(e2e_ui_center $load_ui BP_EMP)
if vlic_xdg_wait 1 10; then
    e2e_expect_eq "$expected" "$(vlic_xdg_records)" "address handed to the https handler"
else
    e2e_fail "the https handler was not started"
fi
e2e_click "$load" $(e2e_ui_center $load_ui BP_EMP)
if vlic_xdg_wait 2 10; then
    e2e_expect_eq "$expected $expected" "$(vlic_xdg_records | tr '\n' ' ' | sed 's/ $//')" \
        "the same button twice opens twice"
else
    e2e_fail "the second press did not start the handler"
fi

# Move the downloads panel (its frame), then return.
frame=$(e2e_frame "$load" | awk '{print $1}')
xdotool windowmove "$frame" 260 180
sleep 0.6
read -r lx ly _ _ < <(e2e_geometry "$load")
e2e_log "downloads panel moved to $lx $ly"
e2e_click "$load" $(e2e_ui_center $load_ui BP_QUIT)
# (not e2e_wait_no_window with the pid: xdotool's search would then match
# any window of the program, the main panel included)
gone=no
for t in $(seq 1 100); do
    state=$(xwininfo -id "$load" 2>/dev/null | awk '/Map State:/ {print $3}' || true)
    [ "$state" != IsViewable ] && { gone=yes; break; }
    sleep 0.1
done
e2e_expect_eq yes "$gone" "the downloads panel is gone"
main=$(e2e_wait_window "^Veltrane - " "$pid")
sleep 0.3
read -r mx my _ _ < <(e2e_geometry "$main")
e2e_expect_eq "$lx $ly" "$mx $my" "main panel back at the downloads panel's last place"

# Quit.
e2e_click "$main" $(e2e_ui_center $main_ui BP_QUIT)
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code"
e2e_done

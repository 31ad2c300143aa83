#!/usr/bin/env bash
# End to end, on real X input, with the panel loops sleeping between events:
# the hover help and the web link follow the pointer through the window
# system's crossing events, also when the pointer jumps straight out of a
# panel or straight in from outside (no motion inside the panel between):
#   - downloads panel: over BP_EMP the help box shows; the pointer jumps to
#     the far corner of the screen: the box hides; it jumps from there
#     straight onto BP_PROF: the box shows again;
#   - main panel: the pointer jumps from outside straight onto the web
#     link: the link turns red.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_x
main_ui=ui/panels/4.ui
load_ui=ui/panels/6.ui
outside="1270 1015"   # the screen's far corner, away from every panel

cd "$E2E_BIN"
e2e_start_app "$E2E_BIN/VLicEnr"
pid=$E2E_APP_PID
main=$(e2e_wait_window "^Veltrane - " "$pid")
load=$(e2e_open_downloads "$main" "$pid")

# info_is <shown|hidden>: true once the panel differs from its look at rest
# by the help box (hundreds of pixels) / looks as at rest again, within 3 s.
shot_load() {
    e2e_shot_rect "$load" 0 0 "$(xwininfo -id "$load" | awk '/^ *Width:/ {print $2}')" \
        "$(xwininfo -id "$load" | awk '/^ *Height:/ {print $2}')" "$1" 2>/dev/null || true
}
info_is() {
    local t n
    for t in $(seq 1 15); do
        shot_load "$E2E_WORK/now.png"
        n=$(e2e_diff "$E2E_WORK/rest.png" "$E2E_WORK/now.png")
        if [ "$1" = shown ] && [ "$n" -gt 500 ] && [ "$n" -lt 999999999 ]; then return 0; fi
        if [ "$1" = hidden ] && [ "$n" -eq 0 ]; then return 0; fi
        sleep 0.2
    done
    cp "$E2E_WORK/now.png" "$E2E_WORK/not-$1.png"
    return 1
}

xdotool mousemove $outside
e2e_wait_still "$load" || true
shot_load "$E2E_WORK/rest.png"
e2e_move_mouse "$load" $(e2e_ui_center $load_ui BP_EMP)
e2e_expect "over BP_EMP the help box shows" info_is shown
xdotool mousemove $outside
e2e_expect "the pointer gone straight out of the panel hides the help box" info_is hidden
e2e_move_mouse "$load" $(e2e_ui_center $load_ui BP_PROF)
e2e_expect "the pointer come straight in onto BP_PROF shows the help box" info_is shown

# Back to the main panel; the web link, from outside straight onto its text.
e2e_click "$load" $(e2e_ui_center $load_ui BP_QUIT)
main=$(e2e_wait_window "^Veltrane - " "$pid")
read -r wx wy ww wh < <(e2e_ui_rect $main_ui WEB)
xdotool mousemove $outside
sleep 0.3
red() {
    local t n
    for t in $(seq 1 15); do
        e2e_shot_rect "$main" "$wx" "$wy" "$ww" "$wh" "$E2E_WORK/link.png" 2>/dev/null || true
        n=$(convert "$E2E_WORK/link.png" -fuzz 25% -fill white -opaque '#FF0000' -fill black +opaque white \
            -format '%[fx:int(mean*w*h+0.5)]' info: 2>/dev/null || echo 0)
        [ "$n" -gt 20 ] && return 0
        sleep 0.2
    done
    return 1
}
e2e_move_mouse "$main" $((wx + 30)) $((wy + wh / 2))
e2e_expect "the pointer come straight in onto the web link turns it red" red

e2e_click "$main" $(e2e_ui_center $main_ui BP_QUIT)
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code"
e2e_done

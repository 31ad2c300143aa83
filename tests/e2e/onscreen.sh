#!/usr/bin/env bash
# The downloads panel opens at the main panel's place but always whole on
# the screen, its frame included: at 1024 x 768, at 1280 x 1024 and at 200 %
# on 1920 x 1080 (QT_SCALE_FACTOR=2). RETOUR brings the main panel back where
# the downloads panel really was.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
main_ui=ui/panels/4.ui
load_ui=ui/panels/6.ui

# check <WxH> <scale>
check() {
    local size=$1 scale=$2 sw=${1%x*} sh=${1#*x}
    e2e_start_x "${size}x24"
    cd "$E2E_BIN"
    QT_SCALE_FACTOR=$scale e2e_start_app "$E2E_BIN/VLicEnr"
    local pid=$E2E_APP_PID main load x y
    main=$(e2e_wait_window "^Veltrane - " "$pid")
    read -r x y < <(e2e_ui_center $main_ui PROD_CHOIX)
    e2e_click "$main" $((x * scale)) $((y * scale))
    sleep 0.3
    xdotool type --delay 60 "Chronobox"
    xdotool key Return
    sleep 0.5
    read -r x y < <(e2e_ui_center $main_ui BP_LOAD)
    e2e_click "$main" $((x * scale)) $((y * scale))
    load=$(e2e_wait_window "Logiciels et Ressources" "$pid")
    sleep 0.8
    local fid fx fy fw fh lx ly
    read -r fid fx fy fw fh < <(e2e_frame "$load")
    e2e_log "$size at ${scale}x: frame $fw x $fh at $fx,$fy"
    if [ "$fx" -ge 0 ] && [ "$fy" -ge 0 ] && [ $((fx + fw)) -le "$sw" ] && [ $((fy + fh)) -le "$sh" ]; then
        e2e_log "ok: $size at ${scale}x: the whole downloads panel, frame included, is on the screen"
    else
        e2e_fail "$size at ${scale}x: frame at $fx,$fy ${fw}x$fh, off the ${sw}x$sh screen"
    fi
    e2e_shot "$E2E_WORK/downloads-$size-$scale.png"
    read -r lx ly _ _ < <(e2e_geometry "$load")
    read -r x y < <(e2e_ui_center $load_ui BP_QUIT)
    e2e_click "$load" $((x * scale)) $((y * scale))
    main=$(e2e_wait_window "^Veltrane - " "$pid")
    # The window manager maps it first and the program's move may come
    # after on a loaded machine: wait for the place, up to 5 s.
    for _ in $(seq 50); do
        read -r x y _ _ < <(e2e_geometry "$main")
        [ "$x $y" = "$lx $ly" ] && break
        sleep 0.1
    done
    e2e_expect_eq "$lx $ly" "$x $y" "$size at ${scale}x: RETOUR brings the main panel back where the downloads panel was"
    read -r x y < <(e2e_ui_center $main_ui BP_QUIT)
    e2e_click "$main" $((x * scale)) $((y * scale))
    e2e_wait_exit "$pid"
    e2e_expect_eq 0 "$E2E_EXIT" "$size at ${scale}x: exit code"
}

check 1024x768 1
check 1280x1024 1
check 1920x1080 2
e2e_done

#!/usr/bin/env bash
# Takes the README's pictures of the Windows program under Wine, on a
# virtual X server with openbox (for the window frames), at 100 % and at
# 200 % (LogPixels 192):
#   docs/windows-main.png, docs/windows-main-200.png            a product chosen
#   docs/windows-downloads.png, docs/windows-downloads-200.png  its downloads
#                                                               panel, the mouse on EMP
# Usage: scripts/screenshots-windows.sh [Windows bin dir] [output dir]
# (defaults: build-windows/bin, docs). Needs the Windows build
# (scripts/build-windows.sh, which installs Wine, Xvfb, openbox, xdotool and
# ImageMagick).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$top/build-windows/bin}" && pwd)
out=$(mkdir -p "${2:-$top/docs}" && cd "${2:-$top/docs}" && pwd)
. "$top/tests/e2e/lib.sh"
. "$top/tests/e2e/wine/winelib.sh"

# shots <scale 1 or 2> <suffix>: one run of the program at that scale.
shots() {
    local k=$1 suffix=$2 pid main load frame
    (
        e2e_init "$bin" "$top"
        e2e_start_x "$((1280 * k))x$((1024 * k))x24" >/dev/null
        wine_prefix $((96 * k))
        cd "$bin"
        wine_start "$bin/VLicEnr.exe"
        pid=$E2E_APP_PID
        main=$(e2e_wait_window "^Veltrane - T" "$pid")
        read -r x y < <(e2e_ui_center ui/panels/4.ui PROD_CHOIX)
        e2e_click "$main" $((x * k)) $((y * k))
        e2e_press b Down Down Down Down Return   # Banc Moteur Brushless, the README's product
        e2e_move_mouse "$main" 3 3
        e2e_wait_still "$main" || true
        frame=$(e2e_frame "$main" | awk '{print $1}')
        import -window "$frame" "$out/windows-main$suffix.png"
        e2e_key "$main" alt+t
        load=$(e2e_wait_window "Logiciels et Ressources" "$pid")
        read -r x y < <(e2e_ui_center ui/panels/6.ui BP_EMP)
        e2e_move_mouse "$load" $((x * k)) $((y * k))
        e2e_wait_still "$load" || true
        frame=$(e2e_frame "$load" | awk '{print $1}')
        import -window "$frame" "$out/windows-downloads$suffix.png"
        echo "screenshots-windows: $out/windows-main$suffix.png $out/windows-downloads$suffix.png"
    )
}
shots 1 ""
shots 2 "-200"

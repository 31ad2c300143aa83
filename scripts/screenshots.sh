#!/usr/bin/env bash
# Takes the README's pictures of the running program under a virtual X
# server with a window manager (for the window frames):
#   docs/main-chooser.png     chooser mode, a product chosen (download section shown)
#   docs/main-fixed.png       fixed mode, product 20
# and the same two at 200% scaling as *-200.png.
# Usage: scripts/screenshots.sh [bin dir] [output dir] (defaults: build/bin, docs).
# Needs Xvfb, openbox, xdotool and ImageMagick (scripts/install-deps.sh).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
bin=$(cd "${1:-$top/build/bin}" && pwd)
out=${2:-$top/docs}
mkdir -p "$out"

. "$top/scripts/x11-pictures.sh"
app=""
cleanup() {
    [ -n "$app" ] && kill "$app" 2>/dev/null || true
    x11_stop
}
trap cleanup EXIT
x11_start 2400x1500

# The program's visible window whose title matches.
window_of() { xdotool search --onlyvisible --pid "$app" --name "$1" 2>/dev/null | head -n 1; }
wait_window() {
    local w=""
    for _ in $(seq 100); do w=$(window_of "$1"); [ -n "$w" ] && break; sleep 0.1; done
    [ -n "$w" ] || { echo "screenshots: no window '$1'" >&2; exit 1; }
    sleep 0.7
    echo "$w"
}
start() { (cd "$bin" && exec ./VLicEnr "$@") >/dev/null 2>&1 & app=$!; }
stop() { kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; app=""; }

for scale in 1 2; do
    export QT_SCALE_FACTOR=$scale
    suffix=""; [ "$scale" = 2 ] && suffix="-200"

    # Chooser mode: pick the second product of the list with the keyboard.
    start
    w=$(wait_window 'Veltrane - T')
    read -r x y _ _ < <(x11_geometry "$w")
    xdotool mousemove $((x + (292 + 120) * scale)) $((y + (97 + 13) * scale)) click 1
    sleep 0.5
    xdotool key Down Down Return
    xdotool mousemove $((x + 5 * scale)) $((y + 5 * scale))
    sleep 0.7
    x11_shoot "$out/main-chooser$suffix.png" "$w"

    stop

    # Fixed mode, product 20.
    start 20
    w=$(wait_window 'Veltrane - T')
    x11_shoot "$out/main-fixed$suffix.png" "$w"
    stop
done
echo "screenshots: written to $out"

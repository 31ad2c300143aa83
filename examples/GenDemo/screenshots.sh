#!/usr/bin/env bash
# Takes the README's pictures of GenDemo under a virtual X server with a
# window manager (for the window frames):
#   docs/gendemo.png    the demo panel with the caption of a hovered button
#   docs/gen-error.png  the error popup with details and two buttons
#   docs/gen-wait.png   the wait popup over the dimmed demo panel
# Usage: examples/GenDemo/screenshots.sh [bin dir] [output dir]
# (defaults: build/bin and docs of the source tree). Needs Xvfb, openbox,
# xdotool and ImageMagick (scripts/install-deps.sh installs them).
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "${1:-$top/build/bin}" && pwd)
out=${2:-$top/docs}
mkdir -p "$out"

. "$top/scripts/x11-pictures.sh"
demo=""
cleanup() {
    [ -n "$demo" ] && kill "$demo" 2>/dev/null || true
    x11_stop
}
trap cleanup EXIT
x11_start 1024x768

# The demo's client window: the largest window named GenDemo.
window_of() {
    local w
    for w in $(xdotool search --name "$1" 2>/dev/null); do
        xdotool getwindowgeometry "$w" | sed -n "s/.*Geometry: \([0-9]*\)x\([0-9]*\)/\1 \2 $w/p"
    done | awk '$1 * $2 > a { a = $1 * $2; w = $3 } END { print w }'
}
start_demo() {
    (cd "$bin" && exec ./GenDemo "$@") >/dev/null 2>&1 &
    demo=$!
    for _ in $(seq 50); do [ -n "$(window_of GenDemo)" ] && break; sleep 0.1; done
    sleep 1
}
stop_demo() { kill "$demo" 2>/dev/null || true; wait "$demo" 2>/dev/null || true; demo=""; }

# 1. The panel, the mouse on the third hover button (its caption shows).
start_demo
panel=$(window_of GenDemo)
read -r x y _ _ < <(x11_geometry "$panel")
xdotool mousemove $((x + 20 + 2 * 102 + 17 + 32)) $((y + 76 + 32))
sleep 0.7
x11_shoot "$out/gendemo.png" "$panel"
stop_demo

# 2. The error popup with details.
start_demo --question
sleep 0.5
x11_shoot "$out/gen-error.png" "$(window_of GenDemo)"
stop_demo

# 3. The wait popup over the dimmed panel.
start_demo --attente
sleep 0.3
x11_shoot "$out/gen-wait.png" "$(window_of GenDemo)"
stop_demo
echo "screenshots: $out/gendemo.png $out/gen-error.png $out/gen-wait.png"

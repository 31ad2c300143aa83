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

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
demo=""
wm=""
cleanup() {
    [ -n "$demo" ] && kill "$demo" 2>/dev/null || true
    [ -n "$wm" ] && kill "$wm" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
openbox >/dev/null 2>&1 &
wm=$!
sleep 1

# The demo's client window: the largest window named GenDemo.
window_of() {
    local w
    for w in $(xdotool search --name "$1" 2>/dev/null); do
        xdotool getwindowgeometry "$w" | sed -n "s/.*Geometry: \([0-9]*\)x\([0-9]*\)/\1 \2 $w/p"
    done | awk '$1 * $2 > a { a = $1 * $2; w = $3 } END { print w }'
}
# Absolute position and size of a window's client area: X Y WIDTH HEIGHT.
geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                             /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }'
}
# Picture of a window with its frame (openbox's _NET_FRAME_EXTENTS).
shoot() {   # shoot <file> <window>
    local x y w h l r t b
    read -r x y w h < <(geometry "$2")
    read -r l r t b < <(xprop -id "$2" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    import -window root -crop "$((w + l + r))x$((h + t + b))+$((x - l))+$((y - t))" +repage "$1"
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
read -r x y _ _ < <(geometry "$panel")
xdotool mousemove $((x + 20 + 2 * 102 + 17 + 32)) $((y + 76 + 32))
sleep 0.7
shoot "$out/gendemo.png" "$panel"
stop_demo

# 2. The error popup with details.
start_demo --question
sleep 0.5
shoot "$out/gen-error.png" "$(window_of GenDemo)"
stop_demo

# 3. The wait popup over the dimmed panel.
start_demo --attente
sleep 0.3
shoot "$out/gen-wait.png" "$(window_of GenDemo)"
stop_demo
echo "screenshots: $out/gendemo.png $out/gen-error.png $out/gen-wait.png"

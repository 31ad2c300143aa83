# x11-pictures.sh, sourced by the scripts that take the README's pictures:
# a private Xvfb with openbox (for the window frames) and a way to shoot one
# window with its frame.
#   x11_start WIDTHxHEIGHT   starts both, exports DISPLAY; stopped at exit
#   x11_geometry WINDOW      absolute X Y WIDTH HEIGHT of its client area
#   x11_shoot FILE WINDOW    picture of the window with its frame

x11_start() {
    local n
    x11_display=""
    for n in $(seq 140 199); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then x11_display=":$n"; break; fi
    done
    [ -n "$x11_display" ] || { echo "pictures: no free display number" >&2; exit 1; }
    Xvfb "$x11_display" -screen 0 "${1}x24" -nolisten tcp >/dev/null 2>&1 &
    x11_xvfb=$!
    export DISPLAY=$x11_display
    for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
    openbox >/dev/null 2>&1 &
    x11_wm=$!
    sleep 1
}

x11_stop() {
    [ -n "${x11_wm:-}" ] && kill "$x11_wm" 2>/dev/null || true
    [ -n "${x11_xvfb:-}" ] && kill "$x11_xvfb" 2>/dev/null || true
}

x11_geometry() {
    xwininfo -id "$1" | awk '/Absolute upper-left X/ { x = $NF } /Absolute upper-left Y/ { y = $NF }
                             /^ *Width:/ { w = $NF } /^ *Height:/ { h = $NF } END { print x, y, w, h }'
}

# openbox tells the frame's width on each side in _NET_FRAME_EXTENTS.
x11_shoot() {
    local x y w h l r t b
    read -r x y w h < <(x11_geometry "$2")
    read -r l r t b < <(xprop -id "$2" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
    import -window root -crop "$((w + l + r))x$((h + t + b))+$((x - l))+$((y - t))" +repage "$1"
}

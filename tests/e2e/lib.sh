# lib.sh: shared helpers of the end-to-end tests (sourced, never run alone).
#
# Each test script is run as `bash <script> <bin dir> <source dir>` and does:
#     . "$(dirname "$0")/lib.sh"
#     e2e_init "$@"            # strict mode, work folder, cleanup trap, E2E_BIN / E2E_SRC
#     e2e_start_x              # private Xvfb on a free display, openbox as window manager
#     e2e_start_app "$E2E_BIN/VLicEnr" 20 ; pid=$E2E_APP_PID
#     win=$(e2e_wait_window "^VLicEnr" "$pid")
#     e2e_click "$win" $(e2e_ui_center ui/panels/4.ui BP_QUIT)
#     e2e_wait_exit "$pid" ; e2e_expect_eq 0 "$E2E_EXIT" "exit code"
#     e2e_done
#
# Everything runs on real X input (xdotool) and is checked on what the screen
# shows (screenshots, window titles, mapped windows), never through a switch
# of the program. Every process a test starts is recorded and ended by its
# PID at exit; screenshots of a failing test are kept in $E2E_WORK (printed).

E2E_PIDS=()
E2E_FAILS=0
E2E_WORK=""
E2E_KEEP=${E2E_KEEP:-0}   # 1: keep the work folder even when every check passes

# e2e_init <bin dir> <source dir>: strict mode, work folder, cleanup trap.
e2e_init() {
    set -euo pipefail
    E2E_BIN=$(cd "${1:?bin dir}" && pwd)
    E2E_SRC=$(cd "${2:?source dir}" && pwd)
    E2E_WORK=$(mktemp -d "${TMPDIR:-/tmp}/vlic-e2e.XXXXXX")
    trap e2e_cleanup EXIT
    trap 'exit 130' INT TERM
    for tool in Xvfb openbox xdotool import compare convert xwininfo xdpyinfo; do
        command -v "$tool" >/dev/null || { echo "e2e: $tool is missing (scripts/install-deps.sh)"; exit 1; }
    done
}

e2e_log() { echo "e2e: $*"; }

# e2e_cleanup: ends what the test started (by PID, newest first), removes the
# work folder unless a check failed.
e2e_cleanup() {
    local rc=$?
    local i
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        kill "${E2E_PIDS[i]}" 2>/dev/null || true
    done
    for ((i = ${#E2E_PIDS[@]} - 1; i >= 0; i--)); do
        wait "${E2E_PIDS[i]}" 2>/dev/null || true
    done
    if [ "$rc" -ne 0 ] || [ "$E2E_FAILS" -ne 0 ] || [ "$E2E_KEEP" -ne 0 ]; then
        [ -n "$E2E_WORK" ] && echo "e2e: screenshots and logs kept in $E2E_WORK"
    else
        [ -n "$E2E_WORK" ] && rm -rf "$E2E_WORK"
    fi
}

# e2e_fail <message>: records a failed check (the test goes on).
e2e_fail() {
    echo "e2e: FAIL: $*"
    E2E_FAILS=$((E2E_FAILS + 1))
}

# e2e_expect_eq <expected> <actual> <what>
e2e_expect_eq() {
    if [ "$1" = "$2" ]; then e2e_log "ok: $3 = $2"; else e2e_fail "$3: expected '$1', got '$2'"; fi
}

# e2e_expect <what> <command...>: the command must succeed (its output
# goes to $E2E_WORK/checks.log).
e2e_expect() {
    local what=$1
    shift
    if "$@" >>"$E2E_WORK/checks.log" 2>&1; then e2e_log "ok: $what"; else e2e_fail "$what"; fi
}

# e2e_done: exit code of the test, 0 when every check passed.
e2e_done() {
    if [ "$E2E_FAILS" -ne 0 ]; then
        echo "e2e: $E2E_FAILS check(s) failed"
        exit 1
    fi
    e2e_log "all checks passed"
    exit 0
}

# e2e_start_x [WxHxD]: starts a private Xvfb on a display number it picks
# itself (free at that moment, so parallel tests never collide) and openbox
# as window manager (frames with close boxes, activation, focus). Exports DISPLAY.
e2e_start_x() {
    local screen=${1:-1280x1024x24}
    local fdfile="$E2E_WORK/display"
    : >"$fdfile"
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$fdfile" \
        >"$E2E_WORK/xvfb.log" 2>&1 &
    E2E_PIDS+=($!)
    local t
    for t in $(seq 1 100); do
        [ -s "$fdfile" ] && break
        sleep 0.1
    done
    [ -s "$fdfile" ] || { echo "e2e: Xvfb did not start"; cat "$E2E_WORK/xvfb.log"; exit 1; }
    export DISPLAY=":$(tr -dc '0-9' <"$fdfile")"
    unset WAYLAND_DISPLAY QT_QPA_PLATFORM
    export XAUTHORITY=/dev/null
    for t in $(seq 1 50); do
        xdpyinfo >/dev/null 2>&1 && break
        sleep 0.1
    done
    openbox --sm-disable >"$E2E_WORK/openbox.log" 2>&1 &
    E2E_PIDS+=($!)
    # openbox announces itself on the root window once it manages windows.
    for t in $(seq 1 100); do
        xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
        sleep 0.1
    done
    e2e_log "X display $DISPLAY with openbox"
}

# e2e_start_app <program> [args...]: starts it in the background from the
# current folder; E2E_APP_PID is its PID. Output goes to $E2E_WORK/app-<pid>.log.
e2e_start_app() {
    "$@" >"$E2E_WORK/app.log.tmp" 2>&1 &
    E2E_APP_PID=$!
    E2E_PIDS+=($E2E_APP_PID)
    mv "$E2E_WORK/app.log.tmp" "$E2E_WORK/app-$E2E_APP_PID.log" 2>/dev/null || true
}

# e2e_running <pid>: true while the process lives.
e2e_running() { kill -0 "$1" 2>/dev/null; }

# e2e_wait_exit <pid> [seconds]: waits for the process; E2E_EXIT is its exit
# code (as the shell reports it: 255 for -1), or "timeout".
e2e_wait_exit() {
    local pid=$1 limit=${2:-15} t
    for t in $(seq 1 $((limit * 10))); do
        e2e_running "$pid" || break
        sleep 0.1
    done
    if e2e_running "$pid"; then
        E2E_EXIT=timeout
        return 0
    fi
    E2E_EXIT=0
    wait "$pid" || E2E_EXIT=$?
}

# e2e_find_window <title regex> [pid]: ids of the visible windows whose title
# matches (of that process when a pid is given), one a line; empty if none.
e2e_find_window() {
    local args=(--onlyvisible --name "$1")
    # xdotool matches any of the criteria unless told --all.
    [ -n "${2:-}" ] && args=(--all --onlyvisible --pid "$2" --name "$1")
    xdotool search "${args[@]}" 2>/dev/null || true
}

# e2e_wait_window <title regex> [pid] [seconds]: prints the id of the first
# visible window whose title matches, once it is mapped; fails the test
# (exit) when none shows up in time.
e2e_wait_window() {
    local re=$1 pid=${2:-} limit=${3:-20} t w
    for t in $(seq 1 $((limit * 10))); do
        w=$(e2e_find_window "$re" "$pid" | head -n 1)
        if [ -n "$w" ]; then
            sleep 0.3   # let the window draw its first frame
            echo "$w"
            return 0
        fi
        sleep 0.1
    done
    e2e_fail "no window titled /$re/ appeared within ${limit}s"
    e2e_shot "$E2E_WORK/no-window.png"
    exit 1
}

# e2e_wait_no_window <title regex> [pid] [seconds]: true once no such window is visible.
e2e_wait_no_window() {
    local re=$1 pid=${2:-} limit=${3:-10} t
    for t in $(seq 1 $((limit * 10))); do
        [ -z "$(e2e_find_window "$re" "$pid")" ] && return 0
        sleep 0.1
    done
    return 1
}

# e2e_count_windows <pid>: number of visible windows of the process, its
# drop-down lists and popups included.
e2e_count_windows() { xdotool search --onlyvisible --pid "$1" 2>/dev/null | wc -l; }

# e2e_wait_windows <pid> <count> [seconds]: true once the process shows
# exactly that many windows (a drop-down list has opened or closed).
e2e_wait_windows() {
    local pid=$1 want=$2 limit=${3:-10} t
    for t in $(seq 1 $((limit * 10))); do
        [ "$(e2e_count_windows "$pid")" -eq "$want" ] && return 0
        sleep 0.1
    done
    return 1
}

# e2e_title <window>: the window's title (UTF-8).
e2e_title() { xdotool getwindowname "$1" 2>/dev/null || true; }

# e2e_activate <window>: raises it and gives it the keyboard.
e2e_activate() {
    xdotool windowactivate --sync "$1" >/dev/null 2>&1 || xdotool windowfocus --sync "$1" >/dev/null 2>&1 || true
    sleep 0.1
}

# e2e_click <window> <x> <y> [button]: a real click at (x, y) of the window's
# client area (the panel itself, below the frame).
e2e_click() {
    e2e_activate "$1"
    xdotool mousemove --window "$1" "$2" "$3" sleep 0.1 click "${4:-1}"
    sleep 0.3
}

# e2e_move_mouse <window> <x> <y>
e2e_move_mouse() { xdotool mousemove --window "$1" "$2" "$3"; sleep 0.1; }

# e2e_key <window> <key...>: real key presses (xdotool names: Return,
# Escape, Down, alt+F4, ...) to the window after activating it.
e2e_key() {
    local w=$1
    shift
    e2e_activate "$w"
    xdotool key --delay 80 "$@"
    sleep 0.3
}

# e2e_press <key...>: real key presses to whatever holds the keyboard now
# (an open drop-down list, a popup), without activating any window.
e2e_press() {
    xdotool key --delay 80 "$@"
    sleep 0.3
}

# e2e_type <window> <text>: types the text.
e2e_type() {
    e2e_activate "$1"
    xdotool type --delay 50 "$2"
    sleep 0.3
}

# e2e_geometry <window>: "x y width height" of the window's client area on the screen.
e2e_geometry() {
    local info
    info=$(xwininfo -id "$1")
    echo "$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")" \
        "$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")" \
        "$(awk '/^ *Width:/ {print $2}' <<<"$info")" \
        "$(awk '/^ *Height:/ {print $2}' <<<"$info")"
}

# e2e_frame <window>: the window manager's frame around it (its top-level
# ancestor below the root), "id x y width height"; the window itself when
# it has no frame.
e2e_frame() {
    local w=$1 root parent
    root=$(xwininfo -root | awk '/Window id:/ {print $4}')
    while :; do
        parent=$(xwininfo -children -id "$w" | awk '/Parent window id:/ {print $4}')
        [ -z "$parent" ] || [ "$((parent))" -eq "$((root))" ] && break
        w=$parent
    done
    echo "$w $(e2e_geometry "$w")"
}

# e2e_frame_extents <window>: "left right top bottom", the widths of the
# window manager's frame round it (_NET_FRAME_EXTENTS; 0 0 0 0 without).
e2e_frame_extents() {
    local e
    e=$(xprop -id "$1" _NET_FRAME_EXTENTS 2>/dev/null | sed -n 's/.*= *//p' | tr -d ',')
    echo "${e:-0 0 0 0}"
}

# e2e_close_box <window>: clicks the close box of the window's openbox
# frame (the right-most button of the title bar).
e2e_close_box() {
    local fid fx fy fw fh cx cy cw ch
    read -r fid fx fy fw fh < <(e2e_frame "$1")
    read -r cx cy cw ch < <(e2e_geometry "$1")
    local bar=$((cy - fy))
    [ "$bar" -gt 4 ] || { e2e_fail "window $1 has no title bar"; return 1; }
    # openbox's title bar: buttons of about bar-height squares at the right
    # edge, the close box the last one; aim at the middle of the last square.
    local x=$((fx + fw - bar / 2 - 4)) y=$((fy + bar / 2))
    xdotool mousemove "$x" "$y" sleep 0.1 click 1
    sleep 0.3
}

# e2e_shot <file> [window]: screenshot of the whole screen or of one window.
e2e_shot() {
    if [ -n "${2:-}" ]; then
        import -window "$2" "$1" 2>/dev/null
    else
        import -window root "$1" 2>/dev/null
    fi
}

# e2e_wait_still <window> [seconds]: waits until two screenshots of the
# window 0.15 s apart are the same (it has finished redrawing); true then,
# false when it still changes after the time given.
e2e_wait_still() {
    local w=$1 limit=${2:-5} t
    local a="$E2E_WORK/.still-a.png" b="$E2E_WORK/.still-b.png"
    e2e_shot "$a" "$w"
    for t in $(seq 1 $((limit * 6))); do
        sleep 0.15
        e2e_shot "$b" "$w"
        [ "$(e2e_diff "$a" "$b")" = "0" ] && return 0
        mv "$b" "$a"
    done
    return 1
}

# e2e_crop <file> <x> <y> <w> <h> <out>: a region of a screenshot.
e2e_crop() { convert "$1" -crop "${4}x${5}+${2}+${3}" +repage "$6"; }

# e2e_diff <a> <b>: number of differing pixels of two images; 999999999
# when they differ in size or cannot be compared.
e2e_diff() {
    local sa sb out
    sa=$(convert "$1" -format '%wx%h' info: 2>/dev/null) || sa=a
    sb=$(convert "$2" -format '%wx%h' info: 2>/dev/null) || sb=b
    if [ "$sa" != "$sb" ]; then
        echo 999999999
        return 0
    fi
    out=$(compare -metric AE "$1" "$2" null: 2>&1) || true
    if [[ "$out" =~ ^[0-9]+(\.[0-9]+)?(e\+?[0-9]+)?$ ]]; then
        awk -v n="$out" 'BEGIN { printf "%d\n", n }'
    else
        echo 999999999
    fi
}

# e2e_colors <file>: number of distinct colours in the image (1 = uniform).
e2e_colors() { convert "$1" -format '%k' info:; }

# e2e_pixel <file> <x> <y>: the colour of one pixel as "#RRGGBB".
e2e_pixel() { convert "$1" -format "%[hex:p{$2,$3}]" info: | sed 's/^/#/' | cut -c1-7; }

# e2e_ui_rect <.ui file relative to the source dir> <objectName>: "x y w h"
# of that widget in the panel's resource, the place code and user see it at.
e2e_ui_rect() {
    awk -v want="$2" '
        /<widget / { inw = (index($0, "name=\"" want "\"") > 0); inrect = 0; next }
        inw && /<property name="geometry">/ { inrect = 1; next }
        inrect && /<x>/ { gsub(/[^0-9-]/, ""); x = $0 }
        inrect && /<y>/ { gsub(/[^0-9-]/, ""); y = $0 }
        inrect && /<width>/ { gsub(/[^0-9-]/, ""); w = $0 }
        inrect && /<height>/ { gsub(/[^0-9-]/, ""); h = $0; print x, y, w, h; exit }
    ' "$E2E_SRC/$1"
}

# e2e_ui_center <.ui file> <objectName>: "x y" of the widget's centre.
e2e_ui_center() {
    local x y w h
    read -r x y w h < <(e2e_ui_rect "$1" "$2")
    echo "$((x + w / 2)) $((y + h / 2))"
}

# e2e_open_downloads <main panel window> <pid>: chooses product 180
# "Chronobox" in the chooser (its list's type-ahead), presses TELECHARGER and
# prints the id of the downloads panel's window once it is mapped.
e2e_open_downloads() {
    local main=$1 pid=$2
    e2e_click "$main" $(e2e_ui_center ui/panels/4.ui PROD_CHOIX) >&2
    xdotool type --delay 60 "Chronobox"
    xdotool key Return
    sleep 0.5
    e2e_click "$main" $(e2e_ui_center ui/panels/4.ui BP_LOAD) >&2
    e2e_wait_window "Logiciels et Ressources" "$pid"
}

# e2e_shot_rect <window> <x y w h> <out>: screenshot of a rectangle of the
# window's client area.
e2e_shot_rect() {
    local w=$1 x=$2 y=$3 cw=$4 ch=$5 out=$6
    local tmp="$E2E_WORK/.rect.png"
    e2e_shot "$tmp" "$w"
    e2e_crop "$tmp" "$x" "$y" "$cw" "$ch" "$out"
}

# Run directly (ctest runs every tests/e2e/*.sh), the library checks itself:
# a private X display with its window manager comes up, can be
# photographed, the panel geometry of the resource can be read, and
# everything started is gone afterwards.
if [ "${BASH_SOURCE[0]}" = "$0" ]; then
    e2e_init "$@"
    e2e_start_x
    e2e_expect "the display answers" xdpyinfo
    e2e_shot "$E2E_WORK/root.png"
    e2e_expect_eq "1280x1024" "$(convert "$E2E_WORK/root.png" -format '%wx%h' info:)" "screenshot size"
    rect=$(e2e_ui_rect ui/panels/4.ui BP_QUIT)
    e2e_expect "BP_QUIT has a geometry in the main panel's resource ($rect)" \
        bash -c '[[ "$1" =~ ^-?[0-9]+\ -?[0-9]+\ [0-9]+\ [0-9]+$ ]]' _ "$rect"
    e2e_done
fi

# web_link.sh: the WEB link of the real main panel on a private X display,
# under real X input, with a throw-away desktop whose https handler records
# what it is started with:
#   - at start the link is drawn blue and underlined, under the normal cursor;
#   - with the pointer over it, it is red under the hand cursor; on empty
#     panel area it is blue again under the normal cursor;
#   - a right click opens nothing; a left click hands the maker's address,
#     "https://www.veltrane.fr/", to the registered https handler exactly
#     once, and the link is purple (visited) once the pointer has left it;
#   - the program still quits with 0.
# Run as: bash web_link.sh <bin dir> <source dir>
. "$(dirname "$0")/lib.sh"
. "$(dirname "$0")/../support/xdg_fixture.sh"
e2e_init "$@"
# Say where a failing command ends the test (strict mode ends it silently).
set -E
trap 'echo "e2e: stopped by a failing command at line $LINENO: $BASH_COMMAND" >&2' ERR
# The desktop lives in the work folder, so it goes (or stays) with it.
TMPDIR=$E2E_WORK vlic_xdg_setup
e2e_start_x

APP="$E2E_BIN/VLicEnr"
UI=ui/panels/4.ui
MAIN='^Veltrane - T'   # the main panel's title
SITE="https://www.veltrane.fr/"
W=$E2E_WORK
read -r wx wy ww wh < <(e2e_ui_rect $UI WEB)
read -r qx qy < <(e2e_ui_center $UI BP_QUIT)
# A point on the link's text (left aligned in its control).
tx=$((wx + 30)) ty=$((wy + wh / 2))

# near <png> <#RRGGBB>: a mask of the pixels near that colour (white), the
# rest black, as <png>.mask.png.
near() { convert "$1" -fuzz 20% -fill black +opaque "$2" -fill white -opaque "$2" "$1.mask.png"; }
# count <png> <#RRGGBB>: number of pixels near that colour.
count() { near "$1" "$2"; convert "$1.mask.png" -format '%[fx:int(mean*w*h+0.5)]' info:; }
# longest_row <png> <#RRGGBB>: the largest number of pixels near that colour
# in one row (an underline makes a long row).
longest_row() {
    near "$1" "$2"
    convert "$1.mask.png" -scale "1x${wh}!" -format "%[fx:int(maxima*$ww+0.5)]" info:
}
# link <window> <name>: screenshot of the link as <name>.png (a second try
# when the window cannot be read at once, e.g. while it is being redrawn).
link() {
    local t
    for t in 1 2 3; do
        e2e_shot_rect "$1" "$wx" "$wy" "$ww" "$wh" "$W/$2.png" 2>/dev/null && return 0
        sleep 0.3
    done
    e2e_fail "no screenshot of the link ($2)"
    convert -size "${ww}x${wh}" xc:black "$W/$2.png"
}
at_least() { [ "$1" -ge "$2" ]; }

# cursor_name: the X name of the cursor now showing (XFixes), e.g. left_ptr
# for the normal arrow, pointer or hand2 for the hand.
cursor_name() {
    python3 - <<'EOF'
import ctypes, ctypes.util
class Image(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short),
                ("width", ctypes.c_ushort), ("height", ctypes.c_ushort),
                ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("serial", ctypes.c_ulong), ("pixels", ctypes.c_void_p),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]
x11 = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
xfixes = ctypes.CDLL(ctypes.util.find_library("Xfixes") or "libXfixes.so.3")
x11.XOpenDisplay.restype = ctypes.c_void_p
xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(Image)
xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
display = x11.XOpenDisplay(None)
image = xfixes.XFixesGetCursorImage(display) if display else None
print((image.contents.name or b"").decode() if image else "")
EOF
}
hand() { case "$(cursor_name)" in pointer | hand | hand1 | hand2 | pointing_hand) return 0 ;; esac; return 1; }
arrow() { case "$(cursor_name)" in left_ptr | default | arrow | "") return 0 ;; esac; return 1; }
# away <window>: the pointer to empty panel area.
away() { e2e_move_mouse "$1" 300 150; sleep 0.3; }

cd "$W"
e2e_start_app "$APP"
pid=$E2E_APP_PID
win=$(e2e_wait_window "$MAIN" "$pid")
away "$win"

link "$win" start
e2e_shot "$W/main-start.png" "$win"
e2e_expect "the link is drawn blue" at_least "$(count "$W/start.png" '#0000FF')" 40
e2e_expect "the link is underlined" at_least "$(longest_row "$W/start.png" '#0000FF')" 60
e2e_expect_eq 0 "$(count "$W/start.png" '#FF0000')" "red pixels of the link at start"
e2e_expect "the normal cursor at start ($(cursor_name))" arrow

e2e_move_mouse "$win" "$tx" "$ty"
sleep 0.3
link "$win" hover
e2e_shot "$W/main-hover.png" "$win"
e2e_expect "the link is red under the pointer" at_least "$(count "$W/hover.png" '#FF0000')" 40
e2e_expect "it is still underlined" at_least "$(longest_row "$W/hover.png" '#FF0000')" 60
e2e_expect_eq 0 "$(count "$W/hover.png" '#0000FF')" "blue pixels of the hovered link"
e2e_expect "the hand cursor over the link ($(cursor_name))" hand

away "$win"
link "$win" left
e2e_expect "blue again on empty panel area" at_least "$(count "$W/left.png" '#0000FF')" 40
e2e_expect_eq 0 "$(count "$W/left.png" '#FF0000')" "red pixels after leaving"
e2e_expect "the normal cursor again ($(cursor_name))" arrow

e2e_click "$win" "$tx" "$ty" 3
sleep 0.5
e2e_expect_eq 0 "$(vlic_xdg_count)" "addresses opened by a right click"

e2e_click "$win" "$tx" "$ty"
e2e_expect "the click reaches the registered https handler" vlic_xdg_wait 1 10
sleep 1   # a second start would show up by now
e2e_expect_eq "$SITE" "$(vlic_xdg_records)" "the address the handler was given"
away "$win"
link "$win" visited
e2e_shot "$W/main-visited.png" "$win"
e2e_expect "the link is purple once visited" at_least "$(count "$W/visited.png" '#800080')" 40
e2e_expect_eq 0 "$(count "$W/visited.png" '#0000FF')" "blue pixels of the visited link"

e2e_click "$win" "$qx" "$qy"
e2e_wait_exit "$pid"
e2e_expect_eq 0 "$E2E_EXIT" "exit code after QUITTER"
e2e_done

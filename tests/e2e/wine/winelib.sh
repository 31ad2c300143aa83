# winelib.sh: helpers of the end-to-end tests of the Windows program under
# Wine (sourced after ../lib.sh, never run alone). Each test script is run
# as `bash <script> <bin dir of the Windows build> <source dir>` and does:
#     . "$(dirname "$0")/../lib.sh"
#     . "$(dirname "$0")/winelib.sh"
#     e2e_init "$@"
#     e2e_start_x                  # private Xvfb with openbox (lib.sh)
#     wine_prefix                  # a Wine prefix of the test's own, in $E2E_WORK
#     cd "$E2E_BIN"; wine_start VLicEnr.exe ; pid=$E2E_APP_PID
#     win=$(e2e_wait_window "^Veltrane - " "$pid")
#     ...
# Wine's windows are ordinary X windows: found by their titles and the
# process's PID (_NET_WM_PID is the PID wine_start gives), driven with
# xdotool, photographed with import, exactly as the Linux tests do.

WINE_LOADER=/usr/lib/wine/wine64
WINE_SERVER=/usr/lib/wine/wineserver64
[ -x "$WINE_LOADER" ] || WINE_LOADER=$(command -v wine64 || command -v wine)
[ -x "$WINE_SERVER" ] || WINE_SERVER=$(command -v wineserver64 || command -v wineserver)

# wine_prefix [LogPixels]: makes a fresh prefix in the work folder (after
# e2e_start_x, so that Wine's desktop process uses that display), with the
# given screen DPI (96 unless given), and ends its processes at exit before
# the display goes.
wine_prefix() {
    export WINEPREFIX=$E2E_WORK/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    unset WINEARCH
    trap 'wine_cleanup; e2e_cleanup' EXIT
    "$WINE_LOADER" wineboot -i >"$E2E_WORK/wineboot.log" 2>&1
    wine_reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "${1:-96}" /f
    wine_fonts
    # The prefix's settings are written once its server has ended.

}

# wine_fonts: Wine's own Tahoma (the fonts-wine package) in the prefix's
# Fonts folder, when the machine has it. This Wine does not load it from
# its own folder and draws "Tahoma" in DejaVu Sans, a wider face: checks
# that a label shows whole then measure a face unlike Windows' own. The
# regular face only: with fonts-wine's tahomabd.ttf beside it, Wine 8 draws
# bold text in the regular glyphs (measured: the same ink for both weights),
# and the panels' headings lose their bold; alone, Wine emboldens the
# regular face, close to Windows' Tahoma Bold.
WINE_FONTS=/usr/share/wine/fonts
wine_fonts() {
    [ -f "$WINE_FONTS/tahoma.ttf" ] || return 0
    cp "$WINE_FONTS/tahoma.ttf" "$WINEPREFIX/drive_c/windows/Fonts/"
}

# wine_reg <reg.exe arguments...>: changes the prefix's registry.
wine_reg() { "$WINE_LOADER" reg "$@" >>"$E2E_WORK/reg.log" 2>&1; }

wine_cleanup() {
    [ -n "${WINEPREFIX:-}" ] || return 0
    "$WINE_SERVER" -k >/dev/null 2>&1 || true
    "$WINE_SERVER" -w >/dev/null 2>&1 || true
}

# wine_start <exe> [args...]: starts the Windows program in the background
# from the current folder; E2E_APP_PID is its PID (the one its windows
# carry). Output goes to $E2E_WORK/app-<pid>.log.
wine_start() {
    local exe=$1
    shift
    e2e_start_app "$WINE_LOADER" "$exe" "$@"
}

# wine_run <exe> [args...]: runs it to its end; its output is this one's.
wine_run() {
    local exe=$1
    shift
    "$WINE_LOADER" "$exe" "$@"
}

# wine_winpath <unix path>: the path as the Windows program sees it.
wine_winpath() { echo "Z:${1//\//\\}"; }

# wine_record_https: makes the recording handler (shell_recorder.exe of the
# build) the prefix's program for https addresses; each start appends
# "<show command>|<address>" to $WINE_RECORD.
wine_record_https() {
    WINE_RECORD=$E2E_WORK/https-record.txt
    : >"$WINE_RECORD"
    export VLIC_RECORD_FILE
    VLIC_RECORD_FILE=$(wine_winpath "$WINE_RECORD")
    local recorder
    recorder=$(wine_winpath "$E2E_BIN/shell_recorder.exe")
    wine_reg add 'HKCR\https\shell\open\command' /ve /d "\"$recorder\" \"%1\"" /f

}

# wine_wait_records <count> [seconds]: true once the handler has recorded
# that many starts.
wine_wait_records() {
    local n=$1 limit=${2:-20} t
    for t in $(seq 1 $((limit * 10))); do
        [ "$(wc -l <"$WINE_RECORD")" -ge "$n" ] && return 0
        sleep 0.1
    done
    return 1
}

# wine_cursor: a fingerprint of the mouse cursor now showing (XFixes: its
# size, hot spot and pixels). Wine makes its cursors from the Windows
# bitmaps, without X names, so cursors are told apart by their pictures.
wine_cursor() {
    python3 - <<'PY'
import ctypes, ctypes.util, hashlib
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
if not image:
    print("none")
else:
    c = image.contents
    pixels = ctypes.string_at(c.pixels, c.width * c.height * ctypes.sizeof(ctypes.c_ulong))
    print("%dx%d+%d+%d-%s" % (c.width, c.height, c.xhot, c.yhot, hashlib.sha1(pixels).hexdigest()[:12]))
PY
}

# wine_wait_cursor <fingerprint> [seconds]: true once that cursor shows.
wine_wait_cursor() {
    local want=$1 limit=${2:-5} t
    for t in $(seq 1 $((limit * 10))); do
        [ "$(wine_cursor)" = "$want" ] && return 0
        sleep 0.1
    done
    return 1
}

# wine_wait_other_cursor <fingerprint> [seconds]: true once another cursor
# than that one shows.
wine_wait_other_cursor() {
    local old=$1 limit=${2:-5} t
    for t in $(seq 1 $((limit * 10))); do
        [ "$(wine_cursor)" != "$old" ] && return 0
        sleep 0.1
    done
    return 1
}

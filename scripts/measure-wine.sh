#!/usr/bin/env bash
# measure-wine.sh [Windows build dir]: what the Windows program costs under
# Wine against a bare Win32 window of the main panel's size
# (scripts/measure/bare_win32.cpp), built here in the same run with the same
# cross compiler, flags and static run-times. Prints, with the raw numbers:
#   - the size of VLicEnr.exe as packaged (stripped), and as a ratio to the
#     bare window's executable, stripped the same way;
#   - start to main panel mapped: from the fork of Wine's loader to the X
#     server's MapNotify of the first top-level window (scripts/measure/
#     mapwatch.c), on a bare Xvfb, the prefix's wineserver kept running so
#     that it is not counted, median of several runs, as a ratio to the bare
#     window, and to the bare window with the program's manifest (common
#     controls 6) and one themed button;
#   - resident memory (VmRSS) of the program's process one second after the
#     start, median, as a ratio;
#   - at rest, pointer still: CPU and wake-ups a second (context switches of
#     all the process's threads) over 10 s, on the main panel and on the
#     downloads panel, and what the wineserver does meanwhile (each message
#     poll is a call to it), beside the bare window's, and beside a bare
#     window whose themed button lies under the pointer.
# A measurement, not a test: it prints and exits 0 unless something could
# not be measured. VLIC_MEASURE_RUNS (default 7) start-up runs of each
# program, VLIC_MEASURE_SECONDS (default 10) per figure at rest.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build-windows}" && pwd)
runs=${VLIC_MEASURE_RUNS:-7}
seconds=${VLIC_MEASURE_SECONDS:-10}
program=$build/bin/VLicEnr.exe
[ -f "$program" ] || { echo "measure-wine: $program is not built (scripts/build-windows.sh)" >&2; exit 1; }

. "$top/tests/e2e/lib.sh"
. "$top/tests/e2e/wine/winelib.sh"
e2e_init "$build/bin" "$top"
cd "$top"
W=$E2E_WORK

read -r _ _ width height < <(e2e_ui_rect ui/panels/4.ui FVLIC_ENR 2>/dev/null || echo "0 0 560 252")
flags=$(sed -n 's/^CMAKE_CXX_FLAGS_RELWITHDEBINFO:STRING=//p' "$build/CMakeCache.txt")
x86_64-w64-mingw32-g++-posix ${flags:--O2 -g -DNDEBUG} -municode -mwindows -static -static-libgcc -static-libstdc++ \
    -DBARE_WIDTH="$width" -DBARE_HEIGHT="$height" -o "$W/bare.exe" "$top/scripts/measure/bare_win32.cpp"
# The same with a themed button under the pointer: under Wine, a button
# that tracks the pointer's leave polls it through a system timer.
printf '1 24 "%s"\n' "$top/app/win/VLicEnr.exe.manifest" >"$W/bare-button.rc"
x86_64-w64-mingw32-windres "$W/bare-button.rc" -O coff -o "$W/bare-button.res"
x86_64-w64-mingw32-g++-posix ${flags:--O2 -g -DNDEBUG} -municode -mwindows -static -static-libgcc -static-libstdc++ \
    -DBARE_WIDTH="$width" -DBARE_HEIGHT="$height" -DBARE_BUTTON -o "$W/bare-button.exe" \
    "$top/scripts/measure/bare_win32.cpp" "$W/bare-button.res"
cc -O2 -o "$W/mapwatch" "$top/scripts/measure/mapwatch.c" -lxcb
# The program is measured as packaged, stripped, beside its catalogue and
# panels: Wine copies an image whose sections are not page-aligned into
# memory whole, debugging information included (5 MB more resident).
mkdir -p "$W/VLicEnr"
x86_64-w64-mingw32-strip -o "$W/VLicEnr/VLicEnr.exe" "$program"
cp "$build/bin/Veltrane.vlicprod" "$build/bin/FenGen.uir" "$W/VLicEnr/"
full=$program
program=$W/VLicEnr/VLicEnr.exe
x86_64-w64-mingw32-strip -o "$W/bare-stripped.exe" "$W/bare.exe"
size_prog=$(stat -c %s "$program")
size_bare=$(stat -c %s "$W/bare-stripped.exe")
size_full=$(stat -c %s "$full")
echo "measure-wine: bare Win32 window ${width}x${height}; program $full, stripped"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# ---- start to mapped and memory, on a bare Xvfb, the wineserver running
fdfile=$W/bare-display
: >"$fdfile"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fdfile" >"$W/xvfb-bare.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
export DISPLAY=":$(tr -dc '0-9' <"$fdfile")"
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
wine_prefix
# A persistent server of this prefix: its start is no part of either figure.
"$WINE_SERVER" -w
"$WINE_SERVER" -p
server_pid=0
for p in $(pgrep wineserver); do
    tr '\0' '\n' 2>/dev/null <"/proc/$p/environ" | grep -qxF "WINEPREFIX=$WINEPREFIX" && server_pid=$p
done
cd "$W/VLicEnr"
: >"$W/start-bare" ; : >"$W/start-prog" ; : >"$W/start-button"
"$W/mapwatch" "$WINE_LOADER" "$W/bare.exe" >/dev/null 2>&1 || true   # warm the caches for both
"$W/mapwatch" "$WINE_LOADER" "$program" >/dev/null 2>&1 || true
for _ in $(seq "$runs"); do
    "$W/mapwatch" "$WINE_LOADER" "$W/bare.exe" 2>/dev/null >>"$W/start-bare"
    "$W/mapwatch" "$WINE_LOADER" "$W/bare-button.exe" 2>/dev/null >>"$W/start-button"
    "$W/mapwatch" "$WINE_LOADER" "$program" 2>/dev/null >>"$W/start-prog"
done
map_bare=$(awk '{print $1}' "$W/start-bare" | median)
map_prog=$(awk '{print $1}' "$W/start-prog" | median)
rss_bare=$(awk '{print $2}' "$W/start-bare" | median)
map_button=$(awk '{print $1}' "$W/start-button" | median)
rss_button=$(awk '{print $2}' "$W/start-button" | median)
rss_prog=$(awk '{print $2}' "$W/start-prog" | median)

# ---- at rest
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'; }
ticks() { cat /proc/"$1"/task/*/stat 2>/dev/null | awk '{ n += $14 + $15 } END { print n + 0 }'; }
hz=$(getconf CLK_TCK)
# rest <pid>: "<wake-ups/s> <CPU %> <server wake-ups/s> <server CPU %>" over $seconds s.
rest() {
    local s0 t0 v0 u0 s1 t1 v1 u1
    s0=$(switches "$1"); t0=$(ticks "$1"); v0=$(switches "$server_pid"); u0=$(ticks "$server_pid")
    sleep "$seconds"
    s1=$(switches "$1"); t1=$(ticks "$1"); v1=$(switches "$server_pid"); u1=$(ticks "$server_pid")
    awk -v s=$((s1 - s0)) -v t=$((t1 - t0)) -v v=$((v1 - v0)) -v u=$((u1 - u0)) -v d="$seconds" -v hz="$hz" \
        'BEGIN { printf "%.1f %.1f %.1f %.1f", s / d, 100 * t / (hz * d), v / d, 100 * u / (hz * d) }'
}
settle() { sleep 1; }

wine_start "$W/bare.exe"
bare_pid=$E2E_APP_PID
w=$(e2e_wait_window "^bare$" "$bare_pid")
xdotool mousemove --window "$w" $((width / 2)) $((height / 2))
settle
rest_bare=$(rest "$bare_pid")
kill "$bare_pid"

wine_start "$W/bare-button.exe"
button_pid=$E2E_APP_PID
w=$(e2e_wait_window "^bare$" "$button_pid")
e2e_move_mouse "$w" $((width / 2)) $((height / 2))
settle
rest_button=$(rest "$button_pid")
kill "$button_pid"

wine_start "$program"
pid=$E2E_APP_PID
main=$(e2e_wait_window "^Veltrane - " "$pid")
xdotool mousemove --window "$main" $((width / 2)) 4
settle
rest_main=$(rest "$pid")
xdotool windowfocus --sync "$main"
e2e_click "$main" $(e2e_ui_center ui/panels/4.ui PROD_CHOIX) >/dev/null
e2e_press c Return
xdotool key alt+t
load=$(e2e_wait_window "Logiciels et Ressources" "$pid")
xdotool mousemove --window "$load" 2 2
settle
rest_load=$(rest "$pid")
e2e_move_mouse "$load" $(e2e_ui_center ui/panels/6.ui BP_EMP)
settle
rest_emp=$(rest "$pid")

awk -v p="$size_prog" -v b="$size_bare" -v f="$size_full" 'BEGIN {
    printf "size of VLicEnr.exe as packaged: %.2f MB against %.2f MB, ratio %.1f (%.2f MB with its debugging information)\n", p / 1048576, b / 1048576, p / b, f / 1048576 }'
awk -v p="$map_prog" -v b="$map_bare" -v n="$runs" 'BEGIN {
    printf "start to main panel mapped (bare Xvfb, wineserver running, median of %d): %.0f ms against %.0f ms, ratio %.2f\n", n, p, b, p / b }'
awk -v p="$rss_prog" -v b="$rss_bare" 'BEGIN {
    printf "resident memory 1 s after start (median): %.1f MB against %.1f MB, ratio %.2f\n", p / 1024, b / 1024, p / b }'
awk -v p="$map_prog" -v b="$map_button" -v q="$rss_prog" -v c="$rss_button" 'BEGIN {
    printf "  against the bare window with the common controls 6 and a button: start %.0f ms, ratio %.2f; memory %.1f MB, ratio %.2f\n", b, p / b, c / 1024, q / c }'
echo "at rest over ${seconds} s, pointer still: wake-ups/s, CPU %, then the wineserver's wake-ups/s and CPU %:"
echo "  bare Win32 window:                         $rest_bare"
echo "  main panel, pointer inside, on nothing:    $rest_main"
echo "  downloads panel, pointer inside, nothing:  $rest_load"
echo "  downloads panel, pointer on BP_EMP:        $rest_emp"
echo "  bare window, pointer on a themed button:   $rest_button"
echo "raw start-up runs (ms kB), program: $(tr '\n' ';' <"$W/start-prog")"
echo "raw start-up runs (ms kB), bare:    $(tr '\n' ';' <"$W/start-bare")"

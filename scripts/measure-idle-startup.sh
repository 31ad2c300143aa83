#!/usr/bin/env bash
# measure-idle-startup.sh [build dir]: what the program costs against a bare
# Qt Widgets window of the main panel's size, built here in the same run
# with the same Qt and build type. Prints three figures with their raw
# numbers:
#   - wake-ups a second at rest: the context switches of all the process's
#     threads (/proc/PID/task/*/status) over 10 s, the pointer still, on
#     the main panel and on the downloads panel, pointer inside and outside
#     (Xvfb with openbox, as on a desktop); the bare window wakes 0 times,
#     so this figure is given as counts, the target being at most 5;
#   - start to main panel mapped: from the fork to the X server's MapNotify
#     of the first top-level window, on a bare Xvfb (no window manager),
#     median of several runs, as a ratio to the bare window (target 1.2);
#   - resident memory (VmRSS) one second after the start, median, as a
#     ratio (target 1.25).
# Both start-up figures are also given beside the same bare window with one
# line of text, which shows what the font database alone costs.
# A measurement, not a test: it prints and exits 0 unless something could
# not be measured. VLIC_MEASURE_RUNS (default 9) start-up runs of each
# program, VLIC_MEASURE_SECONDS (default 10) per wake-up figure;
# VLIC_MEASURE_WAKEUPS=0 measures the start-up figures only.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)
runs=${VLIC_MEASURE_RUNS:-9}
seconds=${VLIC_MEASURE_SECONDS:-10}
wakeups=${VLIC_MEASURE_WAKEUPS:-1}
program=$build/bin/VLicEnr
[ -x "$program" ] || { echo "measure: $program is not built" >&2; exit 1; }

. "$top/tests/e2e/lib.sh"
e2e_init "$build/bin" "$top"
cd "$top"

# The bare window, as wide and high as the main panel of the resource.
read -r _ _ width height < <(e2e_ui_rect ui/panels/4.ui FVLIC_ENR 2>/dev/null || echo "0 0 560 252")
cmake -S "$top/scripts/measure" -B "$E2E_WORK/bare" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DBARE_WIDTH="$width" -DBARE_HEIGHT="$height" >"$E2E_WORK/bare.log" 2>&1
cmake --build "$E2E_WORK/bare" >>"$E2E_WORK/bare.log" 2>&1 || { cat "$E2E_WORK/bare.log"; exit 1; }
bare=$E2E_WORK/bare/bare_qt
bare_text=$E2E_WORK/bare/bare_qt_text
cc -O2 -o "$E2E_WORK/mapwatch" "$top/scripts/measure/mapwatch.c" -lxcb
echo "measure: bare Qt window ${width}x${height}; program $program"

median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# ---- start to mapped and memory, on a bare Xvfb
fdfile=$E2E_WORK/bare-display
: >"$fdfile"
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$fdfile" >"$E2E_WORK/xvfb-bare.log" 2>&1 &
E2E_PIDS+=($!)
for _ in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
bare_display=":$(tr -dc '0-9' <"$fdfile")"
for _ in $(seq 50); do DISPLAY=$bare_display xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
: >"$E2E_WORK/start-bare" ; : >"$E2E_WORK/start-prog" ; : >"$E2E_WORK/start-text"
DISPLAY=$bare_display "$E2E_WORK/mapwatch" "$bare" >/dev/null 2>&1   # warm the caches for both
DISPLAY=$bare_display "$E2E_WORK/mapwatch" "$program" >/dev/null 2>&1
for _ in $(seq "$runs"); do
    DISPLAY=$bare_display "$E2E_WORK/mapwatch" "$bare" 2>/dev/null >>"$E2E_WORK/start-bare"
    DISPLAY=$bare_display "$E2E_WORK/mapwatch" "$program" 2>/dev/null >>"$E2E_WORK/start-prog"
    DISPLAY=$bare_display "$E2E_WORK/mapwatch" "$bare_text" 2>/dev/null >>"$E2E_WORK/start-text"
done
map_bare=$(awk '{print $1}' "$E2E_WORK/start-bare" | median)
map_prog=$(awk '{print $1}' "$E2E_WORK/start-prog" | median)
rss_bare=$(awk '{print $2}' "$E2E_WORK/start-bare" | median)
rss_prog=$(awk '{print $2}' "$E2E_WORK/start-prog" | median)
map_text=$(awk '{print $1}' "$E2E_WORK/start-text" | median)
rss_text=$(awk '{print $2}' "$E2E_WORK/start-text" | median)

# ---- wake-ups at rest, on Xvfb with openbox
if [ "$wakeups" != 0 ]; then
e2e_start_x >/dev/null

# Context switches of every thread of the process so far.
switches() {
    cat /proc/"$1"/task/*/status 2>/dev/null | awk '/ctxt_switches/ { n += $2 } END { print n + 0 }'
}
# wakeups <pid>: wake-ups a second over $seconds s.
wakeups() {
    local a b
    a=$(switches "$1")
    sleep "$seconds"
    b=$(switches "$1")
    awk -v d=$((b - a)) -v s="$seconds" 'BEGIN { printf "%.1f", d / s }'
}
settle() { sleep 1; }   # let what the last move set off (paints, the help box) finish

"$bare" >/dev/null 2>&1 &
bare_pid=$!
E2E_PIDS+=($bare_pid)
w=$(e2e_wait_window "^bare$" "$bare_pid")
e2e_move_mouse "$w" $((width / 2)) $((height / 2))
settle
wake_bare=$(wakeups "$bare_pid")
kill "$bare_pid"

e2e_start_app "$program"
pid=$E2E_APP_PID
main=$(e2e_wait_window "^Veltrane - " "$pid")
main_ui=ui/panels/4.ui load_ui=ui/panels/6.ui
e2e_activate "$main"
e2e_move_mouse "$main" $(e2e_ui_center $main_ui WEB)
settle
wake_main_link=$(wakeups "$pid")
e2e_move_mouse "$main" $((width / 2)) 4
settle
wake_main_in=$(wakeups "$pid")
xdotool mousemove 1270 1015
settle
wake_main_out=$(wakeups "$pid")

load=$(e2e_open_downloads "$main" "$pid")
e2e_move_mouse "$load" $(e2e_ui_center $load_ui BP_EMP)
settle
wake_load_emp=$(wakeups "$pid")
e2e_move_mouse "$load" 2 2
settle
wake_load_in=$(wakeups "$pid")
xdotool mousemove 1270 1015
settle
wake_load_out=$(wakeups "$pid")

echo "wake-ups a second at rest over ${seconds} s (target <= 5; bare Qt window: $wake_bare):"
echo "  main panel, pointer on the web link:       $wake_main_link"
echo "  main panel, pointer inside, on nothing:    $wake_main_in"
echo "  main panel, pointer outside:               $wake_main_out"
echo "  downloads panel, pointer on BP_EMP:        $wake_load_emp"
echo "  downloads panel, pointer inside, nothing:  $wake_load_in"
echo "  downloads panel, pointer outside:          $wake_load_out"
fi
awk -v p="$map_prog" -v b="$map_bare" -v n="$runs" 'BEGIN {
    printf "start to main panel mapped (bare Xvfb, median of %d): %.1f ms against %.1f ms, ratio %.2f (target <= 1.2)\n", n, p, b, p / b }'
awk -v p="$rss_prog" -v b="$rss_bare" 'BEGIN {
    printf "resident memory 1 s after start (median): %.1f MB against %.1f MB, ratio %.2f (target <= 1.25)\n", p / 1024, b / 1024, p / b }'
awk -v p="$map_prog" -v b="$map_text" -v pr="$rss_prog" -v br="$rss_text" 'BEGIN {
    printf "  beside the bare window with one line of text: %.1f ms, ratio %.2f; %.1f MB, ratio %.2f\n", b, p / b, br / 1024, pr / br }'
echo "raw start-up runs (ms kB), program:   $(tr '\n' ';' <"$E2E_WORK/start-prog")"
echo "raw start-up runs (ms kB), bare:      $(tr '\n' ';' <"$E2E_WORK/start-bare")"
echo "raw start-up runs (ms kB), with text: $(tr '\n' ';' <"$E2E_WORK/start-text")"

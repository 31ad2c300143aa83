#!/usr/bin/env bash
# measure_idle_cpu.sh [command [args...]]: how much CPU a program's panel
# loop burns while nobody touches it. Starts the command (default
# build/bin/VLicEnr) under a private Xvfb on a free display, waits for its
# window, puts the mouse over the middle of the window and leaves it there,
# then reads the process's CPU time (utime + stime of /proc/<pid>/stat) over
# 5 seconds and prints it as a percentage of one core. A measurement, not a
# test: it prints and exits 0 (the target is below 2 %).
#   scripts/measure_idle_cpu.sh build/bin/ui_probe
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
if [ $# -eq 0 ]; then set -- "$top/build/bin/VLicEnr"; fi
seconds=${VLIC_IDLE_SECONDS:-5}

display=""
for n in $(seq 120 199); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "measure_idle_cpu: no free display number" >&2; exit 1; }

xvfb_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "measure_idle_cpu: Xvfb did not start" >&2; exit 1; }

"$@" >/dev/null 2>&1 &
app_pid=$!

window=""
for _ in $(seq 100); do
  window=$(xdotool search --onlyvisible --pid "$app_pid" 2>/dev/null | tail -1 || true)
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || { echo "measure_idle_cpu: the program ended before showing a window" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "measure_idle_cpu: no window after 10 s" >&2; exit 1; }

eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 1   # let start-up work settle

# CPU ticks (utime + stime) of the process; the fields after the command
# name, which may hold blanks, start at the last ')'.
ticks() {
  local stat rest
  stat=$(cat "/proc/$app_pid/stat")
  rest=${stat##*) }
  # rest: state(3) ppid(4) ... utime is field 14, stime 15 of the whole line.
  awk '{ print $12 + $13 }' <<<"$rest"
}
hz=$(getconf CLK_TCK)
t0=$(ticks)
sleep "$seconds"
t1=$(ticks)
awk -v d=$((t1 - t0)) -v hz="$hz" -v s="$seconds" -v cmd="$*" \
  'BEGIN { printf "idle CPU of %s: %.2f %% of one core over %d s\n", cmd, 100 * d / hz / s, s }'

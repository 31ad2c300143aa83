#!/usr/bin/env bash
# measure-windows-idle.sh [program.exe [args...]]: how much CPU a Windows
# panel costs under Wine while nobody touches it, and how often it wakes.
# Starts the program (default build-windows/bin/VLicEnr.exe, from its own
# folder) in a Wine prefix of its own under a private Xvfb, waits for its
# window, puts the mouse over the middle of the window and leaves it there,
# then reads, over $VLIC_IDLE_SECONDS (10) seconds:
# - the CPU time (utime + stime) of the program, and of every process of
#   that prefix (the program, wineserver and Wine's own services), as a
#   percentage of one core;
# - the program's context switches (all its threads) a second: its
#   wake-ups at rest, each round trip to wineserver counted too.
# A measurement, not a test: it prints and exits 0 (the target: below 1 %).
#   VLIC_WINDOWS_BUILD_DIR=build-windows scripts/measure-windows-idle.sh
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build="${VLIC_WINDOWS_BUILD_DIR:-build-windows}"
case "$build" in /*) ;; *) build="$top/$build" ;; esac
if [ $# -eq 0 ]; then set -- "$build/bin/VLicEnr.exe"; fi
seconds=${VLIC_IDLE_SECONDS:-10}
loader=/usr/lib/wine/wine64
server=/usr/lib/wine/wineserver64
[ -x "$loader" ] || loader=$(command -v wine64 || command -v wine)
[ -x "$server" ] || server=$(command -v wineserver64 || command -v wineserver)
exe=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
shift
[ -f "$exe" ] || { echo "measure-windows-idle: no $exe (run scripts/build-windows.sh)" >&2; exit 1; }

display=""
for n in $(seq 120 199); do
  if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "measure-windows-idle: no free display number" >&2; exit 1; }

prefix=$(mktemp -d "${TMPDIR:-/tmp}/vlic-idle.XXXXXXXX")
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset WINEARCH
xvfb_pid="" app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  "$server" -k >/dev/null 2>&1 || true
  "$server" -w >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$prefix"
}
trap cleanup EXIT

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=$display
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || { echo "measure-windows-idle: Xvfb did not start" >&2; exit 1; }
"$loader" wineboot -i >/dev/null 2>&1

(cd "$(dirname "$exe")" && exec "$loader" "$exe" "$@" >/dev/null 2>&1) &
app_pid=$!

# The processes of this prefix (their environment names it).
prefix_pids() {
  local d
  for d in /proc/[0-9]*; do
    { tr '\0' '\n' <"$d/environ"; } 2>/dev/null | grep -qx "WINEPREFIX=$prefix" && echo "${d#/proc/}"
  done
  return 0
}
# The program's own process: the one of the prefix that runs the exe.
program_pid() {
  local p
  for p in $(prefix_pids); do
    { tr '\0' ' ' <"/proc/$p/cmdline"; } 2>/dev/null | grep -q "$(basename "$exe")" && { echo "$p"; return; }
  done
}

window=""
for _ in $(seq 300); do
  window=$(xdotool search --onlyvisible --name "Veltrane|VLicEnr" 2>/dev/null | tail -1 || true)
  [ -n "$window" ] && break
  kill -0 "$app_pid" 2>/dev/null || { echo "measure-windows-idle: the program ended before showing a window" >&2; exit 1; }
  sleep 0.1
done
[ -n "$window" ] || { echo "measure-windows-idle: no window after 30 s" >&2; exit 1; }
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2))
sleep 5   # let start-up work (also Wine's services') settle
pid=$(program_pid)
[ -n "$pid" ] || { echo "measure-windows-idle: the program's process is not found" >&2; exit 1; }

# CPU ticks (utime + stime) of the given processes; the fields after the
# command name, which may hold blanks, start at the last ')'.
ticks() {
  local p stat sum=0
  for p in "$@"; do
    stat=$(cat "/proc/$p/stat" 2>/dev/null) || continue
    stat=${stat##*) }
    sum=$((sum + $(awk '{ print $12 + $13 }' <<<"$stat")))
  done
  echo "$sum"
}
# Context switches of every thread of the program: each time it sleeps,
# in the poll's wait and in every round trip to wineserver.
switches() {
  cat /proc/"$pid"/task/*/status 2>/dev/null |
    awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { n += $2 } END { print n + 0 }'
}
hz=$(getconf CLK_TCK)
all=$(prefix_pids)
# shellcheck disable=SC2086
p0=$(ticks "$pid") a0=$(ticks $all) s0=$(switches)
sleep "$seconds"
# shellcheck disable=SC2086
p1=$(ticks "$pid") a1=$(ticks $all) s1=$(switches)
awk -v p=$((p1 - p0)) -v a=$((a1 - a0)) -v w=$((s1 - s0)) -v hz="$hz" -v s="$seconds" -v cmd="$(basename "$exe")" 'BEGIN {
  printf "idle under Wine over %d s, the mouse at rest over the panel:\n", s
  printf "  CPU of %s: %.2f %% of one core\n", cmd, 100 * p / hz / s
  printf "  CPU of its Wine prefix (the program, wineserver, Wine'"'"'s services): %.2f %% of one core\n", 100 * a / hz / s
  printf "  context switches of %s: %.1f a second\n", cmd, w / s
}'

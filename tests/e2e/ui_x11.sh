#!/usr/bin/env bash
# ui_x11.sh <bin dir> <source dir>: the run-time layer on a real X server
# (a private Xvfb), without and with a window manager (openbox):
#   - no display: InitUIRunTime fails cleanly (exit -1, no abort), the
#     headless start falls back to offscreen;
#   - the panel position reads back exactly as set (client geometry, with
#     and without window frames), centring, and DisplayPanel activating the
#     panel (keyboard focus) even without a window manager;
#   - the pointer position and the panel's mouse-move events follow real X
#     pointer motion (xdotool);
#   - Alt+letter operates a button; the window manager's close (Alt+F4)
#     commits the panel's close control.
set -uo pipefail
bin=$(cd "${1:?bin dir}" && pwd)
probe="$bin/ui_probe"
if [ ! -x "$probe" ]; then echo "ui_x11: $probe not built; nothing to check"; exit 0; fi
for tool in Xvfb xdotool xdpyinfo openbox; do
  command -v "$tool" >/dev/null || { echo "ui_x11: $tool missing (scripts/install-deps.sh)"; exit 1; }
done
cd "$bin"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

xvfb_pid="" wm_pid="" app_pid=""
cleanup() {
  for p in $app_pid $wm_pid $xvfb_pid; do kill "$p" 2>/dev/null; done
  wait 2>/dev/null
}
trap cleanup EXIT

# A private Xvfb on a display number it picks itself (-displayfd: no race
# with another server for a number). With -noreset it keeps running as a
# desktop's server does; without, it resets when its last client leaves and
# refuses the connections made during the reset, so a probe started right
# after another one has ended could find no display.
start_xvfb() {   # $1: -noreset or ""
  local fdfile t
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp $1 3>"$fdfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  for t in $(seq 100); do [ -s "$fdfile" ] && break; sleep 0.1; done
  [ -s "$fdfile" ] || { rm -f "$fdfile"; return 1; }
  export DISPLAY=":$(tr -dc '0-9' <"$fdfile")"
  rm -f "$fdfile"
  xdpyinfo >/dev/null 2>&1
}

# The windows of a process, one id a line.
windows_of() { xdotool search --pid "$1" 2>/dev/null; }

wait_window() {
  local _
  for _ in $(seq 100); do
    [ -n "$(xdotool search --onlyvisible --pid "$1" 2>/dev/null)" ] && return 0
    kill -0 "$1" 2>/dev/null || return 1
    sleep 0.1
  done
  return 1
}

# Waits up to $2 seconds for process $1 to end; its exit code in $ended_rc.
wait_end() {
  local _
  for _ in $(seq $(($2 * 10))); do
    if ! kill -0 "$1" 2>/dev/null; then wait "$1"; ended_rc=$?; return 0; fi
    sleep 0.1
  done
  return 1
}

# ---- no display
free=""
for n in $(seq 300 399); do [ -e "/tmp/.X11-unix/X$n" ] || { free=":$n"; break; }; done
out=$(env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb DISPLAY="$free" "$probe" pos 10 10 2>&1); rc=$?
[ $rc -eq 255 ] && pass "no display: exit -1" || fail "no display: exit $rc, $out"
grep -qiE "abort|could not connect" <<<"$out" && fail "no display: Qt aborted: $out"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$probe" pos 10 10 2>&1); rc=$?
[ $rc -eq 255 ] && pass "no DISPLAY at all: exit -1" || fail "no DISPLAY at all: exit $rc, $out"
out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$probe" headless 2>/dev/null); rc=$?
[ $rc -eq 0 ] && grep -q "headless 1" <<<"$out" && pass "headless start without display" || fail "headless: $rc $out"

# ---- a server that resets whenever its last client leaves (Xvfb's default):
# starts that follow each other closely meet it resetting. Each start must
# either run or end as without a display (one line, exit -1), never abort.
start_xvfb "" || { echo "ui_x11: no Xvfb could start"; exit 1; }
unset QT_QPA_PLATFORM
aborts=0 refused=0
for _ in $(seq 25); do
  err=$("$probe" quick 2>&1 >/dev/null); rc=$?
  if [ $rc -eq 0 ] && [ -z "$err" ]; then continue; fi
  if [ $rc -eq 255 ] && [ "$(wc -l <<<"$err")" -eq 1 ]; then refused=$((refused + 1)); continue; fi
  aborts=$((aborts + 1)); echo "quick start: exit $rc: $err"
done
[ $aborts -eq 0 ] && pass "resetting server: 25 quick starts, $refused refused cleanly" || fail "resetting server: $aborts bad ends"
kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null

start_xvfb -noreset || { echo "ui_x11: no Xvfb could start"; exit 1; }

check_positions() {   # $1: label
  local out
  out=$("$probe" pos 100 120 2>/dev/null)
  grep -qx "shown 100 120 1" <<<"$out" && pass "$1: position after display, active" || fail "$1: shown: $out"
  grep -qx "moved 137 143 1" <<<"$out" && pass "$1: position after a move" || fail "$1: moved: $out"
  grep -qx "second 300 420 1" <<<"$out" && pass "$1: second panel placed and active" || fail "$1: second: $out"
  grep -qx "again 100 120 1" <<<"$out" && pass "$1: hidden, moved, shown again" || fail "$1: again: $out"
  local sh sw ph pw
  read -r _ sh sw _ ph pw < <(grep '^screen' <<<"$out")
  grep -qx "centred $(( (sh - ph) / 2 )) $(( (sw - pw) / 2 )) 1" <<<"$out" && pass "$1: centred" || fail "$1: centred: $out"
}

check_mouse() {   # $1: label
  local out win
  "$probe" mouse 4 >/tmp/ui_x11_mouse.$$ 2>/dev/null &
  app_pid=$!
  wait_window "$app_pid" || { fail "$1: no window"; return; }
  sleep 0.5
  if [ "$1" = "bare" ]; then
    win=$(xdotool getwindowfocus 2>/dev/null)
  else
    win=$(xdotool getactivewindow 2>/dev/null)
  fi
  windows_of "$app_pid" | grep -qx "$win" && pass "$1: the displayed panel has the focus" || fail "$1: focus on $win, not the panel"
  xdotool mousemove 300 250; sleep 0.4
  xdotool mousemove 130 360; sleep 0.4
  wait_end "$app_pid" 8
  app_pid=""
  out=$(cat /tmp/ui_x11_mouse.$$); rm -f /tmp/ui_x11_mouse.$$
  # The panel's client area is at (100, 100).
  grep -qx "mouse 200 150" <<<"$out" && grep -qx "mouse 30 260" <<<"$out" && pass "$1: pointer position follows X" || fail "$1: mouse: $out"
  grep -qx "move 200 150" <<<"$out" && grep -qx "move 30 260" <<<"$out" && pass "$1: mouse-move events" || fail "$1: moves: $out"
}

check_key() {   # $1: label, $2: keys that must end the loop
  "$probe" loop >/dev/null 2>&1 &
  app_pid=$!
  wait_window "$app_pid" || { fail "$1: no window"; return; }
  sleep 0.5
  xdotool key "$2"
  if wait_end "$app_pid" 5; then
    [ "$ended_rc" -eq 0 ] && pass "$1: $2 commits the quit button" || fail "$1: exit $ended_rc after $2"
  else
    fail "$1: $2 did not end the loop"
    kill "$app_pid" 2>/dev/null
  fi
  app_pid=""
}

check_positions bare
check_mouse bare
check_key bare alt+q

openbox >/dev/null 2>&1 &
wm_pid=$!
sleep 1
check_positions openbox
check_mouse openbox
check_key openbox alt+q
check_key openbox alt+F4

echo "ui_x11: $failures failure(s)"
[ $failures -eq 0 ]

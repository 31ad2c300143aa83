#!/usr/bin/env bash
# The wait popup of GenUtil is drawn before GenWait returns: a program that
# calls GenWait and then works without polling (ui_probe wait) shows the
# popup's icon and message at once, and a changed message at once too, even
# a long one. It has no frame buttons.
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
probe="$E2E_BIN/ui_probe"
[ -x "$probe" ] || { e2e_log "ui_probe not built; nothing to check"; exit 0; }
e2e_start_x 1024x768x24
cd "$E2E_BIN"
"$probe" wait 3 >"$E2E_WORK/wait.out" 2>&1 &
pid=$!
E2E_PIDS+=("$pid")
win=$(e2e_wait_window "Veuillez patienter" "$pid")

# Reads the probe's output until the line comes (it sleeps right after).
await_line() {
    local t
    for t in $(seq 1 50); do
        grep -qx "$1" "$E2E_WORK/wait.out" && return 0
        sleep 0.1
    done
    return 1
}
await_line open || e2e_fail "the probe did not open the popup"
sleep 0.5
e2e_shot "$E2E_WORK/open.png" "$win"
# The panel's resource: icon at (20, 34) 32 x 32, message at (68, 12) 316 wide.
e2e_crop "$E2E_WORK/open.png" 20 34 32 32 "$E2E_WORK/icon.png"
e2e_crop "$E2E_WORK/open.png" 68 12 316 76 "$E2E_WORK/text1.png"
e2e_expect "the icon is drawn ($(e2e_colors "$E2E_WORK/icon.png") colours)" \
    [ "$(e2e_colors "$E2E_WORK/icon.png")" -gt 4 ]
e2e_expect "the message is drawn ($(e2e_colors "$E2E_WORK/text1.png") colours)" \
    [ "$(e2e_colors "$E2E_WORK/text1.png")" -gt 4 ]

await_line changed || e2e_fail "the probe did not change the message"
sleep 0.5
e2e_shot "$E2E_WORK/changed.png" "$win"
e2e_crop "$E2E_WORK/changed.png" 68 12 316 76 "$E2E_WORK/text2.png"
changed=$(e2e_diff "$E2E_WORK/text1.png" "$E2E_WORK/text2.png")
e2e_expect "the new message is drawn at once ($changed pixels changed)" [ "$changed" -gt 200 ]

# The frame: none at all, so no button to close or maximise a popup that
# only its program may close (openbox would keep a close button on any
# titled window); the popup draws its own frame line.
extents=$(xprop -id "$win" _NET_FRAME_EXTENTS 2>/dev/null)
e2e_log "frame extents: $extents"
e2e_expect "the window manager adds no frame" bash -c 'grep -q "= 0, 0, 0, 0" <<<"$1"' _ "$extents"
e2e_wait_exit "$pid" 15
e2e_expect_eq 0 "$E2E_EXIT" "exit code"
e2e_done

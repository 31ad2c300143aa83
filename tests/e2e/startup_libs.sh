#!/usr/bin/env bash
# End to end: the main panel comes up without loading what only rare
# actions need, each of which costs every start milliseconds and memory:
# GIO (document opening loads it), Qt's print support and the print module
# (printing loads them), Qt's form loader and its OpenGL libraries (the
# layer reads its panels itself).
. "$(dirname "$0")/lib.sh"
e2e_init "$@"
e2e_start_x

cd "$E2E_BIN"
e2e_start_app "$E2E_BIN/VLicEnr"
pid=$E2E_APP_PID
main=$(e2e_wait_window "^Veltrane - " "$pid")
maps=$(cat "/proc/$pid/maps")
for lib in libgio-2.0 libQt6PrintSupport libvlic_print libQt6UiTools libQt6OpenGL; do
    if grep -q "/$lib" <<<"$maps"; then e2e_fail "$lib loaded at start"; else e2e_log "ok: $lib not loaded"; fi
done
e2e_done

#!/usr/bin/env bash
# The test programs for a Windows PC: scripts/package-windows-tests.sh packs
# this build into VLicEnr-windows-tests.zip, and its run-tests.cmd, run
# under Wine's cmd from the unpacked folder, runs every test program it
# holds, all in one prefix, on a screen large enough for the DPI test's
# panels at 150 %, and prints its summary line with exit code 0; with the
# catalogue taken away a test that reads it fails, is named and counted,
# and the exit code is 1.
# Run as: bash tests_zip.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
W=$E2E_WORK
VLIC_PACKAGE_NO_BUILD=1 VLIC_WINDOWS_BUILD_DIR=$(dirname "$E2E_BIN") VLIC_DIST_DIR=$W \
    "$E2E_SRC/scripts/package-windows-tests.sh" >"$W/package.log" 2>&1 || e2e_fail "package-windows-tests.sh failed: $(tail -n 3 "$W/package.log")"
(cd "$W" && unzip -q VLicEnr-windows-tests.zip)
dir=$W/VLicEnr-tests
e2e_expect "run-tests.cmd in CR LF" bash -c '[ "$(grep -c $'"'"'\r$'"'"' "$1")" -eq "$(wc -l <"$1")" ]' _ "$dir/run-tests.cmd"
e2e_expect "the recording handler beside the tests" test -f "$dir/shell_recorder.exe"

# run-tests.cmd <tests...> in a Wine prefix and display of its own.
run_tests() {
    env -u DISPLAY VLIC_WINE_UNMANAGED=1 VLIC_WINE_SCREEN=2560x1600x24 \
        "$E2E_SRC/cmake/wine-run.sh" cmd /c "$(wine_winpath "$dir/run-tests.cmd")" "$@"
}
count=$(grep -c '^call :run ' "$dir/run-tests.cmd")
rc=0
run_tests >"$W/run.txt" 2>&1 || rc=$?
e2e_expect_eq "0 run-tests: $count passed, 0 failed" "$rc $(tr -d '\r' <"$W/run.txt" | tail -n 1)" "run-tests.cmd under wine cmd /c"
e2e_expect "a log per test" test -s "$dir/logs/toolbox_shellopen.log"

rm "$dir/Veltrane.vlicprod"
rc=0
run_tests genutil_calcul downloads_echec >"$W/run-fail.txt" 2>&1 || rc=$?
e2e_expect_eq "1 FAILED downloads_echec|run-tests: 1 passed, 1 failed" \
    "$rc $(tr -d '\r' <"$W/run-fail.txt" | sed 's/ (exit code.*//' | tail -n 2 | paste -sd'|')" \
    "a failing test counted, named, and the exit code"
e2e_done

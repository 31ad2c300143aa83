#!/usr/bin/env bash
# package-windows-tests.sh: makes dist/VLicEnr-windows-tests.zip, the Windows
# build's test programs for a Windows PC: one folder VLicEnr-tests/ holding
# every test program that ctest runs under Wine (read from ctest's own list,
# so a test added there comes along), the recording handler
# shell_recorder.exe, the files the tests read beside them (catalogue,
# versions, panel resources; those of the tests that run from another
# folder in a subfolder of that folder's name), and run-tests.cmd:
#     run-tests.cmd            runs them all, one after the other
#     run-tests.cmd A B ...    runs the tests named A, B ... only
# Each test's output goes to logs\<test>.log; a failed test is named on a
# line of its own, then one summary line "run-tests: N passed, M failed";
# the exit code is 1 when a test failed, else 0. On Windows the tests reach
# the recording handler through document opening's test seam and never
# write the PC's registry (tests/support/url_recorder_win32.cpp).
# Left out: the runs that only Wine can make (other ANSI code pages through
# a Linux locale, the seam's road forced under Wine) and the end-to-end
# scripts, which drive Wine from Linux.
# Cross-builds first (scripts/build-windows.sh) into build-windows/ or
# $VLIC_WINDOWS_BUILD_DIR; with VLIC_PACKAGE_NO_BUILD=1 it packs that build
# as it is. $VLIC_DIST_DIR replaces dist/.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VLIC_WINDOWS_BUILD_DIR:-$top/build-windows}
case $build in /*) ;; *) build=$top/$build ;; esac
[ "${VLIC_PACKAGE_NO_BUILD:-0}" = 1 ] || VLIC_WINDOWS_BUILD_DIR=$build "$top/scripts/build-windows.sh"
command -v zip >/dev/null || {
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends zip
}

stage=$(mktemp -d "${TMPDIR:-/tmp}/vlic-package-tests.XXXXXX")
trap 'rm -rf "$stage"' EXIT
out=$stage/VLicEnr-tests
mkdir "$out"
(cd "$build" && ctest --show-only=json-v1) >"$stage/tests.json"

# The tests to ship, and run-tests.cmd (CR LF, as cmd reads it).
python3 - "$stage/tests.json" "$build/bin" "$out" <<'PY'
import json, os, shutil, subprocess, sys
tests_json, bin_dir, out = sys.argv[1:]
tests = []
for t in json.load(open(tests_json))["tests"]:
    cmd = t["command"]
    if len(cmd) < 2 or not cmd[0].endswith("wine-run.sh") or not cmd[1].endswith(".exe"):
        continue
    props = {p["name"]: p["value"] for p in t.get("properties", [])}
    env = [e for e in props.get("ENVIRONMENT", []) if not e.startswith("VLIC_WINE_")]
    if env:
        continue   # a run only Wine makes (a Linux locale, a forced road)
    exe = os.path.basename(cmd[1])
    # Without their debugging information, as the program ships.
    subprocess.run(["x86_64-w64-mingw32-strip", "-o", os.path.join(out, exe), cmd[1]], check=True)
    where = props.get("WORKING_DIRECTORY", bin_dir)
    sub = "." if os.path.realpath(where) == os.path.realpath(bin_dir) else os.path.basename(where)
    if sub != ".":
        os.makedirs(os.path.join(out, sub), exist_ok=True)
        for f in os.listdir(where):
            if f.endswith(".uir"):
                shutil.copy2(os.path.join(where, f), os.path.join(out, sub))
    tests.append((t["name"], exe, sub, " ".join(cmd[2:])))
for f in os.listdir(bin_dir):
    if f.endswith((".uir", ".vlicprod", ".vlicvers")):
        shutil.copy2(os.path.join(bin_dir, f), out)
subprocess.run(["x86_64-w64-mingw32-strip", "-o", os.path.join(out, "shell_recorder.exe"),
                os.path.join(bin_dir, "shell_recorder.exe")], check=True)
lines = [
    "@echo off",
    "rem run-tests.cmd: runs the test programs of this folder (all, or those named",
    "rem on the command line), each one's output in logs\\<test>.log, and prints",
    "rem one summary line. Exit code 1 when a test failed.",
    "setlocal",
    'set "here=%~dp0"',
    'cd /d "%here%"',
    "if not exist logs mkdir logs",
    "set passed=0",
    "set failed=0",
    'set "only=%*"',
]
for name, exe, sub, args in tests:
    lines.append("call :run %s %s %s %s" % (name, exe, sub, args))
lines += [
    "echo run-tests: %passed% passed, %failed% failed",
    "if %failed% neq 0 exit /b 1",
    "exit /b 0",
    "",
    "rem :run <test> <program> <folder to run it in> [arguments...]",
    ":run",
    "set selected=1",
    "if defined only set selected=0",
    "for %%a in (%only%) do if /i \"%%a\"==\"%~1\" set selected=1",
    "if %selected%==0 goto :eof",
    'pushd "%~3"',
    '"%here%%~2" %4 %5 %6 %7 %8 %9 > "%here%logs\\%~1.log" 2>&1',
    "set code=%errorlevel%",
    "popd",
    "if %code% neq 0 goto :failed",
    "set /a passed+=1",
    "goto :eof",
    ":failed",
    "set /a failed+=1",
    "echo FAILED %~1 (exit code %code%, logs\\%~1.log)",
    "goto :eof",
]
with open(os.path.join(out, "run-tests.cmd"), "w", newline="") as f:
    f.write("".join(l + "\r\n" for l in lines))
print("package-windows-tests: %d test programs" % len(tests))
PY

dist=${VLIC_DIST_DIR:-$top/dist}
mkdir -p "$dist"
zipfile=$(cd "$dist" && pwd)/VLicEnr-windows-tests.zip
rm -f "$zipfile.tmp"
(cd "$stage" && zip -q -X -r "$zipfile.tmp" VLicEnr-tests)
mv "$zipfile.tmp" "$zipfile"
echo "package-windows-tests: $zipfile ($(stat -c %s "$zipfile") bytes)"

#!/usr/bin/env bash
# wine-e2e-soak.sh [RUNS]: runs every end-to-end test of the Windows program
# under Wine (tests/e2e/wine) RUNS times in a row (default 20), each round
# while a compile runs beside it (the Windows build's library rebuilt from
# scratch, again and again, with -j2, in a scratch folder), and prints, per
# test, how many runs passed. Exit 0 when every run of every test passed.
# A test that fails only now and then, on a busy machine, shows here.
# Needs the Windows build (scripts/build-windows.sh): build-windows/ or
# $VLIC_WINDOWS_BUILD_DIR; $VLIC_LINUX_BIN is handed on to the listings test.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VLIC_WINDOWS_BUILD_DIR:-$top/build-windows}
case $build in /*) ;; *) build=$top/$build ;; esac
runs=${1:-20}
log=$(mktemp -d "${TMPDIR:-/tmp}/vlic-wine-soak.XXXXXX")
mapfile -t tests < <(ls "$top"/tests/e2e/wine/*.sh | grep -v '/winelib\.sh$')
declare -A passed
for t in "${tests[@]}"; do passed[$t]=0; done

# The compile beside: its own scratch build, cleaned and rebuilt in a loop.
scratch=$log/compile
cmake -S "$top" -B "$scratch" -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64-x86_64.cmake" \
  -DVLIC_BUILD_TESTS=OFF >"$log/compile-configure.log" 2>&1 || { echo "soak: the compile cannot be configured ($log)"; exit 1; }
# In a process group of its own, so that it ends with all it started.
setsid bash -c 'while :; do
    cmake --build "$1" --target clean >/dev/null 2>&1
    cmake --build "$1" --target vlic -j2 >/dev/null 2>&1
  done' _ "$scratch" &
compile_pid=$!
stop_compile() {
  kill -- -"$compile_pid" 2>/dev/null
  wait "$compile_pid" 2>/dev/null
}
trap stop_compile EXIT

for i in $(seq 1 "$runs"); do
  for t in "${tests[@]}"; do
    name=$(basename "$t" .sh)
    if bash "$t" "$build/bin" "$top" >"$log/$name-$i.log" 2>&1; then
      passed[$t]=$((passed[$t] + 1)); rm -f "$log/$name-$i.log"
    else
      echo "soak: $name failed in round $i: $log/$name-$i.log"
    fi
  done
  echo "soak: round $i of $runs done ($(date +%H:%M:%S))"
done
stop_compile
trap - EXIT
bad=0
for t in "${tests[@]}"; do
  printf 'soak: %-14s %d/%d passed, a compile running beside\n' "$(basename "$t" .sh)" "${passed[$t]}" "$runs"
  [ "${passed[$t]}" -eq "$runs" ] || bad=1
done
[ $bad -eq 0 ] && rm -rf "$log"
exit $bad

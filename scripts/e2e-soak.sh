#!/usr/bin/env bash
# e2e-soak.sh [RUNS] [LOADED_RUNS]: runs every end-to-end test RUNS times in
# a row on the built tree (default 30), then LOADED_RUNS more times (default
# 10) with `stress --cpu 2` loading both cores beside it, and prints, per
# test, how many runs passed. Exit 0 when every run of every test passed.
# A flaky test shows here long before it rejects a submission at random.
# The build must exist (scripts/build.sh); build/ or $VLIC_BUILD_DIR.
set -uo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VLIC_BUILD_DIR:-$top/build}
runs=${1:-30}
loaded=${2:-10}
command -v stress >/dev/null || {
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get install -y -qq --no-install-recommends stress >/dev/null
}
log=$(mktemp -d "${TMPDIR:-/tmp}/vlic-soak.XXXXXX")
mapfile -t tests < <(cd "$build" && ctest -N -L e2e | sed -n 's/^ *Test *#[0-9]*: //p')
declare -A passed failed
for t in "${tests[@]}"; do passed[$t]=0; failed[$t]=0; done

one_round() {   # $1: round number, $2: label
  local t out
  for t in "${tests[@]}"; do
    if (cd "$build" && ctest -R "^$t\$" --output-on-failure) >"$log/$t-$1.log" 2>&1; then
      passed[$t]=$((passed[$t] + 1)); rm -f "$log/$t-$1.log"
    else
      failed[$t]=$((failed[$t] + 1)); echo "soak: $t failed in round $1 ($2): $log/$t-$1.log"
    fi
  done
}

for i in $(seq 1 "$runs"); do one_round "$i" quiet; done
if [ "$loaded" -gt 0 ]; then
  stress --cpu 2 >/dev/null 2>&1 &
  stress_pid=$!
  trap 'pkill -P $stress_pid 2>/dev/null; kill $stress_pid 2>/dev/null' EXIT
  for i in $(seq $((runs + 1)) $((runs + loaded))); do one_round "$i" "under stress --cpu 2"; done
  pkill -P "$stress_pid" 2>/dev/null; kill "$stress_pid" 2>/dev/null
fi
bad=0
for t in "${tests[@]}"; do
  printf 'soak: %-20s %d/%d passed\n' "$t" "${passed[$t]}" $((runs + loaded))
  [ "${failed[$t]}" -eq 0 ] || bad=1
done
[ $bad -eq 0 ] && rmdir "$log" 2>/dev/null
exit $bad

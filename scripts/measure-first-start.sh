#!/usr/bin/env bash
# measure-first-start.sh [REVISION]: how long a newcomer waits the first
# time: clones this repository (at REVISION, default HEAD) into a fresh
# temporary folder, installs what is missing (not timed), then times
# `./scripts/run.sh --produits` there, which builds what the first start
# needs and runs the program once (the listing needs no display and ends at
# once). ccache is switched off (CCACHE_DISABLE=1) so that nothing built
# before counts. Prints the wall-clock time and the CPU time of the build
# and start: on a machine that other work keeps busy the CPU time is the
# steadier figure. A measurement, not a test; it takes minutes.
#   nice scripts/measure-first-start.sh 63c8f15
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
rev=${1:-HEAD}
work=$(mktemp -d "${TMPDIR:-/tmp}/vlic-first-start.XXXXXX")
trap 'rm -rf "$work"' EXIT
git clone -q --no-local "$top" "$work/repo"
git -C "$work/repo" checkout -q --detach "$rev"
commit=$(git -C "$work/repo" log -1 --format='%h %s' | cut -c1-72)
"$work/repo/scripts/install-deps.sh"
export CCACHE_DISABLE=1
unset VLIC_BUILD_DIR VLIC_BUILD_TARGETS
TIMEFORMAT='%R %U %S'
{ time (cd "$work/repo" && ./scripts/run.sh --produits >"$work/produits.txt" 2>"$work/run.log"); } 2>"$work/time" \
    || { echo "measure-first-start: run.sh failed:"; tail -n 20 "$work/run.log"; exit 1; }
read -r real user sys <"$work/time"
built=$(find "$work/repo/build" -name '*.o' | wc -l)
echo "first start at $commit: $(grep -c $'^[0-9]*\t' "$work/produits.txt") products listed"
awk -v r="$real" -v u="$user" -v s="$sys" -v n="$built" -v c="$(nproc)" 'BEGIN {
    printf "  wall clock %.0f s (%.1f min), CPU %.0f s (user %.0f + sys %.0f) on %d cores; %d object files built\n",
           r, r / 60, u + s, u, s, c, n }'

#!/usr/bin/env bash
# Configures and builds into build/ (or $VLIC_BUILD_DIR): every target, or
# only those named in $VLIC_BUILD_TARGETS (blank-separated), with what they
# need. Arguments are passed on to cmake's configure step.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VLIC_BUILD_DIR:-$top/build}
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
targets=()
for t in ${VLIC_BUILD_TARGETS:-}; do targets+=(--target "$t"); done
cmake --build "$build" -j"$(nproc)" "${targets[@]}"

#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, offscreen GUI
# and end-to-end tests under Xvfb); then builds the tests of the toolbox's
# heap records (callback chaining, hyperlink control) with AddressSanitizer
# and LeakSanitizer into build-asan/ (or $VLIC_ASAN_BUILD_DIR) and runs them
# there. VLIC_SKIP_ASAN=1 leaves that step out. Last, cross-builds the
# Windows program and its tests (scripts/build-windows.sh) and runs them
# under Wine; VLIC_SKIP_WINDOWS=1 leaves that step out.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VLIC_BUILD_DIR:-$top/build}
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
(cd "$build" && ctest --output-on-failure -j2)

if [ "${VLIC_SKIP_ASAN:-0}" != 1 ]; then
  asan=${VLIC_ASAN_BUILD_DIR:-$top/build-asan}
  asan_tests=(toolbox_chain toolbox_hyperlink)
  cmake -S "$top" -B "$asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVLIC_SANITIZE=ON \
    -DVLIC_BUILD_BENCH=OFF >/dev/null
  cmake --build "$asan" -j"$(nproc)" --target "${asan_tests[@]}"
  regex="^($(IFS='|'; echo "${asan_tests[*]}"))\$"
  (cd "$asan" && ctest --output-on-failure -R "$regex")
fi

if [ "${VLIC_SKIP_WINDOWS:-0}" != 1 ]; then
  win=${VLIC_WINDOWS_BUILD_DIR:-$top/build-windows}
  VLIC_WINDOWS_BUILD_DIR=$win "$top/scripts/build-windows.sh"
  # The listings under Wine are held against the Linux program just built.
  (cd "$win" && VLIC_LINUX_BIN=$build/bin ctest --output-on-failure -j2)
fi

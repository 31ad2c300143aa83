#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test (unit, offscreen GUI
# and end-to-end tests under Xvfb).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VLIC_BUILD_DIR:-$top/build}
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
cd "$build" && ctest --output-on-failure -j2

#!/usr/bin/env bash
# Installs what is missing, builds the program and the files it needs beside
# it (catalogue, FenGen.uir; not the tests nor the benchmarks, which
# scripts/test.sh builds), and starts it with the bundled catalogue.
# Arguments are passed on to the program (for instance a product number).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
VLIC_BUILD_TARGETS=VLicEnr "$top/scripts/build.sh"
exec "${VLIC_BUILD_DIR:-$top/build}/bin/VLicEnr" "$@"

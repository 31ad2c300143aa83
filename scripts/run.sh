#!/usr/bin/env bash
# Installs what is missing, builds, and starts the program with the bundled
# catalogue. Arguments are passed on to the program (for instance a product number).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
"$top/scripts/build.sh"
exec "${VLIC_BUILD_DIR:-$top/build}/bin/VLicEnr" "$@"

#!/usr/bin/env bash
# Cross-builds the Windows program and its tests with Debian's mingw-w64 into
# build-windows/ (or $VLIC_WINDOWS_BUILD_DIR), after installing, from
# Debian's packages, whatever the cross build and Wine need and the machine
# lacks. `ctest` in that folder then runs the tests under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
packages=(
  cmake make python3
  g++-mingw-w64-x86-64-posix
  # the MSI, its signature and its winget manifests (scripts/package-windows.sh)
  zip unzip msitools wixl osslsigncode openssl
  # their tests: a SoftHSM2 token and the OpenSSL engine through which
  # osslsigncode reaches it, the manifests read as YAML
  softhsm2 libengine-pkcs11-openssl python3-yaml
  wine64
  # Wine's own Tahoma, close to Windows' (tests/e2e/wine/winelib.sh)
  fonts-wine
  xvfb
  googletest
  # the end-to-end tests under Wine: window manager, real input, screenshots
  openbox xdotool x11-utils imagemagick
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "build-windows: installing ${missing[*]}"
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
build="${VLIC_WINDOWS_BUILD_DIR:-build-windows}"
cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
cmake --build "$build" -j2

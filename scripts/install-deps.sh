#!/usr/bin/env bash
# Installs, from Debian's packages, whatever the build, the program and the
# tests need and the machine lacks. Does nothing when all is there.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev libgl-dev libxkbcommon-dev
  libglib2.0-dev libglib2.0-bin libxcb1-dev shared-mime-info
  libgtest-dev libbenchmark-dev
  xvfb xauth xdotool openbox x11-utils imagemagick poppler-utils fonts-dejavu-core
  python3 libxfixes3 dmz-cursor-theme
  # the Debian package (scripts/package-linux.sh: CPack's DEB generator runs
  # file and dpkg-shlibdeps) and its test's validators
  file dpkg-dev desktop-file-utils appstream
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"

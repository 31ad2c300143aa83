#!/usr/bin/env bash
# package-linux.sh: makes the Debian package dist/vlicenr_<VERSION>_amd64.deb
# (or into $VLIC_DIST_DIR) from the install rules of cmake/VlicPackage.cmake
# and CPack's DEB generator: the program in /usr/lib/vlicenr with the files
# it reads beside itself, the command vlicenr, the desktop entry, the
# AppStream entry, the hicolor icons, and the versions file as a conffile
# in /etc/vlicenr, where this build reads it (VLIC_ADMIN_DIR). The
# dependencies are dpkg-shlibdeps' answer for the program. Installs what is
# missing (scripts/install-deps.sh), then builds only the program and the
# package's files in build-deb/ (or $VLIC_DEB_BUILD_DIR), kept apart from
# build/, whose program reads its data beside itself.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/install-deps.sh"
build=${VLIC_DEB_BUILD_DIR:-$top/build-deb}
cmake -S "$top" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
  -DVLIC_ADMIN_DIR=/etc/vlicenr -DVLIC_BUILD_TESTS=OFF -DVLIC_BUILD_BENCH=OFF \
  -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON >/dev/null
cmake --build "$build" -j"$(nproc)" --target VLicEnr vlic_package_files
dist=${VLIC_DIST_DIR:-$top/dist}
mkdir -p "$dist"
stage=$(mktemp -d "${TMPDIR:-/tmp}/vlic-deb.XXXXXX")
trap 'rm -rf "$stage"' EXIT
(cd "$build" && cpack -G DEB -B "$stage" --config CPackConfig.cmake >"$stage/cpack.log") ||
  { cat "$stage/cpack.log" >&2; exit 1; }
deb=$(find "$stage" -maxdepth 1 -name 'vlicenr_*.deb')
mv "$deb" "$dist/"
deb=$(cd "$dist" && pwd)/$(basename "$deb")
echo "package-linux: $deb ($(stat -c %s "$deb") bytes)"

#!/usr/bin/env bash
# package-windows.sh: makes what a school receives, dist/VLicEnr-windows-x64.zip:
# one folder VLicEnr/ holding VLicEnr.exe (stripped of its debugging
# information), Veltrane.vlicprod, FenGen.uir and LISEZMOI.txt (French,
# Windows-1252 with CR LF line ends, as Notepad reads it everywhere).
# Cross-builds first (scripts/build-windows.sh, which installs what is
# missing) into build-windows/ or $VLIC_WINDOWS_BUILD_DIR; with
# VLIC_PACKAGE_NO_BUILD=1 it packs that build as it is. $VLIC_DIST_DIR
# replaces dist/. Fails, leaving no zip, when the executable needs a DLL
# that Windows does not carry.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VLIC_WINDOWS_BUILD_DIR:-$top/build-windows}
case $build in /*) ;; *) build=$top/$build ;; esac
[ "${VLIC_PACKAGE_NO_BUILD:-0}" = 1 ] || VLIC_WINDOWS_BUILD_DIR=$build "$top/scripts/build-windows.sh"
for p in zip; do
  command -v "$p" >/dev/null || {
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$p"
  }
done

bin=$build/bin
stage=$(mktemp -d "${TMPDIR:-/tmp}/vlic-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/VLicEnr"
x86_64-w64-mingw32-strip -o "$stage/VLicEnr/VLicEnr.exe" "$bin/VLicEnr.exe"
cp "$bin/Veltrane.vlicprod" "$bin/FenGen.uir" "$stage/VLicEnr/"
iconv -f UTF-8 -t WINDOWS-1252 "$top/app/win/LISEZMOI.txt" | sed 's/$/\r/' >"$stage/VLicEnr/LISEZMOI.txt"

# Only the DLLs of Windows itself: the C and C++ run-times are linked in.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|winspool\.drv|msvcrt|windowscodecs|uxtheme|shlwapi|ws2_32|imm32|version)(\.dll)?$'
while read -r dll; do
  if ! grep -qiE "$system_dlls" <<<"$dll"; then
    echo "package-windows: VLicEnr.exe needs $dll, which Windows does not carry" >&2
    exit 1
  fi
done < <(x86_64-w64-mingw32-objdump -p "$stage/VLicEnr/VLicEnr.exe" | sed -n 's/^\s*DLL Name: //p')

dist=${VLIC_DIST_DIR:-$top/dist}
mkdir -p "$dist"
zipfile=$(cd "$dist" && pwd)/VLicEnr-windows-x64.zip
rm -f "$zipfile.tmp"
(cd "$stage" && zip -q -X -r "$zipfile.tmp" VLicEnr)
mv "$zipfile.tmp" "$zipfile"
echo "package-windows: $zipfile"
unzip -l "$zipfile"

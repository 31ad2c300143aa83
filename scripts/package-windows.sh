#!/usr/bin/env bash
# package-windows.sh: makes what a school receives, dist/VLicEnr-windows-x64.zip
# (one folder VLicEnr/) and dist/VLicEnr-x64.msi (per machine, into Program
# Files\Veltrane\VLicEnr, app/win/VLicEnr.wxs), both holding the files of
# the list `shipped` below: VLicEnr.exe and its console launcher VLicEnr.com
# (both stripped of their debugging information), Veltrane.vlicprod, Veltrane.vlicvers, FenGen.uir and
# LISEZMOI.txt (French, Windows-1252 with CR LF line ends, as Notepad reads
# it everywhere, its @VERSION@ replaced). The version is the file VERSION's,
# or $VLIC_PACKAGE_VERSION (to try an upgrade). With VLIC_SIGN_PKCS12 (a
# PKCS#12 code-signing certificate) and VLIC_SIGN_PASSWORD_FILE (its
# password), and optionally VLIC_SIGN_TIMESTAMP_URL (an RFC 3161 time-stamp
# server), the executables, then the MSI, are signed with osslsigncode;
# without them everything is built unsigned, said in one line.
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
for p in zip wixl osslsigncode; do
  command -v "$p" >/dev/null || {
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "$p"
  }
done

bin=$build/bin
version=${VLIC_PACKAGE_VERSION:-$(head -n 1 "$top/VERSION")}
# The files a school receives, in the zip's folder and in the MSI's
# installation folder alike: add a file here and both carry it.
shipped=(VLicEnr.exe VLicEnr.com Veltrane.vlicprod Veltrane.vlicvers FenGen.uir LISEZMOI.txt)
stage=$(mktemp -d "${TMPDIR:-/tmp}/vlic-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/VLicEnr"
for f in "${shipped[@]}"; do
  case $f in
    *.exe|*.com) x86_64-w64-mingw32-strip -o "$stage/VLicEnr/$f" "$bin/$f" ;;
    LISEZMOI.txt) sed "s/@VERSION@/$version/" "$top/app/win/LISEZMOI.txt" | iconv -f UTF-8 -t WINDOWS-1252 |
                    sed 's/$/\r/' >"$stage/VLicEnr/$f" ;;
    *) cp "$bin/$f" "$stage/VLicEnr/$f" ;;
  esac
done

# sign <in> <out>: signs with the maker's certificate.
sign() {
  local ts=()
  [ -z "${VLIC_SIGN_TIMESTAMP_URL:-}" ] || ts=(-ts "$VLIC_SIGN_TIMESTAMP_URL")
  osslsigncode sign -pkcs12 "$VLIC_SIGN_PKCS12" -readpass "$VLIC_SIGN_PASSWORD_FILE" -h sha256 \
    -n "VLicEnr - Téléchargements Veltrane" -i https://www.veltrane.fr/ "${ts[@]}" -in "$1" -out "$2" >/dev/null
}
signing=0
if [ -n "${VLIC_SIGN_PKCS12:-}" ]; then
  [ -r "$VLIC_SIGN_PKCS12" ] && [ -r "${VLIC_SIGN_PASSWORD_FILE:-}" ] || {
    echo "package-windows: VLIC_SIGN_PKCS12 and VLIC_SIGN_PASSWORD_FILE must name readable files" >&2; exit 1; }
  signing=1
  for f in "${shipped[@]}"; do
    case $f in *.exe|*.com)
      sign "$stage/VLicEnr/$f" "$stage/$f.signed" && mv "$stage/$f.signed" "$stage/VLicEnr/$f" ;;
    esac
  done
else
  echo "package-windows: no code-signing certificate (VLIC_SIGN_PKCS12): VLicEnr.exe, VLicEnr.com and the MSI are unsigned"
fi

# Only the DLLs of Windows itself: the C and C++ run-times are linked in.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|winspool\.drv|msvcrt|windowscodecs|uxtheme|shlwapi|ws2_32|imm32|version)(\.dll)?$'
while read -r dll; do
  if ! grep -qiE "$system_dlls" <<<"$dll"; then
    echo "package-windows: VLicEnr.exe or VLicEnr.com needs $dll, which Windows does not carry" >&2
    exit 1
  fi
done < <(for f in VLicEnr.exe VLicEnr.com; do x86_64-w64-mingw32-objdump -p "$stage/VLicEnr/$f"; done | sed -n 's/^\s*DLL Name: //p')

dist=${VLIC_DIST_DIR:-$top/dist}
mkdir -p "$dist"
zipfile=$(cd "$dist" && pwd)/VLicEnr-windows-x64.zip
rm -f "$zipfile.tmp"
(cd "$stage" && zip -q -X -r "$zipfile.tmp" VLicEnr)
mv "$zipfile.tmp" "$zipfile"
echo "package-windows: $zipfile"
unzip -l "$zipfile"

# The MSI: one component a shipped file, in the installation folder.
{
  echo '<?xml version="1.0" encoding="utf-8"?>'
  echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi"><Fragment>'
  echo '<DirectoryRef Id="INSTALLDIR">'
  i=0
  for f in "${shipped[@]}"; do
    i=$((i + 1))
    echo "<Component Id=\"C$i\" Guid=\"*\" Win64=\"yes\"><File Id=\"F$i\" Name=\"$f\" Source=\"VLicEnr/$f\" KeyPath=\"yes\"/></Component>"
  done
  echo '</DirectoryRef><ComponentGroup Id="VLicFichiers">'
  for j in $(seq 1 "$i"); do echo "<ComponentRef Id=\"C$j\"/>"; done
  echo '</ComponentGroup></Fragment></Wix>'
} >"$stage/files.wxs"
msi=$(cd "$dist" && pwd)/VLicEnr-x64.msi
rm -f "$msi.tmp"
# wixl finds the sources only by paths relative to the folder it runs in.
cp "$top/app/win/VLicEnr.ico" "$top/app/win/VLicEnr.wxs" "$stage/"
(cd "$stage" && wixl -a x64 -D Version="$version" -D IconFile=VLicEnr.ico -o "$msi.tmp" VLicEnr.wxs files.wxs)
if [ $signing = 1 ]; then sign "$msi.tmp" "$msi.signed" && mv "$msi.signed" "$msi.tmp"; fi
mv "$msi.tmp" "$msi"
echo "package-windows: $msi ($(stat -c %s "$msi") bytes, version $version)"

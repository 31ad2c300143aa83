#!/usr/bin/env bash
# package-windows.sh: makes what a school receives, dist/VLicEnr-windows-x64.zip
# (one folder VLicEnr/) and dist/VLicEnr-x64.msi (per machine, into Program
# Files\Veltrane\VLicEnr, app/win/VLicEnr.wxs), both holding the files of
# the list `shipped` below: VLicEnr.exe and its console launcher VLicEnr.com
# (both stripped of their debugging information), Veltrane.vlicprod,
# FenGen.uir and LISEZMOI.txt (French, Windows-1252 with CR LF line ends, as
# Notepad reads it everywhere, its @VERSION@ and @PRODUCTCODE@ replaced);
# and the winget manifests of that MSI in dist/winget/. The version is the
# file VERSION's, or $VLIC_PACKAGE_VERSION (to try an upgrade).
# $VLIC_DIST_DIR replaces dist/. Nothing is put there unless all of it was
# made.
#
# Signing, with osslsigncode (SHA-256), of VLicEnr.exe and VLicEnr.com
# before they are packed, then of the MSI; either
#   - a key on a token or HSM: VLIC_SIGN_PKCS11_MODULE (the PKCS#11 module),
#     VLIC_SIGN_PKCS11_KEY (the key's PKCS#11 URI) and VLIC_SIGN_CERTS (the
#     PEM certificate chain), the token's PIN in the URI (pin-value), in
#     VLIC_SIGN_PASSWORD_FILE, or asked by the module;
#   - or a PKCS#12 file: VLIC_SIGN_PKCS12 and VLIC_SIGN_PASSWORD_FILE.
# With VLIC_SIGN_TIMESTAMP_URL (an RFC 3161 time-stamp authority) each
# signature carries a time-stamp. Without a key everything is built
# unsigned, said in one line; a release (VLIC_RELEASE=1) refuses to be made
# unsigned or without a time-stamp.
#
# Cross-builds first (scripts/build-windows.sh, which installs what is
# missing) into build-windows/ or $VLIC_WINDOWS_BUILD_DIR; with
# VLIC_PACKAGE_NO_BUILD=1 it packs that build as it is. Fails when the
# executables need a DLL that Windows does not carry.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
fail() { echo "package-windows: $*" >&2; exit 1; }

signing=()
if [ -n "${VLIC_SIGN_PKCS11_MODULE:-}" ] && [ -n "${VLIC_SIGN_PKCS12:-}" ]; then
  fail "VLIC_SIGN_PKCS11_MODULE and VLIC_SIGN_PKCS12 name two keys: give one"
elif [ -n "${VLIC_SIGN_PKCS11_MODULE:-}" ]; then
  [ -r "$VLIC_SIGN_PKCS11_MODULE" ] && [ -n "${VLIC_SIGN_PKCS11_KEY:-}" ] && [ -r "${VLIC_SIGN_CERTS:-}" ] ||
    fail "VLIC_SIGN_PKCS11_MODULE and VLIC_SIGN_CERTS must name readable files, VLIC_SIGN_PKCS11_KEY the key's URI"
  signing=(-pkcs11module "$VLIC_SIGN_PKCS11_MODULE" -key "$VLIC_SIGN_PKCS11_KEY" -certs "$VLIC_SIGN_CERTS")
  [ -z "${VLIC_SIGN_PASSWORD_FILE:-}" ] || signing+=(-readpass "$VLIC_SIGN_PASSWORD_FILE")
elif [ -n "${VLIC_SIGN_PKCS12:-}" ]; then
  [ -r "$VLIC_SIGN_PKCS12" ] && [ -r "${VLIC_SIGN_PASSWORD_FILE:-}" ] ||
    fail "VLIC_SIGN_PKCS12 and VLIC_SIGN_PASSWORD_FILE must name readable files"
  signing=(-pkcs12 "$VLIC_SIGN_PKCS12" -readpass "$VLIC_SIGN_PASSWORD_FILE")
fi
if [ "${VLIC_RELEASE:-0}" = 1 ]; then
  [ ${#signing[@]} -gt 0 ] || fail "a release (VLIC_RELEASE=1) is signed: give a key (VLIC_SIGN_PKCS11_* or VLIC_SIGN_PKCS12)"
  [ -n "${VLIC_SIGN_TIMESTAMP_URL:-}" ] || fail "a release (VLIC_RELEASE=1) is time-stamped: give VLIC_SIGN_TIMESTAMP_URL"
fi
[ ${#signing[@]} -eq 0 ] || [ -z "${VLIC_SIGN_TIMESTAMP_URL:-}" ] || signing+=(-ts "$VLIC_SIGN_TIMESTAMP_URL")

build=${VLIC_WINDOWS_BUILD_DIR:-$top/build-windows}
case $build in /*) ;; *) build=$top/$build ;; esac
[ "${VLIC_PACKAGE_NO_BUILD:-0}" = 1 ] || VLIC_WINDOWS_BUILD_DIR=$build "$top/scripts/build-windows.sh"
# Each command, and the package that has it.
for need in zip:zip unzip:unzip wixl:wixl msibuild:msitools osslsigncode:osslsigncode python3:python3; do
  command -v "${need%:*}" >/dev/null || {
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo=sudo
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${need#*:}"
  }
done

bin=$build/bin
version=${VLIC_PACKAGE_VERSION:-$(head -n 1 "$top/VERSION")}
name="VLicEnr - Téléchargements Veltrane"   # as app/win/VLicEnr.wxs names the product
# The files a school receives, in the zip's folder and in the MSI's
# installation folder alike: add a file here and both carry it. The
# versions file Veltrane.vlicvers is none of them: the program carries the
# same versions built in, and a file beside it is the school's own, which
# an upgrade, a repair or a reinstall of a package that does not own it
# never replaces or removes.
shipped=(VLicEnr.exe VLicEnr.com Veltrane.vlicprod FenGen.uir LISEZMOI.txt)
# The MSI's ProductCode is a name-based UUID of the UpgradeCode and the
# version.
upgrade_code=$(sed -n 's/.*UpgradeCode="\({[0-9A-F-]*}\)".*/\1/p' "$top/app/win/VLicEnr.wxs")
[ -n "$upgrade_code" ] || fail "no UpgradeCode in app/win/VLicEnr.wxs"
product_code=$(python3 -c 'import sys, uuid; print("{%s}" % str(uuid.uuid5(uuid.UUID(sys.argv[1]), "VLicEnr " + sys.argv[2])).upper())' \
  "$upgrade_code" "$version")
stage=$(mktemp -d "${TMPDIR:-/tmp}/vlic-package.XXXXXX")
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/VLicEnr" "$stage/out"
for f in "${shipped[@]}"; do
  case $f in
    *.exe|*.com) x86_64-w64-mingw32-strip -o "$stage/VLicEnr/$f" "$bin/$f" ;;
    LISEZMOI.txt) sed "s/@VERSION@/$version/g; s/@PRODUCTCODE@/$product_code/g" "$top/app/win/LISEZMOI.txt" | iconv -f UTF-8 -t WINDOWS-1252 |
                    sed 's/$/\r/' >"$stage/VLicEnr/$f" ;;
    *) cp "$bin/$f" "$stage/VLicEnr/$f" ;;
  esac
done

# sign <file>: signs it in place; a release checks that the signature
# carries its time-stamp.
sign() {
  osslsigncode sign "${signing[@]}" -h sha256 -n "$name" -i https://www.veltrane.fr/ \
    -in "$1" -out "$1.signed" >"$stage/sign.log" 2>&1 || { cat "$stage/sign.log" >&2; fail "signing $(basename "$1") failed"; }
  mv "$1.signed" "$1"
  if [ "${VLIC_RELEASE:-0}" = 1 ]; then
    # Verified without the maker's authority: only the time-stamp is looked at.
    osslsigncode verify -in "$1" >"$stage/verify.log" 2>&1 || true
    grep -q 'Timestamp time:' "$stage/verify.log" || fail "$(basename "$1")'s signature carries no time-stamp"
  fi
}
if [ ${#signing[@]} -gt 0 ]; then
  for f in "${shipped[@]}"; do
    case $f in *.exe|*.com) sign "$stage/VLicEnr/$f" ;; esac
  done
else
  echo "package-windows: no code-signing key (VLIC_SIGN_PKCS11_* or VLIC_SIGN_PKCS12): VLicEnr.exe, VLicEnr.com and the MSI are unsigned"
fi

# Only the DLLs of Windows itself: the C and C++ run-times are linked in.
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|ole32|oleaut32|advapi32|winspool\.drv|msvcrt|windowscodecs|uxtheme|shlwapi|ws2_32|imm32|version)(\.dll)?$'
while read -r dll; do
  grep -qiE "$system_dlls" <<<"$dll" || fail "VLicEnr.exe or VLicEnr.com needs $dll, which Windows does not carry"
done < <(for f in VLicEnr.exe VLicEnr.com; do x86_64-w64-mingw32-objdump -p "$stage/VLicEnr/$f"; done | sed -n 's/^\s*DLL Name: //p')

(cd "$stage" && zip -q -X -r out/VLicEnr-windows-x64.zip VLicEnr)

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
# wixl finds the sources only by paths relative to the folder it runs in.
cp "$top/app/win/VLicEnr.ico" "$top/app/win/VLicEnr.wxs" "$stage/"
(cd "$stage" && wixl -a x64 -D Version="$version" -D ProductCode="$product_code" -D IconFile=VLicEnr.ico \
  -o out/VLicEnr-x64.msi VLicEnr.wxs files.wxs)
# What wixl 0.101 writes wrong, mended in the database: the summary's
# language (1033 whatever Package/@Languages says; French here, 1036, the
# language of every text of the MSI) and HKMU, written as root 4 where
# Windows Installer knows -1 (HKLM in this per-machine installation).
summary() { msiinfo suminfo "$stage/out/VLicEnr-x64.msi" | sed -n "s/^$1: //p"; }
template=$(summary Template)
msibuild "$stage/out/VLicEnr-x64.msi" -s "$(summary Subject)" "$(summary Author)" "${template%%;*};1036" \
  "$(summary 'Revision number (UUID)')"
msibuild "$stage/out/VLicEnr-x64.msi" -q 'UPDATE `Registry` SET `Root` = -1 WHERE `Root` = 4'
[ ${#signing[@]} -eq 0 ] || sign "$stage/out/VLicEnr-x64.msi"

# The winget manifests of this MSI, to be published at $installer_url.
manifest_version=1.12.0
installer_url=https://www.veltrane.fr/telecharger/VLicEnr/$version/VLicEnr-x64.msi
sha256=$(sha256sum "$stage/out/VLicEnr-x64.msi" | cut -d' ' -f1 | tr a-f A-F)
mkdir "$stage/out/winget"
# manifest <type>: the schema line and the fields every manifest starts with.
manifest() {
  echo "# yaml-language-server: \$schema=https://aka.ms/winget-manifest.$1.$manifest_version.schema.json"
  echo
  echo "PackageIdentifier: Veltrane.VLicEnr"
  echo "PackageVersion: $version"
}
{
  manifest version
  echo "DefaultLocale: fr-FR"
  echo "ManifestType: version"
  echo "ManifestVersion: $manifest_version"
} >"$stage/out/winget/Veltrane.VLicEnr.yaml"
{
  manifest defaultLocale
  cat <<EOF
PackageLocale: fr-FR
Publisher: Veltrane
PublisherUrl: https://www.veltrane.fr/
PackageName: $name
PackageUrl: https://www.veltrane.fr/
License: Propriétaire, gratuit pour les établissements équipés de produits Veltrane
Copyright: Veltrane
ShortDescription: Logiciels, manuels, ressources et pilotes des produits pédagogiques Veltrane
Description: |-
  VLicEnr est l'utilitaire que Veltrane fournit aux établissements qui possèdent ses systèmes
  pédagogiques. On y choisit un produit ; une page de boutons télécharge, par le navigateur par
  défaut, ses logiciels, leurs manuels, ses dossiers et les pilotes dont il a besoin.
Moniker: vlicenr
Tags:
- education
- pilotes
- veltrane
ManifestType: defaultLocale
ManifestVersion: $manifest_version
EOF
} >"$stage/out/winget/Veltrane.VLicEnr.locale.fr-FR.yaml"
{
  manifest installer
  cat <<EOF
InstallerLocale: fr-FR
MinimumOSVersion: 10.0.0.0
InstallerType: wix
Scope: machine
InstallModes:
- silent
- silentWithProgress
UpgradeBehavior: install
ProductCode: '$product_code'
AppsAndFeaturesEntries:
- DisplayName: $name
  Publisher: Veltrane
  DisplayVersion: $version
  ProductCode: '$product_code'
  UpgradeCode: '$upgrade_code'
Installers:
- Architecture: x64
  InstallerUrl: $installer_url
  InstallerSha256: $sha256
ManifestType: installer
ManifestVersion: $manifest_version
EOF
} >"$stage/out/winget/Veltrane.VLicEnr.installer.yaml"

dist=${VLIC_DIST_DIR:-$top/dist}
mkdir -p "$dist"
dist=$(cd "$dist" && pwd)
rm -rf "$dist/winget"
mv "$stage/out/winget" "$stage/out/VLicEnr-windows-x64.zip" "$stage/out/VLicEnr-x64.msi" "$dist/"
echo "package-windows: $dist/VLicEnr-windows-x64.zip ($(stat -c %s "$dist/VLicEnr-windows-x64.zip") bytes)"
unzip -l "$dist/VLicEnr-windows-x64.zip"
echo "package-windows: $dist/VLicEnr-x64.msi ($(stat -c %s "$dist/VLicEnr-x64.msi") bytes, version $version, ProductCode $product_code)"
echo "package-windows: $dist/winget/ (InstallerUrl $installer_url)"

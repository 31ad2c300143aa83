#!/usr/bin/env bash
# What a school receives: scripts/package-windows.sh packs this build into
# VLicEnr-windows-x64.zip, holding VLicEnr/ with the program and its console
# launcher, the catalogue, FenGen.uir and LISEZMOI.txt (Windows-1252, CR LF,
# the MSI's ProductCode in it) and nothing else (no versions file: the
# program carries its own), signed here with a throw-away PKCS#12 certificate,
# the winget manifest giving the signed MSI's SHA-256; GenDemo.exe stays
# out. The program carries its icon, version and manifest (common controls
# 6, per-monitor DPI awareness), needs no DLL beyond Windows' own, and runs
# from the unpacked folder under Wine.
# Run as: bash package.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
W=$E2E_WORK
# A throw-away authority and a code-signing certificate it issued.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=VLic test CA" \
    -keyout "$W/ca.key" -out "$W/ca.crt" >/dev/null 2>&1 || e2e_fail "no test authority"
openssl req -newkey rsa:2048 -nodes -subj "/CN=Veltrane test" -keyout "$W/code.key" -out "$W/code.csr" >/dev/null 2>&1
printf 'basicConstraints=CA:FALSE\nkeyUsage=digitalSignature\nextendedKeyUsage=codeSigning\n' >"$W/ext.cnf"
openssl x509 -req -in "$W/code.csr" -CA "$W/ca.crt" -CAkey "$W/ca.key" -CAcreateserial -days 2 \
    -extfile "$W/ext.cnf" -out "$W/code.crt" >/dev/null 2>&1 || e2e_fail "no test certificate"
echo "secret" >"$W/pass.txt"
openssl pkcs12 -export -inkey "$W/code.key" -in "$W/code.crt" -passout file:"$W/pass.txt" -out "$W/code.p12"
export VLIC_SIGN_PKCS12=$W/code.p12 VLIC_SIGN_PASSWORD_FILE=$W/pass.txt
VLIC_PACKAGE_NO_BUILD=1 VLIC_WINDOWS_BUILD_DIR=$(dirname "$E2E_BIN") VLIC_DIST_DIR=$W \
    "$E2E_SRC/scripts/package-windows.sh" >"$W/package.log" 2>&1 || e2e_fail "package-windows.sh failed: $(tail -n 3 "$W/package.log")"
zip=$W/VLicEnr-windows-x64.zip
e2e_expect_eq "VLicEnr/ VLicEnr/FenGen.uir VLicEnr/LISEZMOI.txt VLicEnr/VLicEnr.com VLicEnr/VLicEnr.exe VLicEnr/Veltrane.vlicprod" \
    "$(unzip -Z1 "$zip" | sort | tr '\n' ' ' | sed 's/ $//')" "the zip's content"
mkdir "$W/unpacked"
(cd "$W/unpacked" && unzip -q "$zip")
dir=$W/unpacked/VLicEnr

e2e_expect "LISEZMOI.txt in Windows-1252 (é as one byte)" grep -q $'T\xe9l\xe9chargements' "$dir/LISEZMOI.txt"
e2e_expect "LISEZMOI.txt with CR LF line ends" bash -c \
    '[ "$(grep -c $'"'"'\r$'"'"' "$1")" -eq "$(wc -l <"$1")" ]' _ "$dir/LISEZMOI.txt"
e2e_expect "LISEZMOI.txt gives the version" grep -q "^Version $(head -n 1 "$E2E_SRC/VERSION")"$'\r' "$dir/LISEZMOI.txt"
product_code=$(msiinfo export "$W/VLicEnr-x64.msi" Property | tr -d '\r' | sed -n 's/^ProductCode\t//p')
e2e_expect "LISEZMOI.txt gives the uninstall command line with the ProductCode" \
    grep -qF "msiexec /x $product_code /qn /norestart /l*v " "$dir/LISEZMOI.txt"
for f in "$dir/VLicEnr.exe" "$dir/VLicEnr.com" "$W/VLicEnr-x64.msi"; do
    osslsigncode verify -CAfile "$W/ca.crt" -in "$f" >"$W/verify.log" 2>&1
    e2e_expect "$(basename "$f") signed by the test authority: $(grep -m1 -E 'Succeeded|Failed' "$W/verify.log")" \
        grep -q '^Succeeded' "$W/verify.log"
done
e2e_expect "the winget installer manifest gives the signed MSI's SHA-256" grep -qx \
    "  InstallerSha256: $(sha256sum "$W/VLicEnr-x64.msi" | cut -d' ' -f1 | tr a-f A-F)" "$W/winget/Veltrane.VLicEnr.installer.yaml"
cp "$dir/VLicEnr.exe" "$W/changed.exe"
printf '\x55' | dd of="$W/changed.exe" bs=1 seek=4096 conv=notrunc 2>/dev/null
cmp -s "$dir/VLicEnr.exe" "$W/changed.exe" || true
e2e_expect "a changed byte fails the signature" bash -c '! osslsigncode verify -CAfile "$1" -in "$2" >/dev/null 2>&1' _ "$W/ca.crt" "$W/changed.exe"
e2e_expect "the catalogue as built" cmp "$E2E_BIN/Veltrane.vlicprod" "$dir/Veltrane.vlicprod"

x86_64-w64-mingw32-windres -i "$dir/VLicEnr.exe" -O rc >"$W/resources.rc" 2>/dev/null
e2e_expect "an icon" grep -q 'RT_GROUP_ICON' "$W/resources.rc"
e2e_expect "a version" grep -q 'VALUE "FileVersion", "1\.0\.0\.0"' "$W/resources.rc"
e2e_expect "a manifest" grep -q 'RT_MANIFEST' "$W/resources.rc"
e2e_expect "the manifest asks for the common controls 6" grep -qa 'Microsoft.Windows.Common-Controls" version="6.0.0.0"' "$dir/VLicEnr.exe"
e2e_expect "the manifest declares per-monitor DPI awareness" grep -qa '<dpiAwareness[^>]*>PerMonitorV2' "$dir/VLicEnr.exe"
e2e_expect "the panels travel inside" grep -q '"FVLICENR.UIR" "UIRFILETYPE"' "$W/resources.rc"
x86_64-w64-mingw32-objdump -p "$dir/VLicEnr.exe" | sed -n 's/^\s*DLL Name: //p' >"$W/dlls.txt"
e2e_expect "no DLL of the C or C++ run-times ($(tr '\n' ' ' <"$W/dlls.txt"))" \
    bash -c '! grep -qiE "libstdc|libgcc|pthread|ucrtbase|vcruntime|msvcp" "$1"' _ "$W/dlls.txt"

e2e_start_x
wine_prefix
cd "$W"
rc=0
wine_run "$dir/VLicEnr.exe" --produits >"$W/produits.txt" 2>&1 || rc=$?
e2e_expect_eq 0 "$rc" "the unpacked, signed program runs"
e2e_expect_eq 41 "$(wc -l <"$W/produits.txt")" "products it lists from its own folder"
e2e_done

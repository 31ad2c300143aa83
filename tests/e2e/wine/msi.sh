#!/usr/bin/env bash
# The MSI as a school's IT service uses it, under Wine: a silent install
# puts every shipped file into Program Files\Veltrane\VLicEnr and the
# program starts from its Start menu shortcut to its main panel; a versions
# file dropped beside the installed program changes an address; an MSI of a
# higher version replaces it (one installed copy, the newer files), an
# older one is refused over it; a silent uninstall removes the files, the
# shortcut and the uninstall entry. Prints the install and uninstall times.
# Run as: bash msi.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
W=$E2E_WORK
version=$(head -n 1 "$E2E_SRC/VERSION")
newer=${version%.*}.$((${version##*.} + 1))
for v in "$version" "$newer"; do
    mkdir -p "$W/$v"
    VLIC_PACKAGE_NO_BUILD=1 VLIC_WINDOWS_BUILD_DIR=$(dirname "$E2E_BIN") VLIC_DIST_DIR=$W/$v VLIC_PACKAGE_VERSION=$v \
        "$E2E_SRC/scripts/package-windows.sh" >"$W/package-$v.log" 2>&1 || e2e_fail "package-windows.sh $v failed"
done
e2e_start_x
wine_prefix
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
msi() { local s=$(date +%s%N); "$WINE_LOADER" msiexec "$1" "$(wine_winpath "$2")" /qn; local rc=$?
        e2e_log "msiexec $1 $(basename "$(dirname "$2")"): exit $rc in $(( ($(date +%s%N) - s) / 1000000 )) ms"; return $rc; }
installed=$WINEPREFIX/drive_c/Program\ Files/Veltrane/VLicEnr
uninstall_entries() {
    "$WINE_LOADER" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        grep -ac 'DisplayName.*VLicEnr' || true
}
shortcuts() { find "$WINEPREFIX/drive_c" -name 'Veltrane - T*chargements.lnk' 2>/dev/null; }

msi /i "$W/$version/VLicEnr-x64.msi"
e2e_expect_eq "$(unzip -Z1 "$W/$version/VLicEnr-windows-x64.zip" | sed -n 's|^VLicEnr/\(.\)|\1|p' | sort | tr '\n' ' ')" \
    "$(ls "$installed" | sort | tr '\n' ' ')" "the installed files are the zip's"
e2e_expect_eq 1 "$(uninstall_entries)" "one uninstall entry"
lnk=$(shortcuts | head -n 1)
e2e_expect "a Start menu shortcut" test -n "$lnk"
"$WINE_LOADER" start /unix "$lnk" >/dev/null 2>&1 &
main=$(e2e_wait_window "^Veltrane - " "" 30)
e2e_expect "the main panel from the shortcut" test -n "$main"
"$WINE_LOADER" taskkill /im VLicEnr.exe /f >/dev/null 2>&1 || true

# A versions file beside the installed program changes product 170's EMP.
sed -i 's/^170\t[^\t]*\t/170\t2.3\t/' "$installed/Veltrane.vlicvers"
(cd "$installed" && wine_run VLicEnr.exe --adresses 170 >"$W/adresses.txt" 2>&1)
e2e_expect "the EMP address follows the file" grep -q '_EMP_V2-3\.zip' "$W/adresses.txt"

msi /i "$W/$newer/VLicEnr-x64.msi"
e2e_expect_eq 1 "$(uninstall_entries)" "one uninstall entry after the upgrade"
e2e_expect "the newer files" grep -q "^Version $newer" "$installed/LISEZMOI.txt"
e2e_expect_eq 1 "$(find "$WINEPREFIX/drive_c" -name VLicEnr.exe | wc -l)" "one installed copy"
e2e_expect "an older MSI is refused over a newer one" bash -c '! "$0" msiexec /i "$1" /qn' "$WINE_LOADER" "$(wine_winpath "$W/$version/VLicEnr-x64.msi")"
e2e_expect "the newer one stays" grep -q "^Version $newer" "$installed/LISEZMOI.txt"

msi /x "$W/$newer/VLicEnr-x64.msi"
e2e_expect_eq 0 "$(ls "$installed" 2>/dev/null | wc -l)" "no file left"
e2e_expect_eq "" "$(shortcuts)" "no shortcut left"
e2e_expect_eq 0 "$(uninstall_entries)" "no uninstall entry left"
e2e_done

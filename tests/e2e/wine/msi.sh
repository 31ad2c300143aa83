#!/usr/bin/env bash
# The MSI as a school's IT service uses it. Its tables (msitools): the
# summary's language is French (1036); the Start menu shortcut's component
# is kept by a registry value of its own under HKCU or HKMU (ICE43); the
# versions file is none of its files; two builds of one version have one
# ProductCode, another version another. Then under Wine: a silent install
# puts every shipped file into Program Files\Veltrane\VLicEnr and the
# program starts from its Start menu shortcut to its main panel; a versions
# file that the school drops beside the installed program changes an
# address, and stays as it was through a repair (which puts back a lost
# file of the program), a reinstall, the install of a rebuild of the same
# version (still one uninstall entry) and an upgrade to a higher version
# (one installed copy, the newer files); an older MSI is refused over a
# newer one; a silent uninstall removes the program's files, the shortcut
# and the uninstall entry, and leaves the school's file. Prints the
# install and uninstall times.
# Run as: bash msi.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
W=$E2E_WORK
version=$(head -n 1 "$E2E_SRC/VERSION")
newer=${version%.*}.$((${version##*.} + 1))
# package <folder> <version>: the zip and the MSI of that version in $W/<folder>.
package() {
    mkdir -p "$W/$1"
    VLIC_PACKAGE_NO_BUILD=1 VLIC_WINDOWS_BUILD_DIR=$(dirname "$E2E_BIN") VLIC_DIST_DIR=$W/$1 VLIC_PACKAGE_VERSION=$2 \
        "$E2E_SRC/scripts/package-windows.sh" >"$W/package-$1.log" 2>&1 || e2e_fail "package-windows.sh $2 failed"
}
package first "$version"
package rebuild "$version"
package newer "$newer"

# The tables, as msiinfo exports them: a header of three lines, then rows
# (CR LF).
property() { msiinfo export "$W/$1/VLicEnr-x64.msi" Property | tr -d '\r' | sed -n "s/^$2\t//p"; }
e2e_expect_eq "x64;1036" "$(msiinfo suminfo "$W/first/VLicEnr-x64.msi" | sed -n 's/^Template: //p')" "the summary's platform and language"
e2e_expect_eq "$(property first ProductCode)" "$(property rebuild ProductCode)" "the ProductCode of a rebuild"
e2e_expect "another version, another ProductCode" test "$(property first ProductCode)" != "$(property newer ProductCode)"
e2e_expect "no versions file among the MSI's files" bash -c '! msiinfo export "$1" File | grep -qi vlicvers' _ "$W/first/VLicEnr-x64.msi"
mkdir "$W/tables"
for t in Shortcut Component Registry Feature; do msiinfo export "$W/first/VLicEnr-x64.msi" $t >"$W/tables/$t.idt"; done
ice43=$(python3 - "$W/tables" <<'PY'
import os, sys
def rows(table):
    lines = open(os.path.join(sys.argv[1], table + ".idt"), encoding="utf-8", errors="replace").read().splitlines()
    names = lines[0].split("\t")
    return [dict(zip(names, line.split("\t"))) for line in lines[3:]]
features = {r["Feature"] for r in rows("Feature")}
components = {r["Component"]: r for r in rows("Component")}
registry = {r["Registry"]: r for r in rows("Registry")}
shortcuts = rows("Shortcut")
if not shortcuts:
    print("no shortcut")
for s in shortcuts:
    if s["Target"] in features:
        continue  # advertised
    c = components[s["Component_"]]
    key = registry.get(c["KeyPath"]) if int(c["Attributes"]) & 4 else None
    if key is None or key["Component_"] != c["Component"] or key["Root"] not in ("-1", "1"):
        print("shortcut %s: component %s is not kept by a registry value of its own under HKCU or HKMU"
              % (s["Shortcut"], c["Component"]))
PY
)
e2e_expect_eq "" "$ice43" "ICE43: the shortcut's component's key path"

e2e_start_x
wine_prefix
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# msi <option> <msi file> [properties...]: msiexec, silent; its exit code.
msi() { local s=$(date +%s%N); "$WINE_LOADER" msiexec "$1" "$(wine_winpath "$2")" /qn "${@:3}"; local rc=$?
        e2e_log "msiexec $1 $(basename "$(dirname "$2")") ${*:3}: exit $rc in $(( ($(date +%s%N) - s) / 1000000 )) ms"; return $rc; }
installed=$WINEPREFIX/drive_c/Program\ Files/Veltrane/VLicEnr
uninstall_entries() {
    "$WINE_LOADER" reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
        grep -ac 'DisplayName.*VLicEnr' || true
}
shortcuts() { find "$WINEPREFIX/drive_c" -name 'Veltrane - T*chargements.lnk' 2>/dev/null; }

msi /i "$W/first/VLicEnr-x64.msi"
e2e_expect_eq "$(unzip -Z1 "$W/first/VLicEnr-windows-x64.zip" | sed -n 's|^VLicEnr/\(.\)|\1|p' | sort | tr '\n' ' ')" \
    "$(ls "$installed" | sort | tr '\n' ' ')" "the installed files are the zip's"
e2e_expect_eq 1 "$(uninstall_entries)" "one uninstall entry"
lnk=$(shortcuts | head -n 1)
e2e_expect "a Start menu shortcut" test -n "$lnk"
"$WINE_LOADER" start /unix "$lnk" >/dev/null 2>&1 &
main=$(e2e_wait_window "^Veltrane - " "" 30)
e2e_expect "the main panel from the shortcut" test -n "$main"
"$WINE_LOADER" taskkill /im VLicEnr.exe /f >/dev/null 2>&1 || true

# The school's versions file, beside the installed program, changes product
# 170's EMP.
sed 's/^170\t[^\t]*\t/170\t2.3\t/' "$E2E_SRC/downloads/Veltrane.vlicvers" >"$W/school.vlicvers"
cp "$W/school.vlicvers" "$installed/Veltrane.vlicvers"
emp_follows() {
    (cd "$installed" && wine_run VLicEnr.exe --adresses 170 >"$W/adresses.txt" 2>&1)
    e2e_expect "the EMP address follows the school's file $1" grep -q '_EMP_V2-3\.zip' "$W/adresses.txt"
}
emp_follows "once dropped"
school_file() { e2e_expect "the school's file $1" cmp "$W/school.vlicvers" "$installed/Veltrane.vlicvers"; }
# A repair as msiexec /f does it (Wine's msiexec has no /f), then a
# reinstall of every file whatever its version.
rm "$installed/FenGen.uir"
msi /i "$W/first/VLicEnr-x64.msi" REINSTALL=ALL REINSTALLMODE=omus
e2e_expect "the repair puts back a lost file" test -f "$installed/FenGen.uir"
school_file "after a repair"
msi /i "$W/first/VLicEnr-x64.msi" REINSTALL=ALL REINSTALLMODE=vamus
school_file "after a reinstall"
# Windows refuses a rebuild of an installed version (1638, another package
# of the same product); whatever msiexec answers, one entry stays.
msi /i "$W/rebuild/VLicEnr-x64.msi" || true
e2e_expect_eq 1 "$(uninstall_entries)" "one uninstall entry after a rebuild of the same version"
school_file "after a rebuild of the same version"

msi /i "$W/newer/VLicEnr-x64.msi"
e2e_expect_eq 1 "$(uninstall_entries)" "one uninstall entry after the upgrade"
e2e_expect "the newer files" grep -q "^Version $newer" "$installed/LISEZMOI.txt"
e2e_expect_eq 1 "$(find "$WINEPREFIX/drive_c" -name VLicEnr.exe | wc -l)" "one installed copy"
school_file "after the upgrade"
emp_follows "after the upgrade"
e2e_expect "an older MSI is refused over a newer one" bash -c '! "$0" msiexec /i "$1" /qn' "$WINE_LOADER" "$(wine_winpath "$W/first/VLicEnr-x64.msi")"
e2e_expect "the newer one stays" grep -q "^Version $newer" "$installed/LISEZMOI.txt"

msi /x "$W/newer/VLicEnr-x64.msi"
e2e_expect_eq "Veltrane.vlicvers" "$(ls "$installed" 2>/dev/null)" "only the school's file left"
school_file "after the uninstall"
e2e_expect_eq "" "$(shortcuts)" "no shortcut left"
e2e_expect_eq 0 "$(uninstall_entries)" "no uninstall entry left"
e2e_done

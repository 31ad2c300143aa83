#!/usr/bin/env bash
# The Debian package as a school's IT service deploys it. scripts/package-linux.sh
# makes vlicenr_<VERSION>_amd64.deb; dpkg-deb shows its fields, its
# dependencies from dpkg-shlibdeps (Qt 6, GLib), its files (nothing outside
# the program's folder, /usr/bin, /usr/share and /etc/vlicenr) and its one
# conffile, the repository's versions file; desktop-file-validate and
# appstreamcli accept its desktop and AppStream entries (release VERSION, a
# screenshot); its 48 and 256 px icons are frames of the Windows program's
# icon. Its command, unpacked and run from /, lists the same products and
# addresses as the program just built, and shows the main panel. As root on a throw-away machine
# (CI=true), the same once apt-get has installed it; then a changed conffile
# survives a reinstall and an upgrade, and a purge leaves nothing.
# Run as: bash deb.sh <bin dir of the Linux build> <source dir>
. "$(dirname "$0")/../e2e/lib.sh"
e2e_init "$@"
W=$E2E_WORK
version=$(head -n 1 "$E2E_SRC/VERSION")
VLIC_DIST_DIR=$W "$E2E_SRC/scripts/package-linux.sh" >"$W/package.log" 2>&1 ||
    { tail -n 20 "$W/package.log"; e2e_fail "package-linux.sh failed"; e2e_done; }
deb=$W/vlicenr_${version}_amd64.deb
e2e_expect "the package's name gives the version" test -f "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
e2e_expect_eq "vlicenr $version amd64" "$(field Package) $(field Version) $(field Architecture)" "package, version, architecture"
for lib in libqt6widgets6 libqt6core6 libglib2.0-0; do
    e2e_expect "a dependency on $lib (dpkg-shlibdeps)" grep -qE "(^|, )$lib( |,|$)" <<<"$(field Depends)"
done
dpkg-deb -c "$deb" | awk '{ print $6 }' | sed 's|^\./|/|' >"$W/files.txt"
e2e_expect_eq "" "$(grep -vE '^/(etc/|etc/vlicenr/.*|usr/|usr/bin/|usr/bin/vlicenr|usr/lib/|usr/lib/vlicenr/.*|usr/share/.*)$' "$W/files.txt")" \
    "nothing outside the program's folder, /usr/bin, /usr/share and /etc/vlicenr"
dpkg-deb -e "$deb" "$W/control"
e2e_expect_eq "/etc/vlicenr/Veltrane.vlicvers" "$(cat "$W/control/conffiles")" "the conffile"
x=$W/unpacked
dpkg-deb -x "$deb" "$x"
e2e_expect "the conffile holds the repository's versions" cmp "$E2E_SRC/downloads/Veltrane.vlicvers" "$x/etc/vlicenr/Veltrane.vlicvers"
e2e_expect_eq "../lib/vlicenr/VLicEnr" "$(readlink "$x/usr/bin/vlicenr")" "the command vlicenr links to the program"

id=fr.veltrane.VLicEnr
desktop=$x/usr/share/applications/$id.desktop
e2e_expect "desktop-file-validate accepts $id.desktop" desktop-file-validate "$desktop"
e2e_expect "the desktop entry starts the command" grep -qx 'Exec=vlicenr' "$desktop"
metainfo=$x/usr/share/metainfo/$id.metainfo.xml
appstreamcli validate --no-net "$metainfo" >"$W/appstream.log" 2>&1 || e2e_fail "appstreamcli: $(cat "$W/appstream.log")"
e2e_expect "the AppStream entry gives the release $version" grep -q "<release version=\"$version\" date=\"[0-9-]*\"" "$metainfo"
e2e_expect "the AppStream entry launches the desktop entry" grep -q "<launchable type=\"desktop-id\">$id.desktop<" "$metainfo"
e2e_expect "the AppStream entry has a screenshot" grep -q '<image>https://.*\.png</image>' "$metainfo"
# Within 1 %: the icon's 256 px frame has 16 bits a channel, the PNGs 8.
ico=$E2E_SRC/app/win/VLicEnr.ico
for s in 48 256; do
    frame=$(identify -format '%p %wx%h\n' "$ico" | awk -v s="${s}x$s" '$2 == s { print $1; exit }')
    png=$x/usr/share/icons/hicolor/${s}x$s/apps/$id.png
    e2e_expect "the ${s}x$s icon is the program's icon's frame" \
        bash -c '[ "$(compare -metric AE -fuzz 1% "$1" "$2" null: 2>&1)" = 0 ]' _ "$ico[$frame]" "$png"
done

# listings <command> <out file>: the products, then every product's addresses,
# as the command prints them when run from /.
listings() {
    (cd / && "$1" --produits && cut -f1 <<<"$("$1" --produits)" | while read -r n; do "$1" --adresses "$n"; done) >"$2" 2>&1
}
listings "$E2E_BIN/VLicEnr" "$W/built.txt"
e2e_expect_eq 41 "$(grep -c $'\t[01]$' "$W/built.txt")" "products the built program lists"
listings "$x/usr/bin/vlicenr" "$W/unpacked.txt"
e2e_expect "the unpacked command lists what the built program lists" cmp "$W/built.txt" "$W/unpacked.txt"
e2e_start_x
cd /
e2e_start_app "$x/usr/bin/vlicenr"
e2e_expect "the unpacked command, started from /, shows the main panel" test -n "$(e2e_wait_window '^Veltrane - T' "$E2E_APP_PID")"
kill "$E2E_APP_PID"
cd "$W"

if [ "${CI:-}" = true ] && [ "$(id -u)" = 0 ]; then
    apt() { DEBIAN_FRONTEND=noninteractive apt-get -y -qq -o DPkg::Lock::Timeout=300 "$@" >>"$W/apt.log" 2>&1; }
    conffile=/etc/vlicenr/Veltrane.vlicvers
    e2e_expect "apt-get installs the package" apt install "$deb"
    e2e_expect_eq /usr/bin/vlicenr "$(command -v vlicenr)" "the command on the PATH"
    listings vlicenr "$W/installed.txt"
    e2e_expect "the installed command lists what the built program lists" cmp "$W/built.txt" "$W/installed.txt"
    echo "# changed by the school" >>"$conffile"
    e2e_expect "apt-get reinstalls it" apt install --reinstall "$deb"
    e2e_expect "the changed conffile survives a reinstall" grep -q '^# changed by the school' "$conffile"
    sed -i 's/^170\t2\.0\t/170\t9.9\t/' "$conffile"
    e2e_expect "the school's EMP version of product 170 is the one the command gives" \
        bash -c 'cd / && vlicenr --adresses 170 | grep -q "_EMP_V9-9\.zip"'
    # An upgrade: the same package under a higher version.
    newer=${version%.*}.$((${version##*.} + 1))
    dpkg-deb -R "$deb" "$W/newer"
    sed -i "s/^Version: .*/Version: $newer/" "$W/newer/DEBIAN/control"
    dpkg-deb --root-owner-group -b "$W/newer" "$W/vlicenr_${newer}_amd64.deb" >/dev/null
    e2e_expect "apt-get upgrades it to $newer" apt install "$W/vlicenr_${newer}_amd64.deb"
    e2e_expect_eq "$newer" "$(dpkg-query -W -f='${Version}' vlicenr)" "the installed version"
    e2e_expect "the changed conffile survives an upgrade" grep -q '^# changed by the school' "$conffile"
    e2e_expect "apt-get purges it" apt purge vlicenr
    e2e_expect_eq "" "$(grep -v '/$' "$W/files.txt" | while read -r f; do
                           if [ -e "$f" ] || [ -L "$f" ]; then echo "$f"; fi; done)" "no file of the package left"
    e2e_expect_eq "" "$(ls -d /etc/vlicenr /usr/lib/vlicenr /usr/share/doc/vlicenr 2>/dev/null)" "none of its folders left"
    e2e_expect "dpkg forgets it" bash -c '! dpkg-query -W -f="\${Status}" vlicenr 2>/dev/null | grep -q installed'
else
    e2e_log "not root with CI=true: the package is not installed here"
fi
e2e_done

#!/usr/bin/env bash
# The command-line listings of the Windows program under Wine: written to a
# redirected standard output byte for byte as on Linux (UTF-8, LF line
# ends, no CR), or to the console the program was started from, the usage
# line on standard error with exit code 2, and nothing at all, with exit
# code 0, when the output leads nowhere.
# With $VLIC_LINUX_BIN (the Linux build's bin folder, which scripts/test.sh
# gives) every listing is held, byte for byte, against the Linux program's:
# --produits and --adresses N for 0 and every product of the catalogue.
# Without it, against lines of the README.
# Run as: bash listings.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
e2e_start_x
wine_prefix
W=$E2E_WORK
cd "$W"
APP=$E2E_BIN/VLicEnr.exe

rc=0
wine_run "$APP" --produits >"$W/produits.txt" 2>"$W/produits.err" || rc=$?
e2e_expect_eq 0 "$rc" "exit code of --produits"
e2e_expect "nothing on stderr" [ ! -s "$W/produits.err" ]
e2e_expect "no CR in the output" bash -c '! grep -q $'"'"'\r'"'"' "$1"' _ "$W/produits.txt"
printf '10\tMallette Capteurs et Mesures\t0\n20\tRobot Manipulateur RM5\t0\n21\tRobot RM5 Pince \xc3\x89lectrique\t1\n' >"$W/want-head.txt"
e2e_expect "the first lines, in UTF-8" cmp "$W/want-head.txt" <(head -n 3 "$W/produits.txt")

wine_run "$APP" --adresses 250 >"$W/adresses-250.txt"
e2e_expect "--adresses 250: the EMP line" grep -qxF \
    "$(printf '16\tBP_EMP\tEMP\thttps://www.veltrane.fr/telecharger/Banc-Moteur-Brushless_EMP_V1-3.zip')" "$W/adresses-250.txt"
e2e_expect "--adresses 250: an escaped line break" grep -qxF \
    "$(printf '15\tTXT_PROF\t(Dossier Technique, Manuels Logiciels, TP,\\nDessins, Mod\xc3\xa8les, etc.)\t')" "$W/adresses-250.txt"

rc=0
wine_run "$APP" --adresses >/dev/null 2>"$W/usage.err" || rc=$?
e2e_expect_eq 2 "$rc" "exit code of --adresses without a number"
e2e_expect "the usage line on stderr" grep -q '^usage: VLicEnr --adresses N' "$W/usage.err"

# Started from a console, as from cmd, with no standard handle given: the
# lines reach that console, accents and all (read back from its screen,
# where a TAB is blanks); the usage line too.
rc=0
wine_run "$E2E_BIN/console_parent.exe" "$APP" --produits >"$W/console.txt" 2>&1 || rc=$?
e2e_expect_eq 0 "$rc" "exit code of --produits in a console"
e2e_expect_eq 41 "$(wc -l <"$W/console.txt")" "lines shown in the console"
e2e_expect "the console shows the accented line" grep -qx $'21 \+Robot RM5 Pince \xc3\x89lectrique \+1' "$W/console.txt"
wine_run "$E2E_BIN/console_parent.exe" "$APP" --adresses >"$W/console-usage.txt" 2>&1 || true
e2e_expect "the usage line in the console" grep -q '^usage: VLicEnr --adresses N' "$W/console-usage.txt"

rc=0
wine_run "$APP" --produits >&- 2>&- || rc=$?
e2e_expect_eq 0 "$rc" "exit code with standard output and error closed"

if [ -n "${VLIC_LINUX_BIN:-}" ] && [ -x "$VLIC_LINUX_BIN/VLicEnr" ]; then
    "$VLIC_LINUX_BIN/VLicEnr" --produits >"$W/linux-produits.txt"
    e2e_expect "--produits as on Linux" cmp "$W/linux-produits.txt" "$W/produits.txt"
    differ=""
    for n in 0 $(cut -f1 "$W/linux-produits.txt"); do
        "$VLIC_LINUX_BIN/VLicEnr" --adresses "$n" >"$W/linux-$n.txt"
        wine_run "$APP" --adresses "$n" >"$W/win-$n.txt"
        cmp -s "$W/linux-$n.txt" "$W/win-$n.txt" || differ="$differ $n"
    done
    e2e_expect_eq "" "$differ" "products whose --adresses differ from Linux"
else
    e2e_log "no Linux build given (VLIC_LINUX_BIN): held against the README's lines only"
fi
e2e_done

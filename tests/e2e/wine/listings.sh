#!/usr/bin/env bash
# The command-line listings of the Windows program under Wine: written to a
# redirected standard output byte for byte as on Linux (UTF-8, LF line
# ends, no CR), or to the console the program was started from, the usage
# line on standard error with exit code 2, and nothing at all, with exit
# code 0, when the output leads nowhere. Typed in cmd as "VLicEnr", the
# console launcher VLicEnr.com gives the same, its exit code included.
# With $VLIC_LINUX_BIN (the Linux build's bin folder, which scripts/test.sh
# gives) every listing is held, byte for byte, against the Linux program's:
# --produits, --aide, and --adresses of 0 and every product of the
# catalogue in one list. --aide and --version, as text alone.
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

# The help and the version, as on Linux: text alone, in UTF-8.
rc=0
wine_run "$APP" --aide >"$W/aide.txt" 2>"$W/aide.err" || rc=$?
e2e_expect_eq 0 "$rc" "exit code of --aide"
e2e_expect "--aide tells the exit codes, in French" grep -q '^Codes de sortie des listes :$' "$W/aide.txt"
e2e_expect "--help is --aide" cmp "$W/aide.txt" <(wine_run "$APP" --help)
e2e_expect_eq "VLicEnr $(cat "$E2E_SRC/VERSION")" "$(wine_run "$APP" --version)" "--version: the file VERSION's"

rc=0
wine_run "$APP" --adresses >/dev/null 2>"$W/usage.err" || rc=$?
e2e_expect_eq 2 "$rc" "exit code of --adresses without a number"
e2e_expect "the usage line on stderr" grep -q '^usage : VLicEnr --adresses N' "$W/usage.err"

# Started from a console, as from cmd, with no standard handle given: the
# lines reach that console, accents and all (read back from its screen,
# where a TAB is blanks); the usage line too.
rc=0
wine_run "$E2E_BIN/console_parent.exe" "$APP" --produits >"$W/console.txt" 2>&1 || rc=$?
e2e_expect_eq 0 "$rc" "exit code of --produits in a console"
e2e_expect_eq 41 "$(wc -l <"$W/console.txt")" "lines shown in the console"
e2e_expect "the console shows the accented line" grep -qx $'21 \+Robot RM5 Pince \xc3\x89lectrique \+1' "$W/console.txt"
wine_run "$E2E_BIN/console_parent.exe" "$APP" --adresses >"$W/console-usage.txt" 2>&1 || true
e2e_expect "the usage line in the console" grep -q '^usage : VLicEnr --adresses N' "$W/console-usage.txt"

# Typed in cmd as "VLicEnr ...": the console launcher VLicEnr.com, found
# before the executable, waits for it and gives its exit code, in a console
# (each listing before the next line of the batch) and with a redirection,
# its arguments handed on as cmd split them.
printf '%s\r\n' '@VLicEnr --produits' '@echo fin %ERRORLEVEL%' \
    "@VLicEnr \"--adresses\" \"250\" > $(wine_winpath "$W/com-250.txt")" '@echo fin %ERRORLEVEL%' \
    "@VLicEnr --adresses > $(wine_winpath "$W/com-usage.txt")" '@echo fin %ERRORLEVEL%' >"$W/com.cmd"
(cd "$E2E_BIN" && wine_run console_parent.exe cmd /c "$(wine_winpath "$W/com.cmd")") >"$W/com-console.txt" 2>&1 || true
e2e_expect_eq "310|fin 0|fin 0|usage : VLicEnr --adresses N[,N...]   (N, N... : produits, 0 - 999)|fin 2" \
    "$(sed -n '41s/ .*//p;42,44p;47p' "$W/com-console.txt" | paste -sd'|')" \
    "cmd's console: the 41 products, then each exit code after its listing"
e2e_expect "VLicEnr \"--adresses\" \"250\" through the launcher" cmp "$W/adresses-250.txt" "$W/com-250.txt"
# From another folder, the executable beside the launcher; alone, the
# launcher says so (exit code 3), which shows that cmd took it.
rc=0
wine_run cmd /c "$(wine_winpath "$E2E_BIN/VLicEnr")" --produits >"$W/com-produits.txt" 2>"$W/com.err" || rc=$?
e2e_expect_eq 0 "$rc" "exit code of cmd /c <bin>\\VLicEnr --produits"
e2e_expect "cmd /c VLicEnr --produits into a file, as the executable writes it" cmp "$W/produits.txt" "$W/com-produits.txt"
rc=0
wine_run cmd /c "$(wine_winpath "$E2E_BIN/VLicEnr")" --adresses >/dev/null 2>"$W/com.err" || rc=$?
e2e_expect_eq 2 "$rc" "exit code of cmd /c VLicEnr --adresses"
mkdir "$W/seul" && cp "$E2E_BIN/VLicEnr.com" "$W/seul/"
rc=0
(cd "$W/seul" && wine_run cmd /c VLicEnr --produits) >/dev/null 2>"$W/seul.err" || rc=$?
e2e_expect_eq "3 VLicEnr : impossible de lancer" "$rc $(grep -o '^VLicEnr : impossible de lancer' "$W/seul.err")" \
    "the launcher alone, without its executable"

rc=0
wine_run "$APP" --produits >&- 2>&- || rc=$?
e2e_expect_eq 0 "$rc" "exit code with standard output and error closed"

if [ -n "${VLIC_LINUX_BIN:-}" ] && [ -x "$VLIC_LINUX_BIN/VLicEnr" ]; then
    "$VLIC_LINUX_BIN/VLicEnr" --produits >"$W/linux-produits.txt"
    e2e_expect "--produits as on Linux" cmp "$W/linux-produits.txt" "$W/produits.txt"
    e2e_expect "--aide as on Linux" cmp <("$VLIC_LINUX_BIN/VLicEnr" --aide) "$W/aide.txt"
    # Every product in one lab list (each product's listing in turn), and
    # 0, which is none: the same bytes and the same exit code (7).
    tous=0,$(cut -f1 "$W/linux-produits.txt" | paste -sd,)
    lrc=0
    "$VLIC_LINUX_BIN/VLicEnr" --adresses "$tous" >"$W/linux-tous.txt" 2>"$W/linux-tous.err" || lrc=$?
    wrc=0
    wine_run "$APP" --adresses "$tous" >"$W/win-tous.txt" 2>"$W/win-tous.err" || wrc=$?
    e2e_expect_eq "7 7" "$lrc $wrc" "exit codes of --adresses 0,<every product> on Linux and Windows"
    e2e_expect "--adresses of every product as on Linux" cmp "$W/linux-tous.txt" "$W/win-tous.txt"
    e2e_expect "0 said to be no product, as on Linux" cmp "$W/linux-tous.err" "$W/win-tous.err"
else
    e2e_log "no Linux build given (VLIC_LINUX_BIN): held against the README's lines only"
fi
e2e_done

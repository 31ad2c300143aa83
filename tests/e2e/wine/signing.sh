#!/usr/bin/env bash
# A release signed with a key on a hardware token and time-stamped, with
# stand-ins made here: a throw-away authority, a SoftHSM2 token holding the
# code-signing key (imported, then deleted from the disk), and an RFC 3161
# time-stamp authority on the loopback address (openssl ts behind tsa.py).
# scripts/package-windows.sh with VLIC_RELEASE=1 signs through the token's
# PKCS#11 module: VLicEnr.exe, VLicEnr.com and the MSI carry the token's
# certificate and a time-stamp that osslsigncode verifies, and the signed
# MSI installs under Wine. A release is refused, leaving nothing in its
# dist folder, without a key, without a time-stamp authority or when the
# authority does not answer; a wrong PIN fails the build.
# Run as: bash signing.sh <bin dir of the Windows build> <source dir>
. "$(dirname "$0")/../lib.sh"
. "$(dirname "$0")/winelib.sh"
e2e_init "$@"
W=$E2E_WORK
module=/usr/lib/softhsm/libsofthsm2.so
for tool in softhsm2-util osslsigncode openssl msiinfo; do
    command -v "$tool" >/dev/null || { e2e_fail "$tool is missing (scripts/build-windows.sh)"; e2e_done; }
done

# The authority, the token's certificate and the time-stamp authority's.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=VLic test CA" \
    -keyout "$W/ca.key" -out "$W/ca.crt" >/dev/null 2>&1 || e2e_fail "no test authority"
# issue <name> <subject> <extended key usage>: a key and its certificate.
issue() {
    openssl req -newkey rsa:2048 -nodes -subj "/CN=$2" -keyout "$W/$1.key" -out "$W/$1.csr" >/dev/null 2>&1
    printf 'basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=critical,%s\n' "$3" >"$W/$1.ext"
    openssl x509 -req -in "$W/$1.csr" -CA "$W/ca.crt" -CAkey "$W/ca.key" -CAcreateserial -days 2 \
        -extfile "$W/$1.ext" -out "$W/$1.crt" >/dev/null 2>&1 || e2e_fail "no $1 certificate"
}
issue code "Veltrane test token" codeSigning
issue tsa "VLic test TSA" timeStamping
cat "$W/code.crt" "$W/ca.crt" >"$W/chain.pem"

# The token: a SoftHSM2 store of this test's own.
export SOFTHSM2_CONF=$W/softhsm2.conf
mkdir "$W/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$W/tokens" >"$SOFTHSM2_CONF"
softhsm2-util --init-token --free --label vlic --pin 1234 --so-pin 5678 >"$W/token.log"
openssl pkcs8 -topk8 -nocrypt -in "$W/code.key" -out "$W/code.pk8"
softhsm2-util --import "$W/code.pk8" --token vlic --label sign --id 01 --pin 1234 >>"$W/token.log"
rm "$W/code.key" "$W/code.pk8"
echo 1234 >"$W/pin.txt"
echo 4321 >"$W/wrong-pin.txt"

# The time-stamp authority.
cat >"$W/tsa.cnf" <<EOF
[ tsa ]
default_tsa = tsa_config
[ tsa_config ]
serial = $W/tsa.serial
crypto_device = builtin
signer_cert = $W/tsa.crt
certs = $W/ca.crt
signer_key = $W/tsa.key
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
echo 01 >"$W/tsa.serial"
python3 "$(dirname "$0")/tsa.py" "$W/tsa.cnf" "$W/tsa.port" &
E2E_PIDS+=($!)
for _ in $(seq 1 100); do [ -s "$W/tsa.port" ] && break; sleep 0.1; done
tsa=http://127.0.0.1:$(cat "$W/tsa.port")

# release <folder> [VAR=value...]: a release through the token into $W/<folder>.
release() {
    local dist=$W/$1
    shift
    mkdir -p "$dist"
    env VLIC_PACKAGE_NO_BUILD=1 VLIC_WINDOWS_BUILD_DIR="$(dirname "$E2E_BIN")" VLIC_DIST_DIR="$dist" VLIC_RELEASE=1 \
        VLIC_SIGN_PKCS11_MODULE=$module VLIC_SIGN_PKCS11_KEY="pkcs11:token=vlic;object=sign" \
        VLIC_SIGN_CERTS="$W/chain.pem" VLIC_SIGN_PASSWORD_FILE="$W/pin.txt" VLIC_SIGN_TIMESTAMP_URL="$tsa" "$@" \
        "$E2E_SRC/scripts/package-windows.sh" >"$dist.log" 2>&1
}
e2e_expect "a release signed on the token and time-stamped" release signed
mkdir "$W/unpacked"
(cd "$W/unpacked" && unzip -q "$W/signed/VLicEnr-windows-x64.zip")
for f in "$W/unpacked/VLicEnr/VLicEnr.exe" "$W/unpacked/VLicEnr/VLicEnr.com" "$W/signed/VLicEnr-x64.msi"; do
    name=$(basename "$f")
    osslsigncode verify -CAfile "$W/ca.crt" -TSA-CAfile "$W/ca.crt" -in "$f" >"$W/verify-$name.txt" 2>&1
    e2e_expect "$name: $(grep -m1 -E '^(Succeeded|Failed)' "$W/verify-$name.txt")" grep -q '^Succeeded' "$W/verify-$name.txt"
    e2e_expect "$name: signed with the token's certificate" grep -q 'Subject: /CN=Veltrane test token' "$W/verify-$name.txt"
    e2e_expect "$name: $(grep -m1 'Timestamp time:' "$W/verify-$name.txt" | sed 's/^\s*//')" \
        grep -q 'Timestamp Server Signature verification: ok' "$W/verify-$name.txt"
done
e2e_log "osslsigncode verify of the MSI:"
cat "$W/verify-VLicEnr-x64.msi.txt"

# Refused releases leave nothing.
refused() {
    local what=$1 folder=$2
    shift 2
    if release "$folder" "$@"; then e2e_fail "$what is not refused"; else e2e_log "ok: $what is refused"; fi
    e2e_expect_eq "" "$(ls "$W/$folder")" "nothing made for $what"
}
refused "a release without a key" nokey VLIC_SIGN_PKCS11_MODULE=
refused "a release without a time-stamp authority" nots VLIC_SIGN_TIMESTAMP_URL=
refused "a release whose authority does not answer" deadts VLIC_SIGN_TIMESTAMP_URL=http://127.0.0.1:9
refused "a wrong PIN" wrongpin VLIC_SIGN_PASSWORD_FILE="$W/wrong-pin.txt"

# The signed MSI installs, and its signed program runs, under Wine.
e2e_start_x
wine_prefix
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
e2e_expect "the signed MSI installs under Wine" "$WINE_LOADER" msiexec /i "$(wine_winpath "$W/signed/VLicEnr-x64.msi")" /qn
installed=$WINEPREFIX/drive_c/Program\ Files/Veltrane/VLicEnr
(cd "$installed" && wine_run VLicEnr.exe --produits >"$W/produits.txt" 2>&1) || true
e2e_expect_eq 41 "$(wc -l <"$W/produits.txt")" "products the installed, signed program lists"
e2e_done

#!/bin/bash
# A signed release, made with a throw-away self-signed certificate:
#   release_signing_test.sh RUN_DIR SOURCE_DIR BUILD_DIR TRAY_USER_EXE GOLDEN_DIR CASE WINDOWS_OUTPUT_DIR SCENARIO
# scripts/make_release.sh --sign --pfx signs both programs (in the folder, the
# zip and the package) and the package; osslsigncode accepts every signature
# against the certificate and refuses each file with one byte changed; the
# signed skyprobe prints CASE's golden output, the signed lodestar starts and
# ends by Exit with its settings written.
set -u
. "$(dirname "$0")/wine_common.sh"
run_under_xvfb "$0" "$@"
. "$(dirname "$0")/lodestar_harness.sh"

run_dir=$1 source_dir=$2 build_dir=$3 TRAY_USER_EXE=$4 golden_dir=$5 case=$6 windows_output=$7 scenario=$8
require_wine
require_program osslsigncode osslsigncode "to sign and verify the release"
require_program openssl openssl "to make the test's certificate"
require_program msiextract msitools "to read the programs inside the package"
require_file "$TRAY_USER_EXE" "build the Windows build's tray_user target first"
use_run_prefix "$run_dir"
TRAY_USER_EXE=$(absolute_path "$TRAY_USER_EXE") scenario=$(absolute_path "$scenario")

WORK=$(mktemp -d) || fail "cannot create a temporary directory"
DESKTOP=lodestar-signed-$$
trap finish_case EXIT
keys=$WORK/keys
mkdir -m 700 "$keys"

password=$(openssl rand -hex 16)
openssl req -x509 -newkey rsa:2048 -sha256 -days 2 -nodes -subj "/CN=Lodestar test signer $$" \
    -addext extendedKeyUsage=codeSigning -keyout "$keys/key.pem" -out "$keys/cert.pem" >/dev/null 2>&1 &&
    openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -out "$keys/signer.pfx" \
        -passout "pass:$password" >/dev/null 2>&1 || fail "openssl could not make the test certificate"

LODESTAR_SIGN_PASSWORD=$password "$source_dir/scripts/make_release.sh" --build-dir "$build_dir" \
    --dist "$WORK/dist" --sign --pfx "$keys/signer.pfx" >"$WORK/make_release.log" 2>&1 ||
    { cat "$WORK/make_release.log"; fail "make_release.sh --sign failed"; }
grep -q "$password" "$WORK/make_release.log" && fail "make_release.sh printed the password"

msi=$(ls "$WORK"/dist/lodestar-*.msi)
release=${msi%.msi}
mkdir "$WORK/zip" "$WORK/msi"
(cd "$WORK/zip" && python3 -m zipfile -e "$release.zip" .) || fail "cannot unpack $release.zip"
msiextract -C "$WORK/msi" "$msi" >/dev/null || fail "cannot unpack $msi"
signed=("$release/lodestar.exe" "$release/skyprobe.exe" "$msi"
        "$WORK/zip/$(basename "$release")/lodestar.exe" "$WORK/zip/$(basename "$release")/skyprobe.exe"
        $(find "$WORK/msi" -name '*.exe'))
[ ${#signed[@]} -eq 7 ] || fail "expected both programs in the package, found: ${signed[*]:5}"

verify() {
    osslsigncode verify -CAfile "$keys/cert.pem" -in "$1" >"$WORK/verify.log" 2>&1 &&
        grep -q 'Message digest algorithm *: SHA256' "$WORK/verify.log"
}
for file in "${signed[@]}"; do
    verify "$file" || { cat "$WORK/verify.log"; fail "the signature of ${file#"$WORK"/} is not accepted"; }
    # One byte changed half-way through the file.
    cp "$file" "$WORK/tampered"
    offset=$(($(stat -c %s "$file") / 2))
    byte=$(od -An -tu1 -j "$offset" -N1 "$WORK/tampered" | tr -d ' ')
    printf "\\$(printf %03o $(((byte + 1) % 256)))" | dd of="$WORK/tampered" bs=1 seek="$offset" conv=notrunc 2>/dev/null
    verify "$WORK/tampered" && fail "${file#"$WORK"/} with byte $offset changed still verifies"
done
echo "[${SECONDS}s] ${#signed[@]} signatures verified, each refused after a change"

bash "$(dirname "$0")/skyprobe_case.sh" "$run_dir" "$release/skyprobe.exe" "$golden_dir" "$case" "$windows_output" ||
    fail "the signed skyprobe.exe did not print the golden output of $case"

LODESTAR_EXE=$release/lodestar.exe
start_lodestar "$scenario"
tray_user --timeout 60000 find || fail "the signed lodestar.exe did not start"
tray_user command 32772 wait-gone || fail "the Exit command did not end the signed lodestar.exe"
check_settings "$scenario" "{637d3e4b-20da-4318-b6fc-a100fd003a83}"
echo "PASS"

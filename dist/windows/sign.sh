#!/usr/bin/env bash
# Signs a Windows program file in place with the code-signing certificate
# given in the environment, and checks the signature; without a certificate
# it leaves the file as it is. Called for the program, every DLL and plug-in,
# the uninstaller and the installer.
#   DALVERO_SIGN_PFX        the certificate and its key, PKCS#12
#   DALVERO_SIGN_PASSWORD   the password of that file
#   DALVERO_SIGN_CA         optional: the certificate that the check trusts
#                           (a self-made one is its own); else the system's
#   dist/windows/sign.sh FILE
set -euo pipefail
file=$1
[ -n "${DALVERO_SIGN_PFX:-}" ] || exit 0
signed=$file.signed
rm -f "$signed"
osslsigncode sign -pkcs12 "$DALVERO_SIGN_PFX" -pass "${DALVERO_SIGN_PASSWORD:-}" \
    -n Dalvero -i https://dalvero.dk -h sha256 -in "$file" -out "$signed" >/dev/null
mv "$signed" "$file"
osslsigncode verify -CAfile "${DALVERO_SIGN_CA:-/etc/ssl/certs/ca-certificates.crt}" \
    -in "$file" >/dev/null || {
    echo "sign.sh: the signature of $file does not verify" >&2
    exit 1
}

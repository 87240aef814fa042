#!/usr/bin/env bash
# Signs a Windows program file in place with the code-signing certificate
# given in the environment, and checks the signature; without a certificate
# it leaves the file as it is. Called for the program, every DLL and plug-in,
# the uninstaller and the installer.
#   DALVERO_SIGN_PFX            the certificate and its key, PKCS#12
#   DALVERO_SIGN_PASSWORD       the password of that file
#   DALVERO_SIGN_CA             optional: the certificate that the check trusts
#                               (a self-made one is its own); else the system's
#   DALVERO_SIGN_TIMESTAMP_URL  optional: the time-stamping server (RFC 3161)
#                               that vouches for the time of signing, so that
#                               the signature stays valid after the
#                               certificate expires. When it does not answer,
#                               nothing is signed and this fails: a release
#                               must not go out with signatures that die with
#                               the certificate. Set to "" on purpose to sign
#                               without a timestamp (a build without network,
#                               a throwaway test certificate).
#   dist/windows/sign.sh FILE
#   dist/windows/sign.sh --timestamp-url   prints the server that is used
set -euo pipefail
timestamp_url=${DALVERO_SIGN_TIMESTAMP_URL-http://timestamp.digicert.com}
if [ "${1:?usage: sign.sh FILE}" = --timestamp-url ]; then
    echo "$timestamp_url"
    exit 0
fi
file=$1
[ -n "${DALVERO_SIGN_PFX:-}" ] || exit 0
signed=$file.signed
# The password reaches osslsigncode in a file only this user can read: on
# its command line every process on the machine could see it.
password=$(mktemp)
trap 'rm -f "$password" "$signed"' EXIT
printf '%s' "${DALVERO_SIGN_PASSWORD:-}" >"$password"
sign() { # sign [OSSLSIGNCODE OPTIONS...]
    rm -f "$signed"
    osslsigncode sign -pkcs12 "$DALVERO_SIGN_PFX" -readpass "$password" \
        -n Dalvero -i https://dalvero.dk -h sha256 "$@" -in "$file" -out "$signed" >/dev/null
}
if [ -z "$timestamp_url" ]; then
    sign
elif ! failure=$(sign -ts "$timestamp_url" 2>&1); then
    echo "sign.sh: $file not signed: the time-stamping server $timestamp_url did not answer" \
        "($(tail -n 1 <<<"$failure")); DALVERO_SIGN_TIMESTAMP_URL= signs without a timestamp" >&2
    exit 1
fi
mv "$signed" "$file"
osslsigncode verify -CAfile "${DALVERO_SIGN_CA:-/etc/ssl/certs/ca-certificates.crt}" \
    -in "$file" >/dev/null || {
    echo "sign.sh: the signature of $file does not verify" >&2
    exit 1
}

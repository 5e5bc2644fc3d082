#!/usr/bin/env bash
# Signs the Windows program FILE in place with Authenticode (Debian's osslsigncode), DESCRIPTION being the
# name Windows shows for it, when OCHRE_SIGN_PKCS12 names a PKCS#12 file with the certificate and its key
# and OCHRE_SIGN_PASSWORD holds its password; timestamped by the server OCHRE_SIGN_TIMESTAMP names, if any.
# Without OCHRE_SIGN_PKCS12 it leaves FILE as it is. Usage: sign.sh FILE DESCRIPTION
set -euo pipefail
file=$1
description=$2
[ -n "${OCHRE_SIGN_PKCS12:-}" ] || exit 0
[ -n "${OCHRE_SIGN_PASSWORD+set}" ] || { echo "sign.sh: OCHRE_SIGN_PKCS12 is set, OCHRE_SIGN_PASSWORD is not" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The password through a file only this user can read, not on a command line anyone may list.
(umask 077 && printf '%s' "$OCHRE_SIGN_PASSWORD" >"$work/password")
timestamp=()
[ -z "${OCHRE_SIGN_TIMESTAMP:-}" ] || timestamp=(-ts "$OCHRE_SIGN_TIMESTAMP")
osslsigncode sign -pkcs12 "$OCHRE_SIGN_PKCS12" -readpass "$work/password" -h sha256 -n "$description" \
    "${timestamp[@]}" -in "$file" -out "$work/signed" >"$work/log" 2>&1 || { cat "$work/log" >&2; exit 1; }
mv "$work/signed" "$file"
echo "signed $file"

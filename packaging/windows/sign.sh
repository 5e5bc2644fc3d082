#!/usr/bin/env bash
# Readies the Windows executable FILE for release in place: pads it and sets its header checksum as a
# signature would (pe_checksum.py), then signs it with Authenticode (Debian's osslsigncode), DESCRIPTION
# being the name Windows shows for it, so that the signed file less its signature is byte for byte the
# unsigned one.
# - OCHRE_SIGN_PKCS12 names a PKCS#12 file with the certificate and its key, OCHRE_SIGN_PASSWORD holds its
#   password, and OCHRE_SIGN_TIMESTAMP names a timestamp server, if any. Without a certificate FILE stays
#   unsigned.
# - OCHRE_SIGNATURES names a folder of detached signatures, one a DESCRIPTION: one found there is attached
#   in place of signing, so that a release's published signatures make its signed files again from its
#   source; one made is left there, so that the program is signed once for the zip and the installer.
# Usage: sign.sh FILE DESCRIPTION
set -euo pipefail
file=$1
description=$2
python3 "$(dirname "$0")/pe_checksum.py" "$file"
saved=${OCHRE_SIGNATURES:+$OCHRE_SIGNATURES/${description// /-}.p7}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if [ -n "$saved" ] && [ -f "$saved" ]; then
    # Its exit status also says whether the certificate chain is trusted here: the digests below decide.
    osslsigncode attach-signature -sigin "$saved" -in "$file" -out "$work/signed" >"$work/log" 2>&1 || true
    osslsigncode verify -in "$work/signed" >"$work/log" 2>&1 || true
    digests=$(sed -n 's/^\(Current\|Calculated\) message digest *: *\([0-9A-F]*\).*/\2/p' "$work/log" | sort -u)
    [ -n "$digests" ] && [ "$(wc -l <<<"$digests")" -eq 1 ] \
        || { echo "sign.sh: the signature $saved is not one of $file" >&2; exit 1; }
elif [ -n "${OCHRE_SIGN_PKCS12:-}" ]; then
    [ -n "${OCHRE_SIGN_PASSWORD+set}" ] || { echo "sign.sh: OCHRE_SIGN_PKCS12 is set, OCHRE_SIGN_PASSWORD is not" >&2; exit 1; }
    timestamp=()
    [ -z "${OCHRE_SIGN_TIMESTAMP:-}" ] || timestamp=(-ts "$OCHRE_SIGN_TIMESTAMP")
    # The password reaches osslsigncode through a pipe: never on a command line anyone may list, nor on disk.
    printf '%s' "$OCHRE_SIGN_PASSWORD" | osslsigncode sign -pkcs12 "$OCHRE_SIGN_PKCS12" -readpass /dev/stdin \
        -h sha256 -n "$description" "${timestamp[@]}" -in "$file" -out "$work/signed" >"$work/log" 2>&1 \
        || { cat "$work/log" >&2; exit 1; }
    if [ -n "$saved" ]; then
        mkdir -p "$OCHRE_SIGNATURES"
        osslsigncode extract-signature -in "$work/signed" -out "$saved" >"$work/log" 2>&1 \
            || { cat "$work/log" >&2; exit 1; }
    fi
else
    exit 0
fi
# A signed file is the unsigned one and its signature: without the signature, it is the same bytes.
osslsigncode remove-signature -in "$work/signed" -out "$work/unsigned" >"$work/log" 2>&1 \
    || { cat "$work/log" >&2; exit 1; }
cmp -s "$file" "$work/unsigned" || { echo "sign.sh: $file without its signature is not the unsigned file" >&2; exit 1; }
chmod --reference="$file" "$work/signed"
mv "$work/signed" "$file"
echo "signed $file"

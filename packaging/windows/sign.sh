#!/usr/bin/env bash
# Readies the Windows executable FILE for release in place: pads it and sets its header checksum as a
# signature would (pe_checksum.py), then signs it with Authenticode (Debian's osslsigncode), DESCRIPTION
# being the name Windows shows for it, when OCHRE_SIGN_PKCS12 names a PKCS#12 file with the certificate
# and its key and OCHRE_SIGN_PASSWORD holds its password; timestamped by the server OCHRE_SIGN_TIMESTAMP
# names, if any. So the signed file less its signature is byte for byte the unsigned one.
# Usage: sign.sh FILE DESCRIPTION
set -euo pipefail
file=$1
description=$2
python3 "$(dirname "$0")/pe_checksum.py" "$file"
[ -n "${OCHRE_SIGN_PKCS12:-}" ] || exit 0
[ -n "${OCHRE_SIGN_PASSWORD+set}" ] || { echo "sign.sh: OCHRE_SIGN_PKCS12 is set, OCHRE_SIGN_PASSWORD is not" >&2; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
timestamp=()
[ -z "${OCHRE_SIGN_TIMESTAMP:-}" ] || timestamp=(-ts "$OCHRE_SIGN_TIMESTAMP")
# The password reaches osslsigncode through a pipe: never on a command line anyone may list, nor on disk.
printf '%s' "$OCHRE_SIGN_PASSWORD" | osslsigncode sign -pkcs12 "$OCHRE_SIGN_PKCS12" -readpass /dev/stdin \
    -h sha256 -n "$description" "${timestamp[@]}" -in "$file" -out "$work/signed" >"$work/log" 2>&1 \
    || { cat "$work/log" >&2; exit 1; }
# A signed file is the unsigned one and its signature: without the signature, it is the same bytes.
osslsigncode remove-signature -in "$work/signed" -out "$work/unsigned" >"$work/log" 2>&1 \
    || { cat "$work/log" >&2; exit 1; }
cmp -s "$file" "$work/unsigned" || { echo "sign.sh: $file without its signature is not the unsigned file" >&2; exit 1; }
chmod --reference="$file" "$work/signed"
mv "$work/signed" "$file"
echo "signed $file"

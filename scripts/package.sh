#!/usr/bin/env bash
# Puts what a release ships into dist/: the Debian package, the Windows zip and the Windows installer,
# with their SHA-256 sums in SHA256SUMS. Builds them in trees of their own (build-release/ and
# build-release-windows/), or brings those up to date.
# The same source gives the same bytes wherever, whenever and by whomever it is packaged: every time the
# files record is SOURCE_DATE_EPOCH (the last commit's time when not given), and none records a path, a
# user or a host. With --verify, a second copy of the last commit is packaged in a folder of its own, with
# another umask, locale and time zone, and the two are compared: a file that differs is named with its
# first difference (diffoscope's, where it is installed), and the script fails.
# A signed release ships the Windows files' detached signatures (*.p7) beside them: given in the folder
# OCHRE_SIGNATURES, they are attached to the files they sign, which makes a signed release again from its
# source, byte for byte (packaging/windows/sign.sh).
# Usage: scripts/package.sh [--verify]
set -euo pipefail
source "$(dirname "$0")/setup.sh"

verify=false
case "${1:-}" in
    --verify) verify=true ;;
    "") ;;
    *) echo "Usage: scripts/package.sh [--verify]" >&2; exit 2 ;;
esac
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
    SOURCE_DATE_EPOCH=$(git -C "$OCHRE_ROOT" log -1 --format=%ct 2>/dev/null) \
        || { echo "package.sh: not a git clone; set SOURCE_DATE_EPOCH to the source's time" >&2; exit 1; }
fi
# Archives list their files in the C locale's order, with the permissions of a usual umask.
export SOURCE_DATE_EPOCH TZ=UTC LC_ALL=C.UTF-8
umask 022

dist=$OCHRE_ROOT/dist
copy=
if $verify; then
    [ -z "$(git -C "$OCHRE_ROOT" status --porcelain)" ] \
        || { echo "package.sh --verify: the work tree has uncommitted changes; the second copy is of the last commit" >&2; exit 1; }
    # Signatures are no part of what the source makes: both copies are compared unsigned.
    unset OCHRE_SIGN_PKCS12 OCHRE_SIGN_PASSWORD OCHRE_SIGN_TIMESTAMP OCHRE_SIGNATURES
fi

ochre_install_packages
ochre_apt_install "${OCHRE_WINDOWS_PACKAGES[@]}"
ochre_build "$OCHRE_ROOT/build-release" -DOCHRELINE_TESTS=OFF -DOCHRELINE_BENCH=OFF
ochre_build_windows "$OCHRE_ROOT/build-release-windows" -DOCHRELINE_TESTS=OFF -DOCHRELINE_BENCH=OFF

# Signed with Authenticode when a certificate or the signatures are given (packaging/windows/sign.sh).
if [ -n "${OCHRE_SIGNATURES:-}" ]; then
    OCHRE_SIGNATURES=$(cd "$OCHRE_SIGNATURES" && pwd)
    echo "Attaching the signatures in $OCHRE_SIGNATURES to the Windows files they sign"
elif [ -n "${OCHRE_SIGN_PKCS12:-}" ]; then
    [ -n "${OCHRE_SIGN_PASSWORD+set}" ] || { echo "OCHRE_SIGN_PKCS12 is set, OCHRE_SIGN_PASSWORD is not" >&2; exit 1; }
    echo "Signing the Windows program, uninstaller and installer with $OCHRE_SIGN_PKCS12${OCHRE_SIGN_TIMESTAMP:+, timestamped by $OCHRE_SIGN_TIMESTAMP}"
    [ -n "${OCHRE_SIGN_TIMESTAMP:-}" ] \
        || echo "The signatures carry no timestamp (OCHRE_SIGN_TIMESTAMP is not set): Windows stops trusting them when the certificate expires"
else
    echo "The Windows program, uninstaller and installer are left unsigned: OCHRE_SIGN_PKCS12 and OCHRE_SIGN_PASSWORD are not set"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export OCHRE_SIGNATURES=${OCHRE_SIGNATURES:-$work/signatures}
(cd "$OCHRE_ROOT/build-release" && cpack -G DEB -B "$work/linux" >"$work/linux.log" 2>&1) \
    || { cat "$work/linux.log" >&2; exit 1; }
(cd "$OCHRE_ROOT/build-release-windows" && cpack -B "$work/windows" >"$work/windows.log" 2>&1) \
    || { cat "$work/windows.log" >&2; exit 1; }
python3 "$OCHRE_ROOT/packaging/windows/normalise_zip.py" "$work"/windows/*.zip

rm -rf "$dist"
mkdir -p "$dist"
mv "$work"/linux/*.deb "$work"/windows/*.zip "$work"/windows/*.exe "$dist"/
! [ -d "$OCHRE_SIGNATURES" ] || find "$OCHRE_SIGNATURES" -maxdepth 1 -name '*.p7' -exec cp {} "$dist"/ \;
(cd "$dist" && sha256sum -- * >SHA256SUMS && cat SHA256SUMS)
echo "Wrote $dist"
$verify || exit 0

# The second copy: another folder, umask, locale and time zone, and a time later.
copy=$(mktemp -d "${TMPDIR:-/tmp}/ochreline-verify.XXXXXX")
echo "Packaging a second copy in $copy/source"
(umask 077 && git clone -q "$OCHRE_ROOT" "$copy/source" &&
    LC_ALL=C TZ=Pacific/Kiritimati "$copy/source/scripts/package.sh" >"$copy/package.log" 2>&1) \
    || { tail -40 "$copy/package.log" >&2; echo "package.sh --verify: the second copy could not be packaged (log: $copy/package.log)" >&2; exit 1; }
if cmp -s "$dist/SHA256SUMS" "$copy/source/dist/SHA256SUMS"; then
    echo "Verified: the second copy's files are byte for byte the same"
    rm -rf "$copy"
    exit 0
fi
for file in "$dist"/*; do
    other=$copy/source/dist/${file##*/}
    cmp -s "$file" "$other" && continue
    echo "DIFFERS: ${file##*/}: $(cmp "$file" "$other" 2>&1 | head -1)"
    if command -v diffoscope >/dev/null; then
        diffoscope --text - "$file" "$other" | head -60 || true
    fi
done
echo "package.sh --verify: the second copy differs (kept in $copy)" >&2
exit 1

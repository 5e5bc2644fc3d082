#!/usr/bin/env bash
# Puts what a release ships into dist/: the Debian package, the Windows zip and the Windows installer,
# with their SHA-256 sums in SHA256SUMS. Builds the Linux and Windows trees first, or brings them up to date.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

ochre_install_packages
ochre_apt_install "${OCHRE_WINDOWS_PACKAGES[@]}"
ochre_build "$OCHRE_ROOT/build"
ochre_build_windows "$OCHRE_ROOT/build-windows"

# Signed with Authenticode when a certificate is given (packaging/windows/sign.sh).
if [ -n "${OCHRE_SIGN_PKCS12:-}" ]; then
    [ -n "${OCHRE_SIGN_PASSWORD+set}" ] || { echo "OCHRE_SIGN_PKCS12 is set, OCHRE_SIGN_PASSWORD is not" >&2; exit 1; }
    echo "Signing the Windows program, uninstaller and installer with $OCHRE_SIGN_PKCS12${OCHRE_SIGN_TIMESTAMP:+, timestamped by $OCHRE_SIGN_TIMESTAMP}"
else
    echo "The Windows program, uninstaller and installer are left unsigned: OCHRE_SIGN_PKCS12 and OCHRE_SIGN_PASSWORD are not set"
fi

dist=$OCHRE_ROOT/dist
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
(cd "$OCHRE_ROOT/build" && cpack -G DEB -B "$work/linux" >"$work/linux.log" 2>&1) \
    || { cat "$work/linux.log" >&2; exit 1; }
(cd "$OCHRE_ROOT/build-windows" && cpack -B "$work/windows" >"$work/windows.log" 2>&1) \
    || { cat "$work/windows.log" >&2; exit 1; }

rm -rf "$dist"
mkdir -p "$dist"
mv "$work"/linux/*.deb "$work"/windows/*.zip "$work"/windows/*.exe "$dist"/
(cd "$dist" && sha256sum -- * >SHA256SUMS && cat SHA256SUMS)
echo "Wrote $dist"

#!/usr/bin/env bash
# Puts what a release ships into dist/: the Debian package, the Windows zip and the Windows installer,
# with their SHA-256 sums in SHA256SUMS. Builds the Linux and Windows trees first, or brings them up to date.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

ochre_install_packages
ochre_apt_install "${OCHRE_WINDOWS_PACKAGES[@]}"
ochre_build "$OCHRE_ROOT/build"
ochre_build_windows "$OCHRE_ROOT/build-windows"

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

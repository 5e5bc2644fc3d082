#!/usr/bin/env bash
# Builds the Debian package of a build tree into a temporary directory, checks its control fields and
# the files it installs, checks `cmake --install` lays out the same files, and runs the desktop entry
# and AppStream validators on the installed copies.
# Usage: packaging_test.sh BUILD_DIR
set -euo pipefail

build_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

prefix=/usr
install_prefix=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$build_dir/CMakeCache.txt")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
[ -n "$install_prefix" ] && [ -n "$version" ] || fail "no install prefix or version in $build_dir/CMakeCache.txt"

(cd "$build_dir" && cpack -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) || {
    cat "$work/cpack.log" >&2
    fail "cpack -G DEB failed"
}
debs=("$work"/package/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one .deb, found: ${debs[*]}"
deb=${debs[0]}
echo "package: $(basename "$deb") ($(stat -c %s "$deb") bytes)"

field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = ochreline ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$version" ] || fail "Version is '$(field Version)', project is $version"
[ "$(field Maintainer)" = "Vantorel Software <info@vantorel.example>" ] || fail "Maintainer is '$(field Maintainer)'"
depends=$(field Depends)
echo "depends: $depends"
for runtime in libqt6widgets6 libqt6gui6 libsdl2-2.0-0 fonts-liberation; do
    grep -q "\b$runtime\b" <<<"$depends" || fail "Depends lacks $runtime"
done

expected=(
    "bin/ochreline"
    "share/ochreline/301.hlp"
    "share/applications/ochreline.desktop"
    "share/icons/hicolor/32x32/apps/ochreline.png"
    "share/metainfo/example.vantorel.ochreline.metainfo.xml"
)
dpkg-deb -c "$deb" >"$work/listing"
for path in "${expected[@]}"; do
    grep -q " \.$prefix/$path\$" "$work/listing" || fail "package lacks $prefix/$path"
done
grep -q "^-rwxr-xr-x .* \.$prefix/bin/ochreline\$" "$work/listing" || fail "bin/ochreline is not executable"

dpkg-deb -x "$deb" "$work/root"

DESTDIR="$work/destdir" cmake --install "$build_dir" >/dev/null
for path in "${expected[@]}"; do
    [ -f "$work/destdir$install_prefix/$path" ] || fail "cmake --install lacks $install_prefix/$path"
    cmp -s "$work/destdir$install_prefix/$path" "$work/root$prefix/$path" || [ "$path" = bin/ochreline ] \
        || fail "$path differs between cmake --install and the package"
done

desktop-file-validate "$work/root$prefix/share/applications/ochreline.desktop" || fail "desktop-file-validate rejected the desktop entry"
appstreamcli validate --no-net "$work/root$prefix/share/metainfo/example.vantorel.ochreline.metainfo.xml" \
    || fail "appstreamcli rejected the metainfo"
echo "packaging: all checks passed"

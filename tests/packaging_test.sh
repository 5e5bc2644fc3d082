#!/usr/bin/env bash
# Builds the Debian package of a build tree into a temporary directory, checks its control fields and
# the files it installs, checks `cmake --install` lays out the same files, and runs lintian and the
# desktop entry and AppStream validators on it: any error or warning fails.
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
web_address=http://www.vantorel.example/
app_id=org.example.vantorel.ochreline
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build_dir/CMakeCache.txt")
[ -n "$version" ] || fail "no project version in $build_dir/CMakeCache.txt"

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
[ "$(field Homepage)" = "$web_address" ] || fail "Homepage is '$(field Homepage)'"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
# A CMake list joined into the text shows as a ';' with no space after it.
description=$(field Description)
! grep -q ';[^ ]' <<<"$description" || fail "a list separator leaked into the Description: $description"
depends=$(field Depends)
echo "depends: $depends"
for runtime in libqt6widgets6 libqt6gui6 libsdl2-2.0-0 fonts-liberation; do
    grep -q "\b$runtime\b" <<<"$depends" || fail "Depends lacks $runtime"
done

expected=(
    "games/ochreline"
    "share/games/ochreline/301.hlp"
    "share/applications/$app_id.desktop"
    "share/metainfo/$app_id.metainfo.xml"
    "share/man/man6/ochreline.6.gz"
    "share/doc/ochreline/copyright"
    "share/doc/ochreline/changelog.gz"
    "share/icons/hicolor/scalable/apps/ochreline.svg"
)
for size in 16 24 32 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/ochreline.png")
done
dpkg-deb -c "$deb" >"$work/listing"
for path in "${expected[@]}"; do
    grep -q " \.$prefix/$path\$" "$work/listing" || fail "package lacks $prefix/$path"
done
grep -q "^-rwxr-xr-x .* \.$prefix/games/ochreline\$" "$work/listing" || fail "games/ochreline is not executable"

dpkg-deb -x "$deb" "$work/root"
changelog_version=$(dpkg-parsechangelog -l "$work/root$prefix/share/doc/ochreline/changelog.gz" -S Version)
[ "$changelog_version" = "$version" ] || fail "the changelog's latest entry is $changelog_version, the package $version"

DESTDIR="$work/destdir" cmake --install "$build_dir" --prefix "$prefix" >/dev/null
for path in "${expected[@]}"; do
    [ -f "$work/destdir$prefix/$path" ] || fail "cmake --install lacks $prefix/$path"
    cmp -s "$work/destdir$prefix/$path" "$work/root$prefix/$path" || [ "$path" = games/ochreline ] \
        || fail "$path differs between cmake --install and the package"
done

lintian --pedantic -I --fail-on error,warning "$deb" || fail "lintian reported an error or a warning"

desktop_report=$(desktop-file-validate "$work/root$prefix/share/applications/$app_id.desktop" 2>&1) \
    && [ -z "$desktop_report" ] || fail "desktop-file-validate: $desktop_report"

# The maker's web address is an http:// one: a finding about that address, or about the screenshot
# on that site, is expected; any other finding fails. Read from the plain report, which every AppStream
# release prints alike: a line per finding ("I: ID:LINE: TAG HINT", a long hint on the indented line
# after it), then a summary counting them by severity. The findings read must add up to that count: a
# report in a form this cannot read fails instead of passing unread.
metainfo_report=$(appstreamcli validate --pedantic --no-net --no-color \
    "$work/root$prefix/share/metainfo/$app_id.metainfo.xml" 2>&1) || fail "appstreamcli rejected the metainfo: $metainfo_report"
findings=$(awk '/^[A-Z]: [^ ]+:[^ ]*: [a-z0-9-]+/ { if (tag) print tag, hint; tag = $3; hint = $4; next }
                /^[[:space:]]+[^[:space:]]/ { if (tag && hint == "") hint = $1; next }
                END { if (tag) print tag, hint }' <<<"$metainfo_report")
counted=$(grep -oE '\b(errors|warnings|infos|pedantic): [0-9]+' <<<"$metainfo_report" | awk '{ n += $2 } END { print n + 0 }')
grep -qE 'Validation (was successful|failed)' <<<"$metainfo_report" \
    || fail "appstreamcli's report has no summary line: $metainfo_report"
[ "$(grep -c . <<<"$findings")" -eq "$counted" ] \
    || fail "read $(grep -c . <<<"$findings") findings where appstreamcli counts $counted: $metainfo_report"
echo "appstreamcli: ${findings:-no findings}"
unexpected=$(grep -Ev "^(url-not-secure|screenshot-media-url-not-secure) $web_address" <<<"$findings" || true)
[ -z "$unexpected" ] || fail "appstreamcli: $unexpected"
echo "packaging: all checks passed"

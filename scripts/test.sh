#!/usr/bin/env bash
# Installs what is missing, builds for Linux, for Linux with the sanitizers and for Windows with warnings as
# errors, and runs every test of the three through one CTest run (the Windows ones under Wine), the Linux
# tests in Debian 13 beside them. The first run builds Qt for Windows (scripts/windows-qt.sh), later runs reuse it.
# Where this release lacks the Windows build's packages, or Qt for Windows cannot be built, the Windows
# build and its tests are skipped with a line saying so.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

ochre_install_packages
# The Linux tests on Debian 13 (the debian_13 test) use a Debian system made by debootstrap: it is
# prepared meanwhile, mostly downloading, while Qt for Windows is built.
release_log=$(mktemp)
trap 'rm -f "$release_log"' EXIT
"$OCHRE_ROOT/scripts/debian-release.sh" trixie prepare >"$release_log" 2>&1 &
preparing=$!
ochre_install_sound_servers
ochre_install_desktops
windows_tree=
windows_skipped="SKIP: the Windows build and its tests: its packages could not be installed"
if ochre_install_windows; then
    windows_skipped="SKIP: the Windows build and its tests: Qt for Windows could not be built"
    if "$OCHRE_ROOT/scripts/windows-qt.sh" >/dev/null; then
        windows_skipped=
        windows_tree=$OCHRE_ROOT/build-windows
        ochre_build_windows "$windows_tree" -DOCHRELINE_WERROR=ON
    fi
fi
# The test waits for the preparation, or prepares again after a failure.
wait "$preparing" || true
cat "$release_log"
[ -z "$windows_skipped" ] || echo "$windows_skipped"
status=0
ochre_test_linux "$OCHRE_ROOT/build" "$windows_tree" || status=1
# The Linux tests' counts on Debian 13.
grep -h '^Debian trixie: ' "$OCHRE_ROOT/build/Testing/Temporary/LastTest.log" || true
[ -z "$windows_skipped" ] || echo "$windows_skipped"
exit $status

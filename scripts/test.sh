#!/usr/bin/env bash
# Installs what is missing, builds for Linux, for Linux with the sanitizers and for Windows with warnings as
# errors, and runs every test of the three through one CTest run (the Windows ones under Wine), the Linux
# tests in Debian 13 beside them. The first run builds Qt for Windows (scripts/windows-qt.sh), later runs
# reuse it: the first one runs the Linux tests while Qt is built, and the Windows tests in a CTest run of
# their own afterwards. Where this release lacks the Windows build's packages, or Qt for Windows cannot be
# built, the Windows build and its tests are skipped with a line saying so.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

ochre_install_packages
# The Linux tests on Debian 13 (the debian_13 test) use a Debian system made by debootstrap: it is
# prepared meanwhile, mostly downloading.
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
"$OCHRE_ROOT/scripts/debian-release.sh" trixie prepare >"$logs/release" 2>&1 &
preparing=$!
ochre_install_sound_servers
ochre_install_desktops
windows_tree=$OCHRE_ROOT/build-windows
windows_ready=
building_qt=
windows_skipped="SKIP: the Windows build and its tests: its packages could not be installed"
if ochre_install_windows; then
    windows_skipped=
    if "$OCHRE_ROOT/scripts/windows-qt.sh" --cached >/dev/null; then
        ochre_build_windows "$windows_tree" -DOCHRELINE_WERROR=ON
        windows_ready=$windows_tree
    else
        "$OCHRE_ROOT/scripts/windows-qt.sh" >"$logs/qt" 2>&1 &
        building_qt=$!
    fi
fi
# The test waits for the preparation, or prepares again after a failure.
wait "$preparing" || true
cat "$logs/release"
status=0
ochre_test_linux "$OCHRE_ROOT/build" "$windows_ready" || status=1
if [ -n "$building_qt" ]; then
    if wait "$building_qt"; then
        ochre_build_windows "$windows_tree" -DOCHRELINE_WERROR=ON
        (cd "$windows_tree" && ochre_ctest) || status=1
    else
        tail -40 "$logs/qt"
        windows_skipped="SKIP: the Windows build and its tests: Qt for Windows could not be built"
    fi
fi
# The Linux tests' counts on Debian 13.
grep -h '^Debian trixie: ' "$OCHRE_ROOT/build/Testing/Temporary/LastTest.log" || true
[ -z "$windows_skipped" ] || echo "$windows_skipped"
exit $status

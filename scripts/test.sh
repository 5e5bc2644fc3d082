#!/usr/bin/env bash
# Installs what is missing, builds for Linux, for Linux with the sanitizers and for Windows with warnings as
# errors, and runs every test of the three through one CTest run (the Windows ones under Wine). Beside it,
# from the start, a CTest run of its own runs debian_13: the Linux tests in Debian 13 (build-debian_13/).
# The first run builds Qt for Windows (scripts/windows-qt.sh), later runs reuse it: the first one runs the
# Linux tests while Qt is built, and the Windows tests in a CTest run of their own afterwards. Where this
# release lacks the Windows build's packages, or Qt for Windows cannot be built, the Windows build and its
# tests are skipped with a line saying so.
set -euo pipefail
source "$(dirname "$0")/setup.sh"

ochre_install_packages
logs=$(mktemp -d)
# A run that stops early leaves nothing of it running.
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$logs"' EXIT
# debian_13's system is made meanwhile by debootstrap, mostly downloading; its run waits for it.
"$OCHRE_ROOT/scripts/debian-release.sh" trixie prepare >"$logs/prepare" 2>&1 &
preparing=$!
debian_tree=$OCHRE_ROOT/build-debian_13
cmake -S "$OCHRE_ROOT/tests/debian_13" -B "$debian_tree" >/dev/null
(cd "$debian_tree" && ochre_ctest >"$logs/debian_13" 2>&1) &
debian=$!
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
ochre_install_sound_servers
ochre_install_desktops
status=0
ochre_configure_linux "$OCHRE_ROOT/build" "$windows_ready"
ochre_test_linux "$OCHRE_ROOT/build" || status=1
if [ -n "$building_qt" ]; then
    if wait "$building_qt"; then
        ochre_build_windows "$windows_tree" -DOCHRELINE_WERROR=ON
        (cd "$windows_tree" && ochre_ctest) || status=1
    else
        tail -40 "$logs/qt"
        windows_skipped="SKIP: the Windows build and its tests: Qt for Windows could not be built"
    fi
fi
wait "$preparing" || true
wait "$debian" || status=1
cat "$logs/prepare" "$logs/debian_13"
# The Linux tests' counts on Debian 13.
grep -h '^Debian trixie: ' "$debian_tree/Testing/Temporary/LastTest.log" || true
[ -z "$windows_skipped" ] || echo "$windows_skipped"
exit $status

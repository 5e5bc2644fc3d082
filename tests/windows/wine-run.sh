#!/usr/bin/env bash
# Runs a Windows program under Wine in the Wine prefix PREFIX, making the prefix on first use, and exits
# with the program's status. Usage: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# Wine draws on the X server in DISPLAY (the tests run under Xvfb); its own messages are silenced unless
# WINEDEBUG says otherwise.
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
# No .NET or browser engine: the first start would offer to download them.
export WINEDLLOVERRIDES="mscoree=;mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Debian puts neither on PATH unless the wine package is installed.
wine=$(command -v wine64 || echo /usr/lib/wine/wine64)
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

if [ ! -f "$WINEPREFIX/.ochreline-ready" ]; then
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.ochreline-ready" ]; then
            "$wine" wineboot --init >/dev/null 2>&1
            "$wineserver" -w
            touch "$WINEPREFIX/.ochreline-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

status=0
"$wine" "$@" || status=$?
exit "$status"

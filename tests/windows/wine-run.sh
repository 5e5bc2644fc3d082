#!/usr/bin/env bash
# Runs a Windows program under Wine in the Wine prefix PREFIX, making the prefix on first use, and exits
# with the program's status. Usage: wine-run.sh PREFIX PROGRAM.exe [ARGUMENTS...]
# Wine draws on the X server in DISPLAY (the tests run under Xvfb); its own messages are silenced unless
# WINEDEBUG says otherwise.
set -euo pipefail
export WINEPREFIX=$1
shift
export WINEDEBUG=${WINEDEBUG:--all}
# Without a console window Qt hands its messages, QtTest's report among them, to the debugger only.
export QT_FORCE_STDERR_LOGGING=1
# Wine hides the host's QT_ variables from Windows programs (they would be meant for the host's Qt) and
# passes WINEQT_ ones on without the prefix: the test's own settings go that way.
while IFS='=' read -r name value; do
    export "WINE$name=$value"
done < <(env | grep '^QT_')
# No .NET or browser engine: the first start would offer to download them.
export WINEDLLOVERRIDES="mscoree=;mshtml=${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
# Debian puts wine64 and wineserver on the PATH only with its wine package; wine64 alone installs them here.
export PATH=$PATH:/usr/lib/wine
wine=wine64

if [ ! -f "$WINEPREFIX/.ochreline-ready" ]; then
    mkdir -p "$WINEPREFIX"
    (
        flock 9
        if [ ! -f "$WINEPREFIX/.ochreline-ready" ]; then
            "$wine" wineboot --init >/dev/null 2>&1
            wineserver -w
            # Wine's own Windows fonts (Debian's fonts-wine: MS Sans Serif, Tahoma, Marlett for the caption
            # buttons) where Windows keeps its fonts; Debian's Wine does not look for them where they lie.
            cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
            touch "$WINEPREFIX/.ochreline-ready"
        fi
    ) 9>"$WINEPREFIX.lock"
fi

status=0
"$wine" "$@" || status=$?
exit "$status"

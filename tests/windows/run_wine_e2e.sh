#!/usr/bin/env bash
# Runs the Windows program under Wine on an X display of its own with openbox, which manages and lists
# its windows, and a private PipeWire whose PulseAudio service Wine plays into (winepulse); the driver
# wine_e2e.py checks the start-up, a dart and the exit. Not PulseAudio itself: its null sink takes
# nothing from Wine's short-buffered streams, and a sound played through it never reaches the sink. The Wine prefix is the test's own, made before
# anything is timed. Everything started here is ended on the way out, the prefix's Wine processes too.
# SCALE: the percentage Windows' display is set to in the prefix (100 when not given). TOP_MARGIN:
# openbox keeps that many pixels at the screen's top out of its work area, as for a panel there.
# Usage: run_wine_e2e.sh PROGRAM.exe PREFIX [SCALE [TOP_MARGIN]]
set -euo pipefail

program=$1
prefix=$2
scale=${3:-100}
top_margin=${4:-}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
python=/usr/bin/python3 # Debian's own, which has python3-xlib
source "$here/../e2e/x-display.sh"
source "$here/../../scripts/setup.sh"
wine_run=$here/wine-run.sh
harness=$here/../sound-fixtures
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

missing=()
for tool in Xvfb xdotool openbox "$python" "$wineserver"; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
sound_missing=$(ochre_sound_server_missing pipewire)
[ -z "$sound_missing" ] || missing+=($sound_missing)
command -v wine64 >/dev/null || [ -x /usr/lib/wine/wine64 ] || missing+=(wine64)
"$python" -c 'import Xlib' 2>/dev/null || missing+=(python3-xlib)
[ -f "$program" ] || missing+=("$program")
if [ ${#missing[@]} -ne 0 ]; then
    echo "FAIL: missing ${missing[*]}; scripts/setup.sh installs them" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ochre-wine-e2e.XXXXXX")
sound_started=
cleanup() {
    if [ -s "$work/program.pid" ]; then
        kill -KILL "$(cat "$work/program.pid")" 2>/dev/null || true
    fi
    # The prefix's server and the Wine processes it serves hold the display: they go before it.
    WINEPREFIX=$prefix "$wineserver" -k 2>/dev/null || true
    WINEPREFIX=$prefix "$wineserver" -w 2>/dev/null || true
    [ -z "$sound_started" ] || bash "$harness/start-sound-server.sh" stop "$work/sound" >/dev/null 2>&1 || true
    e2e_stop_display
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

e2e_start_xvfb 1280x1024
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY XDG_SESSION_TYPE XDG_CURRENT_DESKTOP
e2e_start_window_manager openbox $top_margin

mkdir "$work/sound"
sound_started=1
variables=$(bash "$harness/start-sound-server.sh" pipewire "$work/sound") \
    || { echo "FAIL: the PipeWire server did not start" >&2; exit 1; }
eval "$variables"

# A fresh prefix takes Wine several seconds to make: before the program is started and timed. Wine draws
# the Windows frames itself, as Windows would: with openbox's frames instead, a window's frame on screen
# would not be the one the program placed (openbox's is thinner than Windows' at the top).
"$wine_run" "$prefix" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1 \
    || { echo "FAIL: Wine did not start in $prefix" >&2; exit 1; }
# Windows' display scale, as its settings set it: dots per inch, 96 at 100 %.
"$wine_run" "$prefix" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $((96 * scale / 100)) /f \
    >/dev/null 2>&1 || { echo "FAIL: the scale could not be set in $prefix" >&2; exit 1; }
# Wine 10 reads the scale once per session of the prefix's server, as Windows does once per sign-in: the
# session that made a fresh prefix ends before the program starts, or it would start at 100 %.
WINEPREFIX=$prefix "$wineserver" -w

export E2E_PID_FILE="$work/program.pid" E2E_SCALE="$(awk "BEGIN { print $scale / 100 }")" E2E_TOP_MARGIN="$top_margin"
"$python" -B -u "$here/wine_e2e.py" "$wine_run" "$prefix" "$program"

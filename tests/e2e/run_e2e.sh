#!/usr/bin/env bash
# Installs the build into a staging prefix and plays a match on the installed program, inside an X
# display and a D-Bus session (with the accessibility bus) of its own, so that nothing on the
# machine's own display or session can get in the way. Everything it starts is ended on the way out.
# DESKTOP: "openbox" gives the display that window manager, which frames and lists the program's windows;
# "mutter-x11" GNOME's, where the installed mutter can still be an X11 window manager (skipped, 77, where not).
# "mutter" or "kwin" runs that Wayland compositor and starts the program on its Xwayland as a Wayland
# session does (WAYLAND_DISPLAY, DISPLAY, XDG_SESSION_TYPE=wayland, XDG_CURRENT_DESKTOP): nested in the
# display, or headless with a monitor of the display's size where mutter offers no nesting; skipped (77)
# where the compositor or Qt's Wayland platform is not installed.
# PRIMARY: "LEFT" or "RIGHT" declares two monitors on one wide screen, LEFT 1280x1024+0+0 and RIGHT
# 1920x1080+1280+0, that one primary: the program's windows belong on it.
# TOP_MARGIN: openbox keeps that many pixels at the screen's top out of its work area, as for a panel.
# SCALE (with PRIMARY): Qt scales the other monitor by that factor, and the driver moves the main window
# there once the match is played.
# Usage: run_e2e.sh CMAKE_COMMAND BUILD_DIR [DESKTOP [PRIMARY [TOP_MARGIN [SCALE]]]]
set -euo pipefail

cmake_command=$1
build_dir=$2
desktop=${3:-}
primary=${4:-}
top_margin=${5:-}
scale=${6:-}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
python=/usr/bin/python3 # Debian's own, which has pyatspi; another python3 on PATH may not
source "$here/x-display.sh"

window_manager=$desktop
screen=1280x1024
case $desktop in
    mutter-x11)
        window_manager=mutter
        if ! command -v mutter >/dev/null || ! mutter --help 2>&1 | grep -q -- '--x11 '; then
            echo "SKIP: the installed mutter cannot be an X11 window manager, or none is installed"
            exit 77
        fi ;;
    mutter | kwin)
        window_manager=
        compositor=$desktop
        [ "$desktop" = kwin ] && compositor=kwin_wayland
        if ! command -v "$compositor" >/dev/null || ! command -v Xwayland >/dev/null \
            || ! dpkg-query -W -f='${Status}' qt6-wayland 2>/dev/null | grep -q 'ok installed'; then
            echo "SKIP: $compositor, Xwayland or qt6-wayland is not installed (scripts/setup.sh's desktop group)"
            exit 77
        fi
        screen=1920x1080 ;;
esac
case $primary in
    LEFT) windows_screen="0 0 1280 1024" other=RIGHT other_screen="1280 0 1920 1080" ;;
    RIGHT) windows_screen="1280 0 1920 1080" other=LEFT other_screen="0 0 1280 1024" ;;
    "") windows_screen= ;;
    *) echo "FAIL: PRIMARY is LEFT or RIGHT, not $primary" >&2; exit 1 ;;
esac
[ -n "$primary" ] && screen=3200x1080
scaled_screen=
if [ -n "$scale" ]; then
    [ -n "$primary" ] || { echo "FAIL: SCALE needs PRIMARY" >&2; exit 1; }
    export QT_SCREEN_SCALE_FACTORS="$primary=1;$other=$scale"
    scaled_screen=$other_screen
fi

missing=()
for tool in Xvfb xdotool dbus-run-session "$python" $window_manager ${primary:+xrandr}; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
"$python" -c 'import pyatspi, Xlib' 2>/dev/null || missing+=("python3-pyatspi and python3-xlib")
if [ ${#missing[@]} -ne 0 ]; then
    echo "FAIL: missing ${missing[*]}; scripts/setup.sh installs them" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ochre-e2e.XXXXXX")
session=
end() { # signal, file holding a pid
    local pid
    [ -s "$2" ] || return 0
    pid=$(cat "$2")
    kill -0 "$pid" 2>/dev/null && kill "-$1" "$pid" 2>/dev/null
    return 0
}
cleanup() {
    end TERM "$work/driver.pid" # the driver ends the program on its way out
    if [ -n "$session" ]; then
        for _ in $(seq 50); do
            kill -0 "$session" 2>/dev/null || break
            sleep 0.1
        done
        end KILL "$work/driver.pid"
        wait "$session" 2>/dev/null || true
    fi
    end KILL "$work/program.pid"
    e2e_stop_display
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$cmake_command" --install "$build_dir" --prefix "$work/prefix" >/dev/null
program="$work/prefix/games/ochreline"
[ -x "$program" ] || { echo "FAIL: the install put no executable at $program" >&2; exit 1; }

e2e_start_xvfb "$screen"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# Their own empty configuration directories: the defaults, whatever the user has configured.
export XDG_CONFIG_HOME="$work/config" XDG_CACHE_HOME="$work/cache"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS WAYLAND_DISPLAY XDG_SESSION_TYPE XDG_CURRENT_DESKTOP

if [ -n "$primary" ]; then
    # The monitor that holds the screen's one output is the primary one.
    for monitor in "LEFT 1280/338x1024/270+0+0" "RIGHT 1920/508x1080/286+1280+0"; do
        output=none
        [ "${monitor%% *}" = "$primary" ] && output=screen
        xrandr --setmonitor ${monitor} "$output" >/dev/null
    done
    xrandr --output screen --primary
fi

[ -z "$window_manager" ] || e2e_start_window_manager "$window_manager" $top_margin

# What the session runs: the driver, whose exit status is the test's. A compositor may drop what its
# session prints, so the driver's report goes to a file, shown at the end.
cat >"$work/session.sh" <<EOF
#!/bin/sh
cd $(printf %q "$here")
status=0
$(printf %q "$python") -B -u test_match.py $(printf %q "$program") >$(printf %q "$work/driver.log") 2>&1 || status=\$?
echo "\$status" >$(printf %q "$work/status")
EOF
chmod +x "$work/session.sh"
socket=wayland-e2e
case $desktop in
    mutter)
        export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=GNOME MUTTER_DEBUG_DUMMY_MODE_SPECS=$screen
        session_command=(mutter --wayland --wayland-display="$socket")
        if mutter --help 2>&1 | grep -q -- '--nested '; then
            session_command+=(--nested)
        elif mutter --help 2>&1 | grep -q -- '--virtual-monitor '; then
            session_command+=(--headless --virtual-monitor "$screen")
        else
            echo "SKIP: the installed mutter offers neither a nested nor a headless compositor"
            exit 77
        fi
        session_command+=(-- "$work/session.sh") ;;
    kwin)
        # The installed binary carries a file capability that a container may refuse; a copy has none.
        cp "$(command -v kwin_wayland)" "$work/kwin_wayland"
        # xdotool's input reaches Xwayland's clients without the prompt newer kwin puts first, which nobody answers.
        mkdir -p "$XDG_CONFIG_HOME"
        printf '[Xwayland]\nXwaylandEisNoPromptApps=xdotool\n' >"$XDG_CONFIG_HOME/kwinrc"
        export XDG_SESSION_TYPE=wayland XDG_CURRENT_DESKTOP=KDE
        session_command=("$work/kwin_wayland" --x11-display "$DISPLAY" --width "${screen%x*}"
            --height "${screen#*x}" --xwayland --socket "$socket" --no-lockscreen --no-global-shortcuts
            --no-kactivities --exit-with-session "$work/session.sh") ;;
    *) session_command=("$work/session.sh") ;;
esac

# In the background so that a signal to this script is handled at once. What the session bus, the
# accessibility registry and a compositor print goes to a log, shown where the driver left no status.
export E2E_PID_FILE="$work/program.pid" E2E_DRIVER_PID_FILE="$work/driver.pid" E2E_WINDOW_MANAGER="$desktop" \
    E2E_SCREEN="$windows_screen" E2E_TOP_MARGIN="$top_margin" E2E_SCALED_SCREEN="$scaled_screen" E2E_SCALE="$scale"
dbus-run-session -- "${session_command[@]}" 2>"$work/session.log" &
session=$!
wait "$session" || true
[ -f "$work/driver.log" ] && cat "$work/driver.log"
if [ ! -s "$work/status" ]; then
    echo "FAIL: the driver left no exit status" >&2
    [ -s "$work/session.log" ] && tail -n 40 "$work/session.log" >&2
    exit 1
fi
exit "$(cat "$work/status")"

#!/usr/bin/env bash
# Installs the build into a staging prefix and plays a match on the installed program, inside an X
# display and a D-Bus session (with the accessibility bus) of its own, so that nothing on the
# machine's own display or session can get in the way. Everything it starts is ended on the way out.
# With "openbox" the display gets that window manager, which frames and lists the program's windows.
# Usage: run_e2e.sh CMAKE_COMMAND BUILD_DIR [openbox]
set -euo pipefail

cmake_command=$1
build_dir=$2
window_manager=${3:-}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
python=/usr/bin/python3 # Debian's own, which has pyatspi; another python3 on PATH may not

missing=()
for tool in Xvfb xdotool dbus-run-session "$python" $window_manager; do
    command -v "$tool" >/dev/null || missing+=("$tool")
done
"$python" -c 'import pyatspi, Xlib' 2>/dev/null || missing+=("python3-pyatspi and python3-xlib")
if [ ${#missing[@]} -ne 0 ]; then
    echo "FAIL: missing ${missing[*]}; scripts/setup.sh installs them" >&2
    exit 1
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/ochre-e2e.XXXXXX")
xvfb_pid=
wm_pid=
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
    if [ -n "$wm_pid" ]; then
        kill "$wm_pid" 2>/dev/null || true
        wait "$wm_pid" 2>/dev/null || true
    fi
    if [ -n "$xvfb_pid" ]; then
        kill "$xvfb_pid" 2>/dev/null || true
        wait "$xvfb_pid" 2>/dev/null || true
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

"$cmake_command" --install "$build_dir" --prefix "$work/prefix" >/dev/null
program="$work/prefix/games/ochreline"
[ -x "$program" ] || { echo "FAIL: the install put no executable at $program" >&2; exit 1; }

# Xvfb picks a free display itself and writes its number once it accepts connections.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -s 0 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    [ -s "$work/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
if [ ! -s "$work/display" ]; then
    echo "FAIL: Xvfb did not start within 10 s:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi
export DISPLAY=":$(head -n1 "$work/display")"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS

if [ -n "$window_manager" ]; then
    # Its own empty configuration directory: the defaults, whatever the user has configured.
    XDG_CONFIG_HOME="$work/config" "$window_manager" --sm-disable >"$work/wm.log" 2>&1 &
    wm_pid=$!
    # A window manager announces itself with a check window on the root window (EWMH).
    if ! "$python" - <<'EOF'
import sys, time
from Xlib import X, display
x = display.Display()
root = x.screen().root
check = x.intern_atom("_NET_SUPPORTING_WM_CHECK")
deadline = time.monotonic() + 10
while root.get_full_property(check, X.AnyPropertyType) is None:
    if time.monotonic() > deadline:
        sys.exit(1)
    time.sleep(0.05)
EOF
    then
        echo "FAIL: $window_manager did not take over the display within 10 s:" >&2
        cat "$work/wm.log" >&2
        exit 1
    fi
fi

cd "$here"
# In the background so that a signal to this script is handled at once; the noise that the session
# bus and the accessibility registry print on start is left out.
{
    status=0
    E2E_PID_FILE="$work/program.pid" E2E_DRIVER_PID_FILE="$work/driver.pid" E2E_WINDOW_MANAGER="$window_manager" \
        dbus-run-session -- "$python" -B -u test_match.py "$program" || status=$?
    echo "$status" >"$work/status"
} 2>&1 | grep --line-buffered -v -e 'fd limit' -e '^dbus-daemon\[' -e 'SpiRegistry daemon' &
session=$!
wait "$session" || true
[ -s "$work/status" ] || { echo "FAIL: the driver left no exit status" >&2; exit 1; }
exit "$(cat "$work/status")"

# Sourced by the end-to-end runners: an Xvfb display of the test's own, optionally with a window
# manager, and their ending. The caller sets `work` (a scratch folder) and calls e2e_stop_display
# on its way out.

e2e_xvfb_pid=
e2e_wm_pid=

# Xvfb picks a free display itself and writes its number once it accepts connections. It keeps what is
# declared on it (the monitors) while no client is connected. Exports DISPLAY. Usage: e2e_start_xvfb WxH
e2e_start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "${1}x24" -nolisten tcp -s 0 -noreset 3>"$work/display" 2>"$work/xvfb.log" &
    e2e_xvfb_pid=$!
    for _ in $(seq 100); do
        [ -s "$work/display" ] && break
        kill -0 "$e2e_xvfb_pid" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$work/display" ]; then
        echo "FAIL: Xvfb did not start within 10 s:" >&2
        cat "$work/xvfb.log" >&2
        return 1
    fi
    export DISPLAY=":$(head -n1 "$work/display")"
}

# Starts the window manager and waits until it has taken over the display. TOP_MARGIN (openbox only)
# keeps that many pixels at the screen's top out of its work area, as a panel there would. mutter is
# started as the X11 window manager it can also be, without accessibility: the GTK client it draws frames
# in would otherwise put an accessibility bus of its own on the display, where the program looks first.
# Usage: e2e_start_window_manager NAME [TOP_MARGIN]
e2e_start_window_manager() {
    local command=("$1") options=(--sm-disable)
    [ "$1" = mutter ] && command=(env GTK_A11Y=none mutter --x11)
    if [ -n "${2:-}" ]; then
        printf '<openbox_config xmlns="http://openbox.org/3.4/rc"><margins><top>%s</top></margins></openbox_config>\n' \
            "$2" >"$work/openbox-rc.xml"
        options+=(--config-file "$work/openbox-rc.xml")
    fi
    "${command[@]}" "${options[@]}" >"$work/wm.log" 2>&1 &
    e2e_wm_pid=$!
    if ! /usr/bin/python3 "$(dirname "${BASH_SOURCE[0]}")/desktop.py" wait-window-manager; then
        echo "FAIL: $1 did not take over the display within 10 s:" >&2
        cat "$work/wm.log" >&2
        return 1
    fi
}

e2e_stop_display() {
    local pid
    for pid in "$e2e_wm_pid" "$e2e_xvfb_pid"; do
        [ -n "$pid" ] || continue
        kill "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
}

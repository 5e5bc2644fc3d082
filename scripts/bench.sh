#!/usr/bin/env bash
# Builds, then runs the speed and memory benches under Xvfb and prints one line per figure, which it
# also writes into docs/performance.md:
#   name value unit reference ratio
# The reference is measured in the same run ("-" where there is none); ratio = value / reference.
# OCHRE_BENCH_BUILD picks another build directory; OCHRE_BENCH_RUNS the start-up runs (default 15).
set -euo pipefail
source "$(dirname "$0")/setup.sh"
build=${OCHRE_BENCH_BUILD:-$OCHRE_ROOT/build}

# Puts the printed lines between the markers of docs/performance.md, saying when and how they were taken.
write_figures() { # FIGURES_FILE LOAD_AT_START
    local doc="$OCHRE_ROOT/docs/performance.md" block
    grep -qx '<!-- bench.sh: begin -->' "$doc" \
        || printf '\n## Latest run\n\n<!-- bench.sh: begin -->\n<!-- bench.sh: end -->\n' >>"$doc"
    block=$(mktemp)
    {
        echo "Run of $(date -u '+%Y-%m-%d %H:%M UTC') on $(nproc) cores, load $2 at the start," \
             "${OCHRE_BENCH_RUNS:-15} start-up runs (\`scripts/bench.sh\`):"
        echo
        echo '```'
        cat "$1"
        echo '```'
    } >"$block"
    awk -v block="$block" '
        /^<!-- bench.sh: begin -->$/ { print; while ((getline line < block) > 0) print line; skip = 1; next }
        /^<!-- bench.sh: end -->$/ { skip = 0 }
        !skip' "$doc" >"$doc.new"
    mv "$doc.new" "$doc"
    rm -f "$block"
}

if [ "${1:-}" != --inside-xvfb ]; then
    ochre_install_packages
    ochre_install_sound_servers
    ochre_build "$build" -DOCHRELINE_SANITIZE=OFF >&2 # figures of an instrumented build mean nothing
    load=$(cut -d' ' -f1 /proc/loadavg)
    figures=$(mktemp)
    xvfb-run -a -s "-screen 0 1600x1200x24" "$0" --inside-xvfb | tee "$figures"
    write_figures "$figures" "$load"
    rm -f "$figures"
    exit 0
fi

bin="$build/bench"
log="$bin/bench-stderr.log"
: >"$log"
run() {
    "$@" 2>>"$log" || { echo "$1 failed; its messages are in $log" >&2; exit 1; }
}

echo "# name value unit reference ratio"
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} run "$bin/startup_bench" "${OCHRE_BENCH_RUNS:-15}" 10000 1000
# The same start-up as users start it on a desktop with a PipeWire server: SDL picks its driver.
startup_on_pipewire() {
    local harness missing dir variables
    harness=$(ochre_sound_harness)
    missing=$(ochre_sound_server_missing pipewire)
    [ -z "$missing" ] || { echo "# startup on pipewire skipped: missing $missing"; return 0; }
    dir=$(mktemp -d "${TMPDIR:-/tmp}/ochre-sound.XXXXXX")
    if variables=$(bash "$harness/start-sound-server.sh" pipewire "$dir" 2>>"$log"); then
        (eval "$variables"; unset SDL_AUDIODRIVER
         run "$bin/startup_bench" "${OCHRE_BENCH_RUNS:-15}" 0 0 pipewire | grep -E '^startup_(first_paint|painted)_') || true
    else
        echo "# startup on pipewire skipped: the server did not start; see $log"
    fi
    bash "$harness/start-sound-server.sh" stop "$dir" >/dev/null 2>&1 || true
    rm -rf "$dir"
}
startup_on_pipewire
run "$bin/dart_latency" 3000
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} run "$bin/sound_figures" 9 5000
run "$bin/name_box_figures"

# The sounds on private sound servers of the sound test harness: sound_latency's line per sound,
# what reached the server, and where the virtual ALSA card logs what it played, how soon each sound
# was heard after its call; then what opening the device costs and the idle wake-ups once it has
# been let go; then, on a server without a virtual card, what stopping the server (SIGSTOP) does to
# the window, one line per moment of the stop. A server that cannot run here is named with the reason.
sound_on_server() { # KIND SDL_DRIVER
    local kind=$1 driver=$2 harness missing dir variables card heard
    echo "# sound on $kind, SDL driver $driver"
    harness=$(ochre_sound_harness)
    missing=$(ochre_sound_server_missing "$kind")
    [ -z "$missing" ] || { echo "#   skipped: missing $missing"; return 0; }
    dir=$(mktemp -d "${TMPDIR:-/tmp}/ochre-sound.XXXXXX")
    if variables=$(bash "$harness/start-sound-server.sh" "$kind" "$dir" 2>>"$log"); then
        # A recording of the server's monitor is too coarse in time to say when a sound was heard.
        case $kind in
            *alsa) card=(--card-log) heard=(python3 "$OCHRE_ROOT/bench/heard_delay.py" "$OCHRE_ROOT/resources") ;;
            *) card=(--quiet-segments) heard=(grep -v '^call ') ;;
        esac
        (eval "$variables"
         SDL_AUDIODRIVER=$driver python3 "$harness/record-sink.py" "${card[@]}" -- "$bin/sound_latency" --calls \
             2>>"$log" | "${heard[@]}" | sed -e '/^audio device/d' -e 's/^/#   /' || true
         # What opening the device costs on this server, and whether it is let go when idle.
         SDL_AUDIODRIVER=$driver "$bin/sound_figures" 1 3000 2>>"$log" \
             | grep -E '^sound_(first_call|reopen)_HIT_(blocked|first_sample) |^sound_idle_wakeups' | sed 's/^/#   /'
         case $kind in pipewire|pulseaudio)
             for stop in device_open idle_release mid_sound no_input; do
                 SDL_AUDIODRIVER=$driver "$bin/frozen_server" "$stop" 2>>"$log" \
                     || echo "#   frozen_server $stop failed; see $log"
             done
         esac) || true
    else
        echo "#   skipped: the server did not start; see $log"
    fi
    bash "$harness/start-sound-server.sh" stop "$dir" >/dev/null 2>&1 || true
    rm -rf "$dir"
}
for server in pipewire:pipewire pipewire:pulseaudio pulseaudio:pulseaudio alsa:alsa \
              pulseaudio-alsa:pulseaudio pipewire-alsa:pipewire pipewire-alsa:pulseaudio; do
    sound_on_server "${server%%:*}" "${server#*:}"
done

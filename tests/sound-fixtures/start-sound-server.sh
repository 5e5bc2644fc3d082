#!/usr/bin/env bash
# Starts a sound server private to one test, playing into a sink of its own, and prints the
# variables a test needs as export lines for eval; `stop DIR` ends exactly what was started there.
#
#   start-sound-server.sh KIND DIR
#   start-sound-server.sh stop DIR
#
# KIND:
#   pipewire         PipeWire, WirePlumber and PipeWire's PulseAudio service, as on a Debian 12
#                    desktop, with a sink driven by its own timer; SDL's pipewire and pulseaudio
#                    drivers both reach it.
#   pulseaudio       PulseAudio with a null sink, the sink of a PulseAudio without a sound card, its
#                    rewinds off: a rewind takes back what the sink rendered ahead, but not what its
#                    monitor has passed on, so a sound's first block reached the recording twice.
#   alsa             no server: the virtual card (virtual_card.c, built here) is ALSA's default.
#   pipewire-alsa, pulseaudio-alsa
#                    the server plays into the virtual card through its own sound-card path, so the
#                    card's log tells when each sound was heard.
# Printed: SOUND_TEST_KIND, SOUND_TEST_DIR, XDG_RUNTIME_DIR; with a server PULSE_SERVER and
# SOUND_TEST_MONITOR (the sink's monitor source), with PipeWire PIPEWIRE_RUNTIME_DIR and
# DBUS_SESSION_BUS_ADDRESS; with the card SOUND_TEST_CARD_LOG (ALSA_CONFIG_PATH for kind alsa).
# DIR/pids holds a "PID NAME" line for every process started; the servers' logs are beside it.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/../../scripts/setup.sh"

# A start that fails ends what it had started.
die() {
    echo "start-sound-server: $*" >&2
    [ "${phase:-}" != starting ] || { phase=failed; stop_all; }
    exit 1
}

wait_for() { # SECONDS COMMAND...: until COMMAND succeeds
    local tries=$(($1 * 20))
    shift
    until "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.05
    done
}

running() { local state; state=$(ps -o stat= -p "$1") && [ "${state:0:1}" != Z ]; }

# Newest first, so clients go before the graph and the bus they use. A stopped process is continued
# so that it can end.
stop_all() {
    [ -f "$dir/pids" ] || die "nothing was started in $dir"
    tac "$dir/pids" | while read -r pid _; do
        kill -TERM "$pid" 2>/dev/null || continue
        kill -CONT "$pid" 2>/dev/null || true
        wait_for 3 eval "! running $pid" || kill -KILL "$pid" 2>/dev/null || true
    done
    rm -f "$dir/pids"
}

launch() { # NAME COMMAND...: in the background, logged to DIR/NAME.log
    local name=$1
    shift
    "$@" >"$dir/$name.log" 2>&1 &
    echo "$! $name" >>"$dir/pids"
}

build_card() {
    gcc -O2 -fPIC -DPIC -shared -o "$dir/libasound_module_pcm_virtual_card.so" "$here/virtual_card.c" -lasound \
        || die "the virtual card did not build"
    cat >"$dir/asound.conf" <<CONF
pcm_type.virtual_card { lib "$dir/libasound_module_pcm_virtual_card.so" }
pcm.virtualcard { type virtual_card log "$dir/card.log" }
pcm.!default { type plug slave.pcm "virtualcard" }
CONF
    : >"$dir/card.log"
    card_config=/usr/share/alsa/alsa.conf:$dir/asound.conf
    card_env=(ALSA_CONFIG_PATH="$card_config") # for the server only
}

# Named and described: SDL 3 lists no sink without a description, and then finds no default device.
sink_properties() { # the sink's node: a timer-driven null sink, or PipeWire's ALSA sink on the card
    echo 'node.name = "test-sink" node.description = "Test sink" media.class = "Audio/Sink"'
    echo 'audio.rate = 48000 audio.channels = 2'
    echo 'audio.position = [ FL FR ] priority.driver = 30000 priority.session = 30000'
    if [ -n "$card_config" ]; then
        echo 'factory.name = api.alsa.pcm.sink api.alsa.path = "virtualcard"'
    else
        echo 'factory.name = support.null-audio-sink node.driver = true'
    fi
}

start_pipewire() {
    local pulse_conf bus
    pulse_conf=$(ochre_pipewire_pulse_conf) || die "no pipewire-pulse.conf (scripts/setup.sh unpacks it)"
    mkdir -p "$dir/config/pipewire/pipewire.conf.d"
    printf 'context.objects = [ { factory = adapter args = {\n%s\n} } ]\n' "$(sink_properties)" \
        >"$dir/config/pipewire/pipewire.conf.d/50-test-sink.conf"
    export XDG_CONFIG_HOME=$dir/config PIPEWIRE_RUNTIME_DIR=$dir/run
    # WirePlumber and the PulseAudio service look for a session bus: one of its own.
    bus=$(dbus-daemon --session --fork --nopidfile --print-address=1 --print-pid=1 \
        --address="unix:path=$dir/run/bus") || die "dbus-daemon did not start"
    echo "$(sed -n 2p <<<"$bus") dbus-daemon" >>"$dir/pids"
    DBUS_SESSION_BUS_ADDRESS=$(sed -n 1p <<<"$bus")
    export DBUS_SESSION_BUS_ADDRESS
    launch pipewire env "${card_env[@]}" pipewire
    wait_for 10 test -S "$dir/run/pipewire-0" || die "pipewire did not start; see $dir/pipewire.log"
    launch wireplumber wireplumber
    launch pipewire-pulse pipewire -c "$pulse_conf"
    wait_for 10 pactl info || die "pipewire-pulse did not answer; see $dir/pipewire-pulse.log"
    # Streams go to the default sink, which WirePlumber chooses once it has seen the node.
    # shellcheck disable=SC2016 # expanded by eval at each try
    wait_for 10 eval '[ "$(pactl get-default-sink)" = test-sink ]' \
        || die "WirePlumber did not choose test-sink; see $dir/wireplumber.log"
}

start_pulseaudio() {
    local sink="module-null-sink sink_name=test-sink norewinds=1"
    [ -z "$card_config" ] || sink="module-alsa-sink device=virtualcard sink_name=test-sink"
    sink+=" sink_properties=device.description=Test-sink"
    export PULSE_STATE_PATH=$dir/state PULSE_RUNTIME_PATH=$dir/run/pulse
    launch pulseaudio env "${card_env[@]}" pulseaudio -n --daemonize=no \
        --exit-idle-time=-1 --disallow-exit --log-target=stderr -L "$sink" -L module-native-protocol-unix
    wait_for 10 pactl info || die "pulseaudio did not answer; see $dir/pulseaudio.log"
}

[ $# -eq 2 ] || { sed -n '2,/^set /{/^#/p}' "$0" >&2; exit 2; }
kind=$1
case $kind in
    stop)
        dir=$(cd "$2" && pwd) || die "no folder $2"
        stop_all
        exit 0
        ;;
    pipewire | pipewire-alsa | pulseaudio | pulseaudio-alsa | alsa) ;;
    *) die "unknown kind $kind (pipewire, pipewire-alsa, pulseaudio, pulseaudio-alsa, alsa)" ;;
esac
mkdir -p "$2"
dir=$(cd "$2" && pwd)
[ ! -s "$dir/pids" ] || die "$dir has a server running; stop it first"
# Nothing runs here now: sockets left by servers that were killed go.
rm -rf "$dir/run"
mkdir -p "$dir/run" "$dir/state"
chmod 700 "$dir/run"
: >"$dir/pids"
phase=starting
export XDG_RUNTIME_DIR=$dir/run XDG_STATE_HOME=$dir/state PULSE_SERVER=unix:$dir/run/pulse/native
card_config=
card_env=()
case $kind in *alsa) build_card ;; esac
case $kind in
    pipewire*) start_pipewire ;;
    pulseaudio*) start_pulseaudio ;;
esac
phase=started

exports() { # NAME=VALUE...: one export line for eval
    local pair
    printf export
    for pair; do printf ' %s=%q' "${pair%%=*}" "${pair#*=}"; done
    echo
}
exports SOUND_TEST_KIND="$kind" SOUND_TEST_DIR="$dir" XDG_RUNTIME_DIR="$XDG_RUNTIME_DIR"
if [ "$kind" = alsa ]; then
    # With an empty runtime folder and no server named, ALSA's PulseAudio hook leaves the default alone.
    echo "unset PULSE_SERVER"
    exports ALSA_CONFIG_PATH="$card_config"
else
    exports PULSE_SERVER="$PULSE_SERVER" SOUND_TEST_MONITOR=test-sink.monitor
fi
[ -z "$card_config" ] || exports SOUND_TEST_CARD_LOG="$dir/card.log"
[ "${kind%-alsa}" != pipewire ] ||
    exports PIPEWIRE_RUNTIME_DIR="$PIPEWIRE_RUNTIME_DIR" DBUS_SESSION_BUS_ADDRESS="$DBUS_SESSION_BUS_ADDRESS"

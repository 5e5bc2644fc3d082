#!/usr/bin/env bash
# Runs test_waveout under Wine against a private PulseAudio server with a null sink, started by the
# sound test fixtures: each embedded sound is played while record-sink.py records the sink, which must
# hold the sound's non-silent samples once and nothing after them; then the server is stopped (SIGSTOP)
# in the middle of a sound, where no play may hold the test past its bound, and continued, after which
# sound must come back. A missing program fails the test: the Windows part skips nothing.
# Usage: waveout_server_test.sh COMMAND... (COMMAND runs test_waveout: wine-run.sh PREFIX test_waveout.exe)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/setup.sh"

harness=$(ochre_sound_harness)
missing=$(ochre_sound_server_missing pulseaudio)
[ -z "$missing" ] || { echo "FAIL: missing $missing (scripts/setup.sh installs them)" >&2; exit 1; }

dir=$(mktemp -d "${TMPDIR:-/tmp}/ochre-waveout.XXXXXX")
watcher=
cleanup() {
    [ -z "$watcher" ] || kill "$watcher" 2>/dev/null || true
    bash "$harness/start-sound-server.sh" stop "$dir" >/dev/null 2>&1 || true
    rm -rf "$dir"
}
trap cleanup EXIT
variables=$(bash "$harness/start-sound-server.sh" pulseaudio "$dir") || { echo "FAIL: pulseaudio did not start" >&2; exit 1; }
# PULSE_SERVER reaches Wine's PulseAudio driver through the environment. Wine tries its PulseAudio
# driver before its ALSA driver and takes it whenever a server answers, so no driver is forced.
eval "$variables"
# Wine's driver counts what the sink has not yet asked for as played: where a sink takes a new stream
# late (a null sink with rewinds held one for up to 2 s), its first sound was lost while the device
# reported it played. Streams that ask for a short latency, as a sound card's sink gives, are taken at once.
export PULSE_LATENCY_MSEC=30

# A Windows program cannot signal Linux processes: the test writes a signal's name (STOP, CONT) into the
# request file, through Wine's drive Z: (the file system's root), and this loop sends it to every process
# of the server, then removes the request.
request=$dir/signal-request
export SOUND_TEST_SIGNAL_REQUEST=Z:$request
(
    while :; do
        if [ -s "$request" ]; then
            signal=$(<"$request")
            while read -r pid _; do kill -s "$signal" "$pid" 2>/dev/null || true; done <"$dir/pids"
            rm -f "$request"
        fi
        sleep 0.01
    done
) &
watcher=$!

ochre_record_embedded_sounds "$@"
echo "== the rest, the server stopped and continued last"
# Qt's test log does not reach Wine's standard output: it is written to a file, shown afterwards.
status=0
"$@" -o "Z:$dir/test.log,txt" playBlocksForTheSoundsLength badImageOrNamePlaysNothing deviceIsLetGoWhenIdle \
    serverStoppedMidSoundHoldsNoPlayPastItsBound || status=$?
cat "$dir/test.log"
exit "$status"

#!/usr/bin/env bash
# Runs test_sound against a private sound server of one kind, started by the sound test harness:
# each embedded sound is played while the harness records what reaches the server's sink, which
# must hold the sound's non-silent samples and nothing after them; then the server is ended in the
# middle of a sound and started again, and stopped (SIGSTOP) at several moments, where no call may
# hold the test past its bound and sound must come back once it is continued. Exit 77 (skipped, with
# a line saying why) when the kind's programs are missing.
# Usage: sound_server_test.sh TEST_SOUND KIND SDL_DRIVER
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/setup.sh"

test_sound=$1
kind=$2
driver=$3

skip() {
    echo "SKIP: sound server $kind (SDL driver $driver): $*"
    exit 77
}

harness=$(ochre_sound_harness)
missing=$(ochre_sound_server_missing "$kind")
[ -z "$missing" ] || skip "missing $missing (scripts/setup.sh installs them where no package has to be removed)"

dir=$(mktemp -d "${TMPDIR:-/tmp}/ochre-sound.XXXXXX")
trap 'bash "$harness/start-sound-server.sh" stop "$dir" >/dev/null 2>&1 || true; rm -rf "$dir"' EXIT
variables=$(bash "$harness/start-sound-server.sh" "$kind" "$dir") || { echo "FAIL: the $kind server did not start" >&2; exit 1; }
eval "$variables"
export SDL_AUDIODRIVER=$driver OCHRE_SOUND_HARNESS=$harness

# What the sink must get of each sound: samples and segments (record-sink.py --wave-figures).
nonsilent() {
    python3 "$harness/record-sink.py" --wave-figures "$OCHRE_ROOT/resources/$1.wav"
}

for sound in HIT SHOTGUN EXPLOSION; do
    echo "== $sound"
    read -r samples parts < <(nonsilent "$sound")
    python3 "$harness/record-sink.py" --quiet-segments --expect "$samples" --most-segments "$parts" -- \
        "$test_sound" "everyEmbeddedSoundPlaysCompletely:$sound"
done
echo "== server ended in the middle of a sound"
"$test_sound" serverStoppedMidSoundEndsItAndTheNextSoundPlays
echo "== server stopped and continued"
"$test_sound" stoppedServerHoldsNoCallPastItsBound

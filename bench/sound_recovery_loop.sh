#!/usr/bin/env bash
# Runs the recovery rows of test_sound many times on each sound-server setup, each run on a server
# started afresh in a folder of its own, with a home folder of its own: to the server and to the
# program every run is a server's first start on the machine (no cookie, no saved state, no cache).
# Prints one line per row and setup with its pass count, and keeps the output of failed runs.
#
#   bench/sound_recovery_loop.sh RUNS [KIND:DRIVER...]     (default: every setup below)
#
# The setups share nothing, so one loop per setup may run at the same time (as for the figures in
# docs/performance.md). Build test_sound first (scripts/setup.sh; ochre_build build).
#
# OCHRE_BENCH_BUILD picks the build folder (default build); OCHRE_LOOP_LOG the folder for the logs of
# failed runs (default a new folder under /tmp). The rows (tests/test_sound.cpp, class SoundOnServer):
# the server ended and started again in the middle of a sound, and stopped (SIGSTOP) with the device
# open, after the idle release, in the middle of a sound and with no input, then continued.
set -uo pipefail
source "$(dirname "$0")/../scripts/setup.sh"

runs=${1:?usage: sound_recovery_loop.sh RUNS [KIND:DRIVER...]}
shift
setups=("$@")
[ ${#setups[@]} -gt 0 ] || setups=(pipewire:pipewire pipewire:pulseaudio pulseaudio:pulseaudio)
test_sound=${OCHRE_BENCH_BUILD:-$OCHRE_ROOT/build}/tests/test_sound
harness=$(ochre_sound_harness)
# The per-run home folder must not hide the unpacked pipewire-pulse configuration.
SOUND_TEST_CACHE=$(ochre_sound_cache)
export SOUND_TEST_CACHE
logs=${OCHRE_LOOP_LOG:-$(mktemp -d "${TMPDIR:-/tmp}/ochre-recovery.XXXXXX")}
mkdir -p "$logs"
rows=(
    "serverStoppedMidSoundEndsItAndTheNextSoundPlays"
    "stoppedServerHoldsNoCallPastItsBound:device open"
    "stoppedServerHoldsNoCallPastItsBound:after the idle release"
    "stoppedServerHoldsNoCallPastItsBound:in the middle of a long sound"
    "stoppedServerHoldsNoCallPastItsBound:no input"
)

for setup in "${setups[@]}"; do
    kind=${setup%%:*}
    driver=${setup#*:}
    missing=$(ochre_sound_server_missing "$kind")
    if [ -n "$missing" ]; then
        echo "$setup skipped: missing $missing"
        continue
    fi
    declare -A passed=()
    for row in "${rows[@]}"; do passed[$row]=0; done
    for ((run = 1; run <= runs; run++)); do
        dir=$(mktemp -d "${TMPDIR:-/tmp}/ochre-loop.XXXXXX")
        mkdir -p "$dir/home"
        out=$dir/out.txt
        if variables=$(HOME=$dir/home bash "$harness/start-sound-server.sh" "$kind" "$dir/server" 2>"$out"); then
            (
                eval "$variables"
                export HOME=$dir/home SDL_AUDIODRIVER=$driver OCHRE_SOUND_HARNESS=$harness QT_QPA_PLATFORM=offscreen
                export QT_LOGGING_RULES=${QT_LOGGING_RULES:-ochreline.platform.debug=true}
                "$test_sound" "${rows[@]}"
            ) >>"$out" 2>&1
        fi
        HOME=$dir/home bash "$harness/start-sound-server.sh" stop "$dir/server" >/dev/null 2>&1
        failed=0
        for row in "${rows[@]}"; do
            name=${row/:/(}
            [[ $name == *"("* ]] && name+=")" || name+="()"
            if grep -qF "PASS   : SoundOnServer::$name" "$out"; then
                passed[$row]=$((passed[$row] + 1))
            else
                failed=1
            fi
        done
        echo "$setup run $run: $([ $failed -eq 0 ] && echo passed || echo "failed, see $logs")" >&2
        if [ $failed -eq 1 ]; then
            cp "$out" "$logs/${kind}_${driver}_run$run.txt"
            cp "$dir/server/"*.log "$logs/" 2>/dev/null && for f in "$dir/server/"*.log; do
                mv "$logs/$(basename "$f")" "$logs/${kind}_${driver}_run${run}_$(basename "$f")"
            done
        fi
        rm -rf "$dir"
    done
    for row in "${rows[@]}"; do
        echo "$setup ${passed[$row]}/$runs $row"
    done
    unset passed
done
echo "logs of failed runs: $logs"

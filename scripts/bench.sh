#!/usr/bin/env bash
# Builds, then runs the speed and memory benches under Xvfb and prints one line per figure:
#   name value unit reference ratio
# The reference is measured in the same run ("-" where there is none); ratio = value / reference.
# OCHRE_BENCH_BUILD picks another build directory; OCHRE_BENCH_RUNS the start-up runs (default 15).
set -euo pipefail
source "$(dirname "$0")/setup.sh"
build=${OCHRE_BENCH_BUILD:-$OCHRE_ROOT/build}

if [ "${1:-}" != --inside-xvfb ]; then
    ochre_install_packages
    ochre_build "$build" -DOCHRELINE_SANITIZE=OFF >&2 # figures of an instrumented build mean nothing
    exec xvfb-run -a -s "-screen 0 1600x1200x24" "$0" --inside-xvfb
fi

bin="$build/bench"
log="$bin/bench-stderr.log"
: >"$log"
run() {
    "$@" 2>>"$log" || { echo "$1 failed; its messages are in $log" >&2; exit 1; }
}

echo "# name value unit reference ratio"
run "$bin/startup_bench" "${OCHRE_BENCH_RUNS:-15}" 10000 1000
run "$bin/dart_latency" 3000
SDL_AUDIODRIVER=${SDL_AUDIODRIVER:-dummy} run "$bin/sound_figures" 9 5000
run "$bin/name_box_figures"

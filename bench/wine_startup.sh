#!/usr/bin/env bash
# Start-up of the Windows program under Wine against a minimal Qt window built the same way, and the
# size of the executable. Runs the Windows start-up probes (startup_probe.exe, minimal_window.exe)
# alternately as fresh processes in a Wine prefix of the bench's own, warmed first and served by one
# wineserver for the whole run, and prints medians as the Linux bench does: name value unit reference ratio.
# Wine's performance counter, which the probes' steady clock reads, is Linux's CLOCK_MONOTONIC_RAW in
# 100 ns steps: the start is taken on that clock just before wine64 is started. The minimal window prints
# its first line as soon as it has painted: that line must arrive just after its paint, or the clocks differ.
# Usage: bench/wine_startup.sh WINDOWS_BUILD_DIR [RUNS]; without a DISPLAY it runs itself under Xvfb.
set -euo pipefail

build=$(cd "$1" && pwd)
runs=${2:-11}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1600x1200x24" "$0" "$@"
fi
wine_run=$here/../tests/windows/wine-run.sh
prefix=$build/wine-prefix-bench
export WINEPREFIX=$prefix
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# The prefix is made first; then one server kept for the whole run, which the warm-up starts Wine's
# own services in.
"$wine_run" "$prefix" cmd.exe /c exit 0 >/dev/null 2>&1
"$wineserver" -w
"$wineserver" -p
trap '"$wineserver" -k 2>/dev/null || true' EXIT

python3 - "$wine_run" "$prefix" "$build/startup_probe.exe" "$build/minimal_window.exe" "$runs" <<'PY'
import statistics
import subprocess
import sys
import time

wine_run, prefix, program, minimal, runs = sys.argv[1:6]


def now_ns():
    return time.clock_gettime_ns(time.CLOCK_MONOTONIC_RAW)


def run(probe):
    """Figures of one start in ms and MB, from the probe's "key value" lines."""
    started = now_ns()
    child = subprocess.Popen([wine_run, prefix, probe], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    first = child.stdout.readline()
    arrived = now_ns()
    report = dict(line.split() for line in [first, *child.stdout] if line.strip())
    if child.wait() != 0 or "painted_ns" not in report:
        sys.exit(f"wine_startup: {probe} failed to start or to paint")
    r = {k: float(v) for k, v in report.items()}
    if probe == minimal and not 0 <= arrived - r["painted_ns"] < 250e6:
        sys.exit(f"wine_startup: the minimal window's report arrived {(arrived - r['painted_ns']) / 1e6:.1f} ms "
                 "after its paint: Wine's clock is not CLOCK_MONOTONIC_RAW here")
    return {
        "first_paint": (r["paint_ns"] - started) / 1e6,
        "painted": (r["painted_ns"] - started) / 1e6,
        "exec_to_main": (r["main_ns"] - started) / 1e6,
        "main_to_first_paint": (r["paint_ns"] - r["main_ns"]) / 1e6,
        "memory_peak_after_startup": r["hwm_kb"] / 1024,
    }


def figure(name, value, unit, reference=None):
    if reference is None:
        print(f"{name} {value:.3f} {unit} - -")
    else:
        print(f"{name} {value:.3f} {unit} {reference:.3f} {value / reference:.2f}")


run(program), run(minimal)  # fills the page cache and Wine's own caches
ours, reference = [], []
for _ in range(int(runs)):
    ours.append(run(program))
    reference.append(run(minimal))
for key, unit in (("first_paint", "ms"), ("painted", "ms"), ("exec_to_main", "ms"), ("main_to_first_paint", "ms")):
    figure(f"startup_{key}_wine", statistics.median(o[key] for o in ours), unit,
           statistics.median(m[key] for m in reference))
figure("memory_peak_after_startup_wine", statistics.median(o["memory_peak_after_startup"] for o in ours), "MB",
       statistics.median(m["memory_peak_after_startup"] for m in reference))
PY

stripped=$(mktemp)
x86_64-w64-mingw32-strip -o "$stripped" "$build/ochreline.exe"
awk -v size="$(stat -c %s "$build/ochreline.exe")" -v stripped="$(stat -c %s "$stripped")" \
    'BEGIN { printf "windows_exe_size %.3f MB - -\nwindows_exe_size_stripped %.3f MB - -\n", size / 1048576, stripped / 1048576 }'
rm -f "$stripped"

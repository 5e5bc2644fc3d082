#!/usr/bin/env python3
"""Runs a command and counts the non-silent samples that reached the sink of the sound server
started by start-sound-server.sh (run it with the variables that script prints).

    record-sink.py [--expect N] [--most-segments M] [--quiet-segments] [--card-log] -- COMMAND [ARGS...]
    record-sink.py --wave-figures FILE.wav

With a server, the sink's monitor is recorded (two channels, 16 bits, 11025 Hz) from before COMMAND
starts until half a second after it ends. With --card-log, or with no server (kind alsa), the lines the
virtual card logged meanwhile are read instead, timed when the card plays them, which says exactly
when a sound was heard. Counts are of samples at 11025 Hz either way (the card's are scaled from
its rate), so that one expectation holds for every kind. Prints

    source: ...
    command: started at wall-clock ms C, ran R ms, exit status X
    nonsilent: K samples
    segment I: starts S ms after the command started (wall-clock ms T), length L ms, nonsilent K
    expect: N samples expected, K found (P %)
    segments: M allowed, J found

A sample (frame) is non-silent when a channel is above 640 of 32768: between the steps 2 and 3 of
an 8-bit sound, so that a server's resampling error does not flip the samples of step 2. A mono
recording would be the server's downmix, which PipeWire makes louder. Sound with gaps under 40 ms
is one segment. Wall-clock
times are CLOCK_REALTIME milliseconds; a monitor recording's are estimated from when its data
arrived. Exits with COMMAND's status, or 3 when fewer than --expect non-silent samples arrived or
there were more than --most-segments segments.
"""
import argparse
import array
import os
import subprocess
import sys
import threading
import time
import wave

RATE = 11025
FRAME_BYTES = 4  # two channels of 16 bits
THRESHOLD = 640
GAP_MS = 40.0
TAIL_S = 0.5


def wall_ms():
    return time.clock_gettime(time.CLOCK_REALTIME) * 1000.0


class MonitorRecording:
    """Records the sink's monitor with parec; a thread collects the data and when it arrived."""

    def __init__(self, source):
        # No latency is asked for: a low-latency client would change how a null sink schedules.
        self.proc = subprocess.Popen(["parec", "--raw", "--format=s16le", "--channels=2", f"--rate={RATE}",
                                      f"--device={source}"], stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.data = bytearray()
        self.first_ms = None  # latest time at which sample 0 can have been taken
        self.lock = threading.Lock()
        self.thread = threading.Thread(target=self.read, daemon=True)
        self.thread.start()

    def read(self):
        while chunk := os.read(self.proc.stdout.fileno(), 65536):
            now = wall_ms()
            with self.lock:
                self.data += chunk
                bound = now - 1000.0 * (len(self.data) // FRAME_BYTES - 1) / RATE
                self.first_ms = bound if self.first_ms is None else min(self.first_ms, bound)

    def recorded_until_ms(self):
        with self.lock:
            return None if self.first_ms is None else self.first_ms + 1000.0 * (len(self.data) // FRAME_BYTES) / RATE

    def wait_until(self, when_ms, seconds):
        limit = time.monotonic() + seconds
        while time.monotonic() < limit and self.proc.poll() is None:
            until = self.recorded_until_ms()
            if until is not None and until >= when_ms:
                return True
            time.sleep(0.01)
        return False

    def stop(self):
        self.proc.terminate()
        self.proc.wait()
        self.thread.join()
        samples = array.array("h", bytes(self.data[: len(self.data) // FRAME_BYTES * FRAME_BYTES]))
        if sys.byteorder != "little":
            samples.byteswap()
        return [max(abs(left), abs(right)) for left, right in zip(samples[0::2], samples[1::2])]


def wave_figures(path):
    """What a sink must get of an 8-bit wave file: nine tenths of its non-silent samples (above 512 of
    32768), after the server's resampling, and no more segments than it has (runs of them with gaps
    under 40 ms). A stream that a server fills with the wrong silence when the device closes adds a
    segment of tens of milliseconds after the sound. Returns (samples, segments)."""
    with wave.open(path) as w:
        rate, data = w.getframerate(), w.readframes(w.getnframes())
    loud = [i for i, b in enumerate(data) if abs(b - 128) * 256 > 512]
    gaps = sum(1 for a, b in zip(loud, loud[1:]) if (b - a - 1) * 1000 / rate >= GAP_MS)
    return len(loud) * 9 // 10, gaps + 1


def run(command):
    started = wall_ms()
    status = subprocess.run(command).returncode
    return started, wall_ms(), status


def from_monitor(command):
    """Pieces of sound (first ms, end ms, samples) in the monitor's recording while COMMAND ran."""
    recording = MonitorRecording(os.environ["SOUND_TEST_MONITOR"])
    if not recording.wait_until(0, 10):
        recording.proc.kill()
        sys.exit("record-sink: the recording did not start: " + recording.proc.stderr.read().decode().strip())
    started, ended, status = run(command)
    # Without a latency request the data arrives in fragments of up to 2 s.
    recording.wait_until(ended + 1000 * TAIL_S, 5 + TAIL_S)
    frames = recording.stop()
    print(f"source: the sink's monitor, {len(frames)} samples at {RATE} Hz")
    step = 1000.0 / RATE
    pieces = [(recording.first_ms + i * step, recording.first_ms + (i + 1) * step, 1)
              for i, level in enumerate(frames) if level > THRESHOLD]
    return started, ended, status, pieces


def from_card_log(command):
    """Pieces of sound the virtual card logged while COMMAND ran and in the half second after."""
    log = os.environ.get("SOUND_TEST_CARD_LOG")
    if not log:
        sys.exit("record-sink: no SOUND_TEST_CARD_LOG (kinds alsa, pulseaudio-alsa, pipewire-alsa)")
    offset = os.path.getsize(log)
    started, ended, status = run(command)
    time.sleep(TAIL_S)
    with open(log) as f:
        f.seek(offset)
        lines = [line.split() for line in f]
    pieces = [(float(first), float(last) + 1000.0 / int(rate), int(count) * RATE / int(rate))
              for first, last, count, rate in (line for line in lines if len(line) == 4)]
    print(f"source: the virtual card's log, {len(pieces)} transfers with sound")
    return started, ended, status, pieces


def segments(pieces):
    """Merges pieces of sound less than GAP_MS apart into [first ms, end ms, samples] segments."""
    merged = []
    for first, end, count in sorted(pieces):
        if merged and first - merged[-1][1] < GAP_MS:
            merged[-1][1] = max(merged[-1][1], end)
            merged[-1][2] += count
        else:
            merged.append([first, end, count])
    return merged


def report(a, started, ended, status, pieces):
    loud = round(sum(count for _, _, count in pieces))
    print(f"command: started at wall-clock ms {started:.0f}, ran {ended - started:.0f} ms, exit status {status}")
    print(f"nonsilent: {loud} samples")
    parts = segments(pieces)
    short = a.expect is not None and loud < a.expect
    too_many = a.most_segments is not None and len(parts) > a.most_segments
    # A failure always says where the sound and its gaps fell.
    if not a.quiet_segments or short or too_many:
        for k, (first, end, count) in enumerate(parts):
            print(f"segment {k}: starts {first - started:.1f} ms after the command started"
                  f" (wall-clock ms {first:.0f}), length {end - first:.1f} ms, nonsilent {count:.0f}")
    if a.expect is not None:
        print(f"expect: {a.expect} samples expected, {loud} found ({100.0 * loud / max(a.expect, 1):.1f} %)")
    if a.most_segments is not None:
        print(f"segments: {a.most_segments} allowed, {len(parts)} found")
    sys.stdout.flush()
    return 3 if status == 0 and (short or too_many) else status


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--expect", type=int, help="non-silent samples expected; fewer is a failure")
    p.add_argument("--most-segments", type=int, help="segments allowed; more is a failure")
    p.add_argument("--quiet-segments", action="store_true", help="print no segment lines unless a check fails")
    p.add_argument("--card-log", action="store_true", help="read the virtual card's log, not the monitor")
    p.add_argument("--wave-figures", metavar="FILE", help='print "SAMPLES SEGMENTS" a sink must get of FILE')
    p.add_argument("command", nargs=argparse.REMAINDER)
    a = p.parse_args()
    if a.wave_figures:
        print(*wave_figures(a.wave_figures))
        return 0
    command = a.command[1:] if a.command[:1] == ["--"] else a.command
    if not command:
        p.error("no COMMAND given")
    use_card = a.card_log or "SOUND_TEST_MONITOR" not in os.environ
    return report(a, *(from_card_log(command) if use_card else from_monitor(command)))


if __name__ == "__main__":
    sys.exit(main())

#!/usr/bin/env python3
"""Reads the output of `record-sink.py --card-log -- sound_latency --calls` and prints per sound how
long after its call the sound was heard (median and maximum over the plays). Other lines pass
through unchanged.

    heard_delay.py SOUNDS_FOLDER    (the folder of HIT.wav, SHOTGUN.wav, EXPLOSION.wav)

A play is what the virtual card logged between its call and the next call. The card logs only
non-silent frames (above 2/256 of full scale), so the quiet start of each file is allowed for."""
import re
import statistics
import sys
import wave

CALL = re.compile(r"call (\S+) at wall-clock ms ([\d.]+) blocked [\d.]+ ms")
SEGMENT = re.compile(r"segment \d+: starts .* \(wall-clock ms ([\d.]+)\), length [\d.]+ ms")


def quiet_start_ms(path):
    """Milliseconds before the first non-silent frame of an 8-bit wave file."""
    with wave.open(path) as w:
        frames, rate = w.readframes(w.getnframes()), w.getframerate()
    return 1000.0 * next(i for i, b in enumerate(frames) if abs(b - 128) > 2) / rate


def main():
    calls, starts = [], []
    for line in sys.stdin:
        if m := CALL.match(line):
            calls.append((m[1], float(m[2])))
        elif m := SEGMENT.match(line):
            starts.append(float(m[1]))
        else:
            sys.stdout.write(line)
    calls.sort(key=lambda call: call[1])
    delays, plays = {}, {}
    for k, (name, at) in enumerate(calls):
        plays[name] = plays.get(name, 0) + 1
        until = calls[k + 1][1] if k + 1 < len(calls) else float("inf")
        heard = [s for s in starts if at <= s < until]
        if heard:
            delays.setdefault(name, []).append(heard[0] - quiet_start_ms(f"{sys.argv[1]}/{name}.wav") - at)
    for name, count in plays.items():
        d = delays.get(name, [])
        if d:
            print(f"{name} heard {statistics.median(d):.1f} ms after the call (max {max(d):.1f}), heard {len(d)}/{count}")
        else:
            print(f"{name} never heard, 0/{count}")


if __name__ == "__main__":
    main()

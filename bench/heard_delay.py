#!/usr/bin/env python3
"""Reads the output of `record-sink.py --card-log -- sound_latency --calls` and prints per sound how
long after its call the sound was heard to start, and how long after the call returned it was heard
to end (medians and maxima over the plays). Other lines pass through unchanged.

    heard_delay.py SOUNDS_FOLDER    (the folder of HIT.wav, SHOTGUN.wav, EXPLOSION.wav)

A play is what the virtual card logged between its call and the next call. The card logs only
non-silent frames (above 2/256 of full scale), so the quiet start and end of each file are added."""
import re
import statistics
import sys
import wave

CALL = re.compile(r"call (\S+) at wall-clock ms ([\d.]+) blocked ([\d.]+) ms")
SEGMENT = re.compile(r"segment \d+: starts .* \(wall-clock ms ([\d.]+)\), length ([\d.]+) ms")


def quiet_ends_ms(path):
    """Milliseconds before the first and after the last non-silent frame of an 8-bit wave file."""
    with wave.open(path) as w:
        frames, rate = w.readframes(w.getnframes()), w.getframerate()
    loud = [i for i, b in enumerate(frames) if abs(b - 128) > 2]
    return 1000.0 * loud[0] / rate, 1000.0 * (len(frames) - loud[-1] - 1) / rate


def main():
    calls, segments = [], []
    for line in sys.stdin:
        if m := CALL.match(line):
            calls.append((m[1], float(m[2]), float(m[3])))
        elif m := SEGMENT.match(line):
            segments.append((float(m[1]), float(m[2])))
        else:
            sys.stdout.write(line)
    calls.sort(key=lambda call: call[1])
    starts, ends, plays = {}, {}, {}
    for k, (name, at, blocked) in enumerate(calls):
        plays[name] = plays.get(name, 0) + 1
        until = calls[k + 1][1] if k + 1 < len(calls) else float("inf")
        heard = [s for s in segments if at <= s[0] < until]
        if heard:
            lead, tail = quiet_ends_ms(f"{sys.argv[1]}/{name}.wav")
            starts.setdefault(name, []).append(heard[0][0] - lead - at)
            ends.setdefault(name, []).append(heard[-1][0] + heard[-1][1] + tail - (at + blocked))
    for name, count in plays.items():
        s, e = starts.get(name, []), ends.get(name, [])
        if s:
            print(f"{name} heard {statistics.median(s):.1f} ms after the call (max {max(s):.1f}),"
                  f" ended {statistics.median(e):.1f} ms after it returned (max {max(e):.1f}), heard {len(s)}/{count}")
        else:
            print(f"{name} never heard, 0/{count}")


if __name__ == "__main__":
    main()

#!/usr/bin/env python3
"""Writes the shipped sample sound: a C major chord (C4, E4, G4, C5) with a few
overtones and a piano-like decay, 3 s, 44100 Hz, 16-bit mono PCM."""
import math
import struct
import sys
import wave

RATE = 44100
SECONDS = 3.0
NOTES = [261.63, 329.63, 392.00, 523.25]      # C4 E4 G4 C5
OVERTONES = [1.0, 0.5, 0.25, 0.12, 0.06]      # relative amplitudes of harmonics 1..5


def sample(t):
    value = 0.0
    for n, f in enumerate(NOTES):
        onset = 0.05 * n                     # a gently rolled chord
        if t < onset:
            continue
        tt = t - onset
        env = min(1.0, tt / 0.01) * math.exp(-1.2 * tt)
        for h, a in enumerate(OVERTONES, start=1):
            value += env * a * math.sin(2 * math.pi * f * h * tt) * math.exp(-0.4 * h * tt)
    return value


def main(path):
    count = int(RATE * SECONDS)
    raw = [sample(i / RATE) for i in range(count)]
    peak = max(abs(v) for v in raw)
    scale = 0.8 * 32767 / peak
    frames = b"".join(struct.pack("<h", int(round(v * scale))) for v in raw)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "resources/samples/Beispiel-Akkord.wav")

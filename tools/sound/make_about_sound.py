"""Writes the About window's chime: RIFF/WAVE, PCM mono, 22050 samples per second, 8 bit,
exactly 25508 data bytes (about 1.16 seconds). Three bell tones rise as a major chord, each
with a soft attack, a quiet octave partial and an exponential decay."""

import math
import struct
import sys

RATE = 22050
SAMPLES = 25508
# (start in seconds, frequency in Hz): C6, E6, G6, then C7 on top.
NOTES = [(0.00, 1046.50), (0.12, 1318.51), (0.24, 1567.98), (0.36, 2093.00)]


def sample(t):
    value = 0.0
    for start, freq in NOTES:
        u = t - start
        if u < 0:
            continue
        envelope = min(1.0, u / 0.004) * math.exp(-u * 4.5)
        value += envelope * (math.sin(2 * math.pi * freq * u)
                             + 0.25 * math.sin(4 * math.pi * freq * u))
    # Fade the last 50 ms to silence so playback ends without a click.
    tail = (SAMPLES / RATE) - t
    if tail < 0.05:
        value *= tail / 0.05
    return value


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "about.wav"
    raw = [sample(i / RATE) for i in range(SAMPLES)]
    peak = max(abs(v) for v in raw) or 1.0
    # 8-bit PCM is unsigned with silence at 128; peak at about 70 % of full scale.
    data = bytes(max(0, min(255, round(128 + 88 * v / peak))) for v in raw)
    fmt = struct.pack("<HHIIHH", 1, 1, RATE, RATE, 1, 8)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(data)) + data
    with open(out, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", len(body)) + body)


if __name__ == "__main__":
    main()

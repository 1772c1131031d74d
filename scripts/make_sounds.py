#!/usr/bin/env python3
"""Synthesises the sounds the program ships: a quarter stroke and an hour stroke for the chimes
(and the tower clock, which strikes them), and a short alert for events. Each is a 16-bit mono
PCM wave of a few kilobytes, made the same way on every run.

Run from the repository root: python3 scripts/make_sounds.py
The results in src/resources/sounds/ are committed beside this script.
"""
import math
import struct
import wave

RATE = 8000  # enough for bells of a few hundred hertz; keeps each file small


def bell(fundamental, seconds, brightness):
    """A struck bell: inharmonic partials, the higher ones dying sooner, after a short strike."""
    # The partials of a church bell relative to its nominal tone: hum, prime, tierce, quint,
    # nominal, and two above, with their loudness.
    partials = ((0.5, 0.55), (1.0, 0.9), (1.2, 0.5 * brightness), (1.5, 0.35 * brightness),
                (2.0, 0.6), (2.5, 0.25 * brightness), (3.0, 0.15 * brightness))
    samples = []
    for n in range(int(RATE * seconds)):
        t = n / RATE
        value = 0.0
        for ratio, loudness in partials:
            decay = 2.2 + 1.6 * ratio
            value += loudness * math.exp(-decay * t) * math.sin(2 * math.pi * fundamental * ratio * t)
        strike = min(1.0, t / 0.004)  # no click at the start
        fade = min(1.0, (seconds - t) / 0.05)  # nor at the end
        samples.append(value * strike * fade)
    return samples


def alert(seconds):
    """Two short rising tones, the way a reminder asks for attention without startling."""
    samples = []
    for n in range(int(RATE * seconds)):
        t = n / RATE
        tone, start = (880.0, 0.0) if t < seconds / 2 else (1175.0, seconds / 2)
        local = t - start
        envelope = min(1.0, local / 0.01) * math.exp(-6.0 * local)
        samples.append(envelope * (math.sin(2 * math.pi * tone * t) +
                                   0.3 * math.sin(4 * math.pi * tone * t)))
    return samples


def write(path, samples):
    peak = max(abs(s) for s in samples) or 1.0
    frames = b"".join(struct.pack("<h", round(s / peak * 0.8 * 32767)) for s in samples)
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


if __name__ == "__main__":
    folder = "src/resources/sounds/"
    write(folder + "quarter.wav", bell(660.0, 0.55, 1.0))
    write(folder + "hour.wav", bell(392.0, 0.7, 0.7))
    write(folder + "alert.wav", alert(0.36))

#!/usr/bin/env python3
"""Writes the game's own sound samples and music loops into data/Sounds/.

Every sound is synthesised here (sine tones with short envelopes, a filtered noise burst for
the shuffle), so the data carries nothing taken from elsewhere. 16-bit mono PCM WAV at
22050 Hz, which the sound buffers and the music player both read. The output is the same on
every run (fixed noise seed), so regenerating does not change committed files.

Usage: tools/make_sounds.py [output folder]   (default: data/Sounds beside this tool's repo)
"""
import math
import os
import random
import struct
import sys
import wave
sys.dont_write_bytecode = True  # no __pycache__ beside the scripts
import command_line

RATE = 22050


def envelope(i, n, attack=0.005, release=0.05):
    """Linear attack and release in seconds, full level between."""
    a = max(1, int(attack * RATE))
    r = max(1, int(release * RATE))
    if i < a:
        return i / a
    if i > n - r:
        return max(0.0, (n - i) / r)
    return 1.0


def tone(freq, seconds, level=0.5, decay=0.0, harmonics=((1, 1.0),)):
    n = int(seconds * RATE)
    out = []
    for i in range(n):
        t = i / RATE
        v = sum(a * math.sin(2 * math.pi * freq * h * t) for h, a in harmonics)
        v *= level * envelope(i, n) * math.exp(-decay * t)
        out.append(v)
    return out


def sequence(notes, gap=0.0, **kw):
    out = []
    for freq, seconds in notes:
        out += tone(freq, seconds, **kw)
        out += [0.0] * int(gap * RATE)
    return out


def noise_burst(seconds, level=0.4, smooth=0.85, seed=7):
    rng = random.Random(seed)
    n = int(seconds * RATE)
    out, last = [], 0.0
    for i in range(n):
        last = smooth * last + (1 - smooth) * rng.uniform(-1, 1)
        out.append(last * level * 4 * envelope(i, n, 0.002, 0.08) * (1 - i / n))
    return out


def loop(chords, beat, repeats):
    """A soft arpeggio over the chords, each note a quarter of a beat."""
    out = []
    for _ in range(repeats):
        for chord in chords:
            for freq in chord + [chord[1]]:
                out += tone(freq, beat / 4, level=0.22, decay=3.0, harmonics=((1, 1.0), (2, 0.25)))
    return out


def write(folder, name, samples):
    path = os.path.join(folder, name)
    frames = b"".join(struct.pack("<h", int(max(-1.0, min(1.0, s)) * 32767)) for s in samples)
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(frames)


def main():
    args = command_line.arguments(__doc__, 1)
    here = os.path.dirname(os.path.abspath(__file__))
    folder = args[0] if args else os.path.join(here, "..", "data", "Sounds")
    os.makedirs(folder, exist_ok=True)
    bell = ((1, 1.0), (2, 0.4), (3, 0.15))
    sounds = {
        "klick.wav": tone(1800, 0.03, level=0.35, decay=60),
        "over.wav": tone(1200, 0.025, level=0.15, decay=80),
        "karte1.wav": noise_burst(0.07, level=0.35, smooth=0.6, seed=1),
        "karte2.wav": noise_burst(0.08, level=0.35, smooth=0.7, seed=2),
        "fehler.wav": sequence([(220, 0.09), (180, 0.14)], level=0.35, harmonics=((1, 1.0), (3, 0.3))),
        "tipp.wav": sequence([(880, 0.08), (1320, 0.16)], level=0.3, decay=6, harmonics=bell),
        "mischen.wav": noise_burst(0.45, level=0.35, smooth=0.8, seed=3),
        "combo.wav": sequence([(660, 0.06), (880, 0.06), (1100, 0.12)], level=0.3, decay=4, harmonics=bell),
        "medaille.wav": sequence([(784, 0.1), (988, 0.1), (1175, 0.3)], level=0.3, decay=3, harmonics=bell),
        "gewonnen.wav": sequence([(523, 0.12), (659, 0.12), (784, 0.12), (1047, 0.45)], level=0.3, decay=2,
                                 harmonics=bell),
        "verloren.wav": sequence([(392, 0.2), (370, 0.2), (349, 0.5)], level=0.3, decay=1.5),
        # The story scenes: a bell for a new picture, a gust for a glide, a chime for the end.
        "story_glocke.wav": tone(660, 1.2, level=0.3, decay=2.5, harmonics=((1, 1.0), (2.76, 0.4), (5.4, 0.2))),
        "story_wind.wav": noise_burst(0.9, level=0.25, smooth=0.95, seed=11),
        "story_ende.wav": sequence([(587, 0.15), (740, 0.15), (880, 0.5)], level=0.3, decay=2, harmonics=bell),
    }
    for name, samples in sounds.items():
        write(folder, name, samples)
    # Music loops: four bars each, seamless when repeated.
    write(folder, "menu.wav", loop([[262, 330, 392], [220, 262, 330], [175, 220, 262], [196, 247, 294]], 1.0, 1))
    write(folder, "ingame.wav", loop([[294, 370, 440], [247, 294, 370], [196, 247, 294], [220, 277, 330]], 0.8, 1))
    write(folder, "story.wav", loop([[220, 262, 330], [175, 220, 262], [262, 330, 392], [196, 247, 294]], 1.2, 1))


if __name__ == "__main__":
    main()

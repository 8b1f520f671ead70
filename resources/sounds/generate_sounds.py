#!/usr/bin/env python3
"""Makes the game's three sounds: Klick.wav, Knall.wav and Cascade.wav.

Only the Python standard library; fixed seeds, so every run writes the same
bytes. Each file is 16-bit mono PCM at 22050 Hz with the canonical 44-byte
header, which is all the game's WAV reader understands.

    python3 generate_sounds.py [output folder]
"""

import math
import os
import random
import struct
import sys
import wave

RATE = 22050


def write_wav(path, samples, peak):
    """Scales the samples so that the loudest is at peak (of full scale)."""
    top = max(abs(s) for s in samples) or 1.0
    scale = peak * 32767.0 / top
    frames = struct.pack("<%dh" % len(samples),
                         *(int(round(s * scale)) for s in samples))
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(RATE)
        out.writeframes(frames)


def lowpass(samples, cutoff_at):
    """One-pole low-pass whose cutoff (Hz) may change with the sample index."""
    out = []
    state = 0.0
    for i, s in enumerate(samples):
        a = 1.0 - math.exp(-2.0 * math.pi * cutoff_at(i) / RATE)
        state += a * (s - state)
        out.append(state)
    return out


def click():
    """A short dry tick: a damped 3 kHz ring over a burst of bright noise."""
    rng = random.Random(1)
    n = int(0.030 * RATE)
    noise = [rng.uniform(-1.0, 1.0) for _ in range(n)]
    previous = 0.0
    out = []
    for i in range(n):
        t = i / RATE
        bright = noise[i] - previous  # first difference: only the top end
        previous = noise[i]
        attack = min(1.0, t / 0.0003)
        ring = math.sin(2 * math.pi * 3000 * t) * math.exp(-t / 0.004)
        body = math.sin(2 * math.pi * 900 * t) * math.exp(-t / 0.006) * 0.4
        out.append(attack * (ring + body + 0.5 * bright * math.exp(-t / 0.0015)))
    fade = int(0.004 * RATE)
    for i in range(fade):
        out[n - fade + i] *= 1.0 - (i + 1) / fade
    return out


def bang():
    """A bang: a sharp crack of noise whose brightness falls away, a low thump
    sweeping down under it, and a short rumbling tail."""
    rng = random.Random(2)
    n = int(0.70 * RATE)
    noise = [rng.uniform(-1.0, 1.0) for _ in range(n)]
    crack = lowpass(noise, lambda i: 300.0 + 7000.0 * math.exp(-i / (0.05 * RATE)))
    rumble = lowpass(noise, lambda i: 180.0)
    out = []
    phase = 0.0
    for i in range(n):
        t = i / RATE
        attack = min(1.0, t / 0.001)
        freq = 45.0 + 75.0 * math.exp(-t / 0.06)
        phase += 2 * math.pi * freq / RATE
        thump = math.sin(phase) * math.exp(-t / 0.12)
        noise_env = 0.8 * math.exp(-t / 0.045) + 0.25 * math.exp(-t / 0.22)
        out.append(attack * (1.6 * crack[i] * noise_env + 0.9 * thump
                             + 1.2 * rumble[i] * math.exp(-t / 0.25)))
    fade = int(0.08 * RATE)
    for i in range(fade):
        out[n - fade + i] *= 0.5 + 0.5 * math.cos(math.pi * (i + 1) / fade)
    return out


# The music: eight bars at 80 beats a minute (24 s) in C major. Notes are
# mixed into a ring of exactly that length, so a note sounding past the end
# goes on at the beginning and the loop has no seam.
BEAT = 0.75
BAR = 4 * BEAT
BARS = 8
LENGTH = int(round(BARS * BAR * RATE))


def midi(note):
    return 440.0 * 2 ** ((note - 69) / 12.0)


# Chord tones, lowest first, for the arpeggio; the bass plays the first
# note two octaves down.
CHORDS = [
    [48, 55, 64, 71, 74],  # Cmaj9
    [45, 52, 60, 67, 72],  # Am7
    [41, 53, 57, 64, 69],  # Fmaj7
    [43, 55, 59, 64, 67],  # G6
    [40, 52, 55, 62, 67],  # Em7
    [45, 52, 60, 64, 67],  # Am7
    [38, 53, 57, 60, 65],  # Dm7
    [43, 53, 59, 62, 65],  # G7
]
PATTERN = [0, 2, 1, 3, 4, 3, 2, 1]  # one bar of eighths
MELODY = [  # (bar, beat, length in beats, note)
    (0, 0, 2, 76), (0, 2, 1, 79), (0, 3, 1, 74),
    (1, 0, 3, 72), (1, 3, 1, 76),
    (2, 0, 2, 81), (2, 2, 1, 79), (2, 3, 1, 76),
    (3, 0, 4, 74),
    (4, 0, 2, 71), (4, 2, 1, 74), (4, 3, 1, 79),
    (5, 0, 2, 76), (5, 2, 2, 72),
    (6, 0, 1, 77), (6, 1, 1, 76), (6, 2, 1, 74), (6, 3, 1, 72),
    (7, 0, 2, 74), (7, 2, 2, 71),
]


def rise(t, time):
    """A raised-cosine onset: no corner, so no tick at the start of a note."""
    if t >= time:
        return 1.0
    return 0.5 - 0.5 * math.cos(math.pi * t / time)


def add_note(ring, start, length, voice):
    """Adds voice(t) for length seconds, wrapping around the ring's end."""
    first = int(round(start * RATE))
    count = int(length * RATE)
    fade = int(0.05 * RATE)
    for i in range(count):
        # The last moments fade out, so a note cut short does not tick.
        ring[(first + i) % LENGTH] += voice(i / RATE) * rise(count - i, fade)


def bell(freq, level):
    # Slightly stretched partials give the glassy, bell-like colour.
    partials = [(1.0, 1.0, 1.6), (2.0, 0.35, 0.9), (3.01, 0.12, 0.5), (4.16, 0.06, 0.3)]

    def voice(t):
        attack = rise(t, 0.005)
        return level * attack * sum(
            a * math.exp(-t / d) * math.sin(2 * math.pi * freq * r * t)
            for r, a, d in partials)
    return voice


def bass(freq, hold):
    def voice(t):
        attack = rise(t, 0.08)
        release = 1.0 if t < hold else math.exp(-(t - hold) / 0.12)
        body = math.sin(2 * math.pi * freq * t) + 0.2 * math.sin(4 * math.pi * freq * t)
        return 0.55 * attack * release * math.exp(-t / 6.0) * body
    return voice


def lead(freq, hold):
    def voice(t):
        attack = rise(t, 0.05)
        release = 1.0 if t < hold else math.exp(-(t - hold) / 0.15)
        vibrato = 0.004 * math.sin(2 * math.pi * 5.0 * t) * min(1.0, t / 0.4)
        phase = 2 * math.pi * freq * (t + vibrato / (2 * math.pi * 5.0))
        tone = math.sin(phase) + 0.25 * math.sin(2 * phase) + 0.08 * math.sin(3 * phase)
        return 0.30 * attack * release * math.exp(-t / 2.5) * tone
    return voice


def cascade():
    ring = [0.0] * LENGTH
    eighth = BEAT / 2
    for bar, chord in enumerate(CHORDS):
        start = bar * BAR
        add_note(ring, start, BAR + 0.8, bass(midi(chord[0] - 12), BAR - 0.05))
        for step, index in enumerate(PATTERN):
            # The second half of each bar an octave up, for movement.
            note = chord[index] + (12 if step >= 4 and index < 2 else 0)
            add_note(ring, start + step * eighth, 2.2, bell(midi(note), 0.22))
    for bar, beat, beats, note in MELODY:
        hold = beats * BEAT - 0.06
        add_note(ring, bar * BAR + beat * BEAT, hold + 0.8, lead(midi(note), hold))
    return ring


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    write_wav(os.path.join(folder, "Klick.wav"), click(), 0.8)
    write_wav(os.path.join(folder, "Knall.wav"), bang(), 0.9)
    write_wav(os.path.join(folder, "Cascade.wav"), cascade(), 0.7)


if __name__ == "__main__":
    main()

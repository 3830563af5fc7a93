#!/usr/bin/env python3
"""Writes a short General MIDI piece (format 0) for the detector's corpus.

Usage: midi-piece.py SEED SECONDS STYLE OUT.mid
STYLE: band (melody, chords, bass and drums), keys (sparse piano or strings, no drums) or drums (a drum loop on
channel 1, bank 0, program 0, where drum-kit sound fonts keep their kit).
The same seed gives the same file, so the corpus can be rebuilt.
"""
import random
import struct
import sys

TICKS = 480  # per quarter note
DRUM_CHANNEL = 9


def var_len(value):
    out = [value & 0x7F]
    value >>= 7
    while value:
        out.insert(0, (value & 0x7F) | 0x80)
        value >>= 7
    return bytes(out)


class Piece:
    def __init__(self):
        self.events = []  # (tick, order, bytes); note-offs sort before note-ons at the same tick

    def program(self, channel, number):
        self.events.append((0, 0, bytes([0xC0 | channel, number])))

    def control(self, channel, number, value):
        self.events.append((0, 0, bytes([0xB0 | channel, number, value])))

    def note(self, channel, start, length, key, velocity):
        key = max(0, min(127, key))
        self.events.append((start, 2, bytes([0x90 | channel, key, velocity])))
        self.events.append((start + max(1, length), 1, bytes([0x80 | channel, key, 0])))

    def write(self, path, tempo_us):
        track = bytearray(var_len(0) + b"\xff\x51\x03" + tempo_us.to_bytes(3, "big"))
        now = 0
        for tick, _, data in sorted(self.events, key=lambda e: (e[0], e[1])):
            track += var_len(tick - now) + data
            now = tick
        track += var_len(TICKS) + b"\xff\x2f\x00"
        with open(path, "wb") as out:
            out.write(b"MThd" + struct.pack(">IHHH", 6, 0, 1, TICKS))
            out.write(b"MTrk" + struct.pack(">I", len(track)) + track)


SCALES = [[0, 2, 4, 5, 7, 9, 11], [0, 2, 3, 5, 7, 8, 10], [0, 2, 4, 7, 9]]
PROGRESSIONS = [[0, 5, 3, 4], [0, 3, 4, 0], [5, 3, 0, 4], [0, 4, 5, 3]]
MELODY = [0, 4, 5, 11, 24, 40, 56, 65, 68, 71, 73, 80, 81]
CHORDS = [0, 4, 16, 19, 24, 48, 49, 52, 61, 88, 89]
BASS = [32, 33, 34, 35, 38, 43]
KEYS = [0, 1, 6, 8, 11, 46, 48, 49, 52]


def drums(piece, rng, bars, beat, busy, channel):
    kick, snare, hats = 36, rng.choice([38, 40]), rng.choice([42, 44, 46])
    crash, ride, toms = 49, rng.choice([51, 59]), [41, 43, 45, 47, 48, 50]
    for bar in range(bars):
        base = bar * 4 * beat
        fill = bar % 4 == 3 and rng.random() < 0.7
        for step in range(16):
            t = base + step * beat // 4
            if step % 8 == 0 or (busy and step in (10, 11) and rng.random() < 0.5):
                piece.note(channel, t, beat // 4, kick, rng.randint(90, 127))
            if step % 8 == 4:
                piece.note(channel, t, beat // 4, snare, rng.randint(80, 120))
            if step % (2 if busy else 4) == 0 and not (fill and step >= 8):
                piece.note(channel, t, beat // 8, ride if bar % 2 else hats, rng.randint(40, 100))
            if fill and step >= 8 and step % 2 == 0:
                piece.note(channel, t, beat // 4, rng.choice(toms), rng.randint(70, 120))
        if bar % 4 == 0:
            piece.note(channel, base, beat, crash, rng.randint(70, 110))


def main():
    seed, seconds, style, out = int(sys.argv[1]), float(sys.argv[2]), sys.argv[3], sys.argv[4]
    rng = random.Random(seed)
    bpm = rng.randint(70, 150)
    beat = TICKS
    bars = int(seconds * bpm / 60 / 4) + 1
    piece = Piece()
    scale = rng.choice(SCALES)
    root = rng.randint(45, 56)
    progression = rng.choice(PROGRESSIONS)

    def degree(d):
        return root + 12 * (d // len(scale)) + scale[d % len(scale)]

    if style in ("band", "keys"):
        lead, pad = rng.choice(MELODY if style == "band" else KEYS), rng.choice(CHORDS if style == "band" else KEYS)
        piece.program(0, lead)
        piece.program(1, pad)
        piece.control(0, 10, rng.randint(30, 97))
        piece.control(1, 10, rng.randint(30, 97))
        piece.program(2, rng.choice(BASS))
        position = rng.randint(7, 11)
        for bar in range(bars):
            chord = progression[bar % len(progression)]
            base = bar * 4 * beat
            notes = [degree(chord), degree(chord + 2), degree(chord + 4)]
            if style == "band" or bar % 2 == 0:
                for key in notes:
                    piece.note(1, base, 4 * beat - 20, key, rng.randint(50, 90))
            t = base
            while t < base + 4 * beat:
                length = rng.choice([beat // 2, beat, beat, 2 * beat] if style == "band" else [beat, 2 * beat, 3 * beat])
                if rng.random() < (0.85 if style == "band" else 0.6):
                    position = max(3, min(16, position + rng.choice([-2, -1, -1, 1, 1, 2, 0])))
                    piece.note(0, t, length - 10, degree(position) + 12, rng.randint(60, 115))
                t += length
            if style == "band":
                for step in range(0, 4, 1 if bpm < 110 else 2):
                    piece.note(2, base + step * beat, beat - 30, degree(chord) - 12, rng.randint(80, 120))
    if style in ("band", "drums"):
        drums(piece, rng, bars, beat, style == "drums" or rng.random() < 0.5, 0 if style == "drums" else DRUM_CHANNEL)
    piece.write(out, int(60_000_000 / bpm))


if __name__ == "__main__":
    main()

#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks the two tunes in the program folder: valid Standard MIDI Files,
their lengths, a real arrangement (melody, harmony, bass, drums), and that
they are exactly what the generator makes from the current note texts."""

import io
import os
import subprocess
import sys
import tempfile
import unittest

import mido

PROGRAM_DIR = os.environ.get("POKOPIN_PROGRAM_DIR", "")
SOURCE_DIR = os.environ.get("POKOPIN_SOURCE_DIR", "")

# name: (shortest, longest) length in seconds
TUNES = {
    "moguana": (45.0, 53.0),  # restarted every 54.1 s: ends before that, with a rest
    "mogu20": (25.0, 40.0),   # a game lasts 24 s
}
DRUM_CHANNEL = 9  # channel 10, counted from 0


class SmfError(Exception):
    pass


def read_smf(data):
    """Reads a whole file strictly with mido; returns the MidiFile.

    mido refuses broken chunks, bad status and data bytes; on top of that the
    header has the standard length, its track count covers the whole file, the
    division counts ticks per quarter note, gaps fit the format's four bytes,
    and each track ends with one End of Track."""
    if data[:8] != b"MThd\x00\x00\x00\x06":
        raise SmfError("no MThd header of length 6")
    stream = io.BytesIO(data)
    try:
        midi = mido.MidiFile(file=stream)
    except (OSError, EOFError, ValueError, KeyError) as e:
        raise SmfError("mido cannot read it: %r" % e) from None
    if stream.read():
        raise SmfError("data after the %d tracks the header announces" % len(midi.tracks))
    if midi.ticks_per_beat <= 0:
        raise SmfError("division must be ticks per quarter note")
    for number, track in enumerate(midi.tracks):
        if any(msg.time > 0x0FFFFFFF for msg in track):
            raise SmfError("track %d: a gap longer than four bytes can say" % number)
        ends = [i for i, msg in enumerate(track) if msg.type == "end_of_track"]
        if ends != [len(track) - 1]:
            raise SmfError("track %d does not close with exactly one End of Track" % number)
    return midi


def timed(track):
    """A track's messages with absolute ticks: [(tick, message)]."""
    tick, out = 0, []
    for msg in track:
        tick += msg.time
        out.append((tick, msg))
    return out


def seconds(tick, tempos, division):
    total, at, usec = 0.0, 0, 500000
    for t, u in sorted(tempos):
        if t >= tick:
            break
        total += (t - at) * usec / 1e6 / division
        at, usec = t, u
    return total + (tick - at) * usec / 1e6 / division


class Tune:
    """What a test needs from one file: timing, notes and programs."""

    def __init__(self, name):
        with open(os.path.join(PROGRAM_DIR, name + ".mid"), "rb") as f:
            self.data = f.read()
        midi = read_smf(self.data)
        self.format, self.division = midi.type, midi.ticks_per_beat
        tracks = [timed(track) for track in midi.tracks]
        self.tempos = [(t, msg.tempo) for tr in tracks for t, msg in tr
                       if msg.type == "set_tempo"]
        self.end_tick = max(tr[-1][0] for tr in tracks)
        self.notes = []          # (on tick, off tick, channel, key, velocity)
        self.unmatched = []      # note-offs without a note-on, or hanging notes
        self.programs = {}       # channel -> (tick, program) of the first change
        for track in tracks:
            sounding = {}
            for tick, msg in track:
                if msg.type == "program_change":
                    self.programs.setdefault(msg.channel, (tick, msg.program))
                elif msg.type == "note_on" and msg.velocity > 0:
                    if (msg.channel, msg.note) in sounding:
                        self.unmatched.append((tick, msg.channel, msg.note))
                    sounding[(msg.channel, msg.note)] = (tick, msg.velocity)
                elif msg.type in ("note_on", "note_off"):
                    if (msg.channel, msg.note) not in sounding:
                        self.unmatched.append((tick, msg.channel, msg.note))
                        continue
                    on, vel = sounding.pop((msg.channel, msg.note))
                    self.notes.append((on, tick, msg.channel, msg.note, vel))
            self.unmatched.extend((t, ch, k) for (ch, k), (t, _) in sounding.items())

    def seconds(self, tick):
        return seconds(tick, self.tempos, self.division)

    def channels(self):
        return sorted({n[2] for n in self.notes})

    def max_polyphony(self, channel):
        edges = sorted([(n[0], 1) for n in self.notes if n[2] == channel]
                       + [(n[1], -1) for n in self.notes if n[2] == channel])
        level = peak = 0
        for _, step in edges:
            level += step
            peak = max(peak, level)
        return peak


class TuneFiles(unittest.TestCase):
    def test_valid_standard_midi_file(self):
        for name in TUNES:
            with self.subTest(tune=name):
                try:
                    tune = Tune(name)
                except SmfError as e:
                    self.fail("%s.mid: %s" % (name, e))
                self.assertEqual(tune.format, 1)
                self.assertEqual(tune.unmatched, [], "every note starts and stops once")
                self.assertTrue(tune.tempos and tune.tempos[0][0] == 0, "tempo set at the start")
                for on, off, ch, key, vel in tune.notes:
                    self.assertLess(on, off)
                    self.assertTrue(1 <= vel <= 127)

    def test_length(self):
        for name, (shortest, longest) in TUNES.items():
            with self.subTest(tune=name):
                tune = Tune(name)
                length = tune.seconds(tune.end_tick)
                self.assertGreaterEqual(length, shortest)
                self.assertLessEqual(length, longest)
                # The length is music, not padding: notes sound from the
                # first second until shortly before the end.
                first = tune.seconds(min(n[0] for n in tune.notes))
                last = tune.seconds(max(n[1] for n in tune.notes))
                self.assertLess(first, 1.0)
                self.assertGreater(last, length - 3.0)

    def test_arrangement(self):
        for name in TUNES:
            with self.subTest(tune=name):
                tune = Tune(name)
                channels = tune.channels()
                self.assertIn(DRUM_CHANNEL, channels, "drums on channel 10")
                melodic = [c for c in channels if c != DRUM_CHANNEL]
                self.assertGreaterEqual(len(melodic), 4, "melody, bass, harmony and more")
                programs = set()
                for ch in melodic:
                    first_note = min(n[0] for n in tune.notes if n[2] == ch)
                    self.assertIn(ch, tune.programs, "channel %d has an instrument" % (ch + 1))
                    self.assertLessEqual(tune.programs[ch][0], first_note)
                    programs.add(tune.programs[ch][1])
                self.assertEqual(len(programs), len(melodic), "each part its own instrument")
                self.assertGreaterEqual(max(tune.max_polyphony(c) for c in melodic), 3,
                                        "chords somewhere")
                bass = min(melodic, key=lambda c: min(n[3] for n in tune.notes if n[2] == c))
                self.assertLess(min(n[3] for n in tune.notes if n[2] == bass), 48,
                                "a bass line below C3")

    def test_melody_is_a_tune(self):
        for name in TUNES:
            with self.subTest(tune=name):
                tune = Tune(name)
                lead = [n for n in tune.notes if n[2] == 0]
                lead.sort()
                keys = [n[3] for n in lead]
                steps = [abs(b - a) for a, b in zip(keys, keys[1:])]
                self.assertGreaterEqual(len(keys), 40)
                self.assertGreaterEqual(len(set(k % 12 for k in keys)), 6)
                self.assertGreaterEqual(max(keys) - min(keys), 12, "spans an octave")
                leaps = sum(1 for s in steps if s >= 3)
                moves = sum(1 for s in steps if s in (1, 2))
                self.assertGreater(leaps, len(steps) // 5, "not a scale run")
                self.assertGreater(moves, len(steps) // 5, "not a string of jumps")
                lengths = {n[1] - n[0] for n in lead}
                self.assertGreaterEqual(len(lengths), 3, "a rhythm, not even notes")

    def test_game_tune_is_faster(self):
        title, game = Tune("moguana"), Tune("mogu20")
        title_bpm = 60e6 / title.tempos[0][1]
        game_bpm = 60e6 / game.tempos[0][1]
        self.assertGreater(game_bpm, title_bpm * 1.2)

    def test_rebuilt_from_sources(self):
        generator = os.path.join(SOURCE_DIR, "assets", "music", "midigen.py")
        with tempfile.TemporaryDirectory() as tmp:
            for name in TUNES:
                with self.subTest(tune=name):
                    out = os.path.join(tmp, name + ".mid")
                    source = os.path.join(SOURCE_DIR, "assets", "music", name + ".tune")
                    subprocess.run([sys.executable, "-B", generator, source, out],
                                   check=True, stdout=subprocess.DEVNULL)
                    with open(out, "rb") as f:
                        self.assertEqual(f.read(), Tune(name).data,
                                         "program folder copy is stale or not reproducible")


if __name__ == "__main__":
    if not PROGRAM_DIR or not SOURCE_DIR:
        sys.exit("set POKOPIN_PROGRAM_DIR and POKOPIN_SOURCE_DIR")
    unittest.main()

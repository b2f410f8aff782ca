#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Unit checks of the note-text to MIDI generator on small hand-made tunes."""

import io
import os
import sys
import unittest

import mido

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.join(os.environ.get("POKOPIN_SOURCE_DIR", ""), "assets", "music"))
import midigen  # noqa: E402

HEAD = """
tempo 120
meter 4/4
part lead channel=1 program=12 gate=1.0 velocity=80
part kit channel=10
"""


def track_bytes(events):
    """The body of the track chunk that midigen writes for these events."""
    out = io.BytesIO()
    mido.MidiFile(tracks=[midigen._track(events)]).save(file=out)
    return out.getvalue()[14 + 8:]  # after the file header and the chunk header


def notes_of(body, part="lead"):
    """Notes of one part as (start, end, key) in ticks, metric accents aside."""
    notes, _, _ = midigen.arrange(midigen.parse(HEAD + body))
    return [(n[0], n[1], n[2]) for n in notes[part]]


class Numbers(unittest.TestCase):
    def test_gaps_as_variable_length_quantities(self):
        # Events come in any order and are written in time order, each after
        # its gap from the one before: seven bits a byte, high bit = more follows.
        name = mido.MetaMessage("track_name", name="x")
        cases = [(0, b"\x00"), (0x40, b"\x40"), (0x7F, b"\x7F"), (0x80, b"\x81\x00"),
                 (0x2000, b"\xC0\x00"), (0x3FFF, b"\xFF\x7F"), (0x4000, b"\x81\x80\x00"),
                 (0x0FFFFFFF, b"\xFF\xFF\xFF\x7F")]
        for gap, encoded in cases:
            with self.subTest(gap=gap):
                body = track_bytes([(5 + gap, 1, mido.MetaMessage("end_of_track")), (5, 0, name)])
                self.assertEqual(body, b"\x05\xFF\x03\x01x" + encoded + b"\xFF\x2F\x00")
        with self.subTest(gap=0x10000000):
            with self.assertRaises(ValueError):
                midigen._track([(0x10000000, 0, mido.MetaMessage("end_of_track"))])

    def test_note_names(self):
        cases = [("C4", 60), ("A4", 69), ("C#4", 61), ("Db4", 61), ("Bb3", 58),
                 ("B#3", 60), ("C-1", 0), ("G9", 127), ("E1", 28)]
        for name, key in cases:
            with self.subTest(name=name):
                self.assertEqual(midigen.note_number(name, 1), key)
        for bad in ("H4", "C", "c4", "G#9", "C10"):
            with self.subTest(name=bad):
                with self.assertRaises(midigen.TuneError):
                    midigen.note_number(bad, 1)


class Notation(unittest.TestCase):
    def test_durations(self):
        body = "section s\nlead: C4/4 D4/8 E4 F4/8. G4/16 A4/8t B4 C5 |\nplay s\n"
        starts = [0, 480, 720, 960, 1320, 1440, 1600, 1760]
        ends = starts[1:] + [1920]
        self.assertEqual(notes_of(body), [(s, e, k) for s, e, k in
                                          zip(starts, ends, [60, 62, 64, 65, 67, 69, 71, 72])])

    def test_chord_tie_and_staccato(self):
        body = "section s\nlead: [C4 E4]/2~ [C4 E4]/4 G4/4' |\nplay s\n"
        self.assertEqual(notes_of(body), [(0, 1440, 60), (0, 1440, 64), (1440, 1656, 67)])

    def test_phrases_with_arguments_transposition_and_repeats(self):
        body = ("def two(x) = x/8 x\n"
                "def bar = $two(C4)+2*2 r/2\n"
                "section s\nlead: $bar |\nplay s\n")
        self.assertEqual([n[2] for n in notes_of(body)], [62, 62, 62, 62])
        self.assertEqual([n[0] for n in notes_of(body)], [0, 240, 480, 720])

    def test_sharp_is_not_a_comment(self):
        body = "section s   # the only one\nlead: F#4/1 |   # held\nplay s\n"
        self.assertEqual(notes_of(body), [(0, 1920, 66)])

    def test_drum_names(self):
        body = "section s\nkit: [k h]/4 s/4 r/2 |\nplay s\n"
        self.assertEqual(sorted(n[2] for n in notes_of(body, "kit")), [36, 38, 42])

    def test_dynamics_and_accents(self):
        body = "section s\nlead: p C4/4 C4 f C4 C4^ |\nplay s\n"
        notes, _, _ = midigen.arrange(midigen.parse(HEAD + body))
        # Downbeat +8, other beats +3, accent +18 on top of the marking.
        self.assertEqual([n[3] for n in notes["lead"]], [63, 58, 103, 121])

    def test_sections_follow_the_play_line(self):
        body = ("section a\nlead: C4/1 |\nsection b\nlead: D4/1 |\n"
                "play a b a\n")
        self.assertEqual([(n[0], n[2]) for n in notes_of(body)],
                         [(0, 60), (1920, 62), (3840, 60)])


class Mistakes(unittest.TestCase):
    """Each mistake is reported with what went wrong, never written out."""

    def test_errors(self):
        cases = [
            ("misplaced bar line", "section s\nlead: C4/4 | C4/2. |\nplay s\n", "line 7"),
            ("parts of unequal length", "section s\nlead: C4/1 |\nkit: k/2\nplay s\n",
             "differ in length"),
            ("section not whole bars", "section s\nlead: C4/2\nplay s\n", "whole number"),
            ("tie to another pitch", "section s\nlead: C4/2~ D4/2 |\nplay s\n", "tie"),
            ("tie out of a section", "section s\nlead: C4/1~ |\nplay s\n", "tie"),
            ("unknown drum", "section s\nkit: boom/1 |\nplay s\n", "unknown drum"),
            ("unknown phrase", "section s\nlead: $nothing |\nplay s\n", "unknown phrase"),
            ("wrong argument count", "def one(x) = x/1\nsection s\nlead: $one(C4, D4)\nplay s\n",
             "takes 1"),
            ("unknown part", "section s\nflute: C4/1 |\nplay s\n", "unknown part"),
            ("unknown section", "section s\nlead: C4/1 |\nplay s t\n", "unknown section"),
            ("bad duration", "section s\nlead: C4/3 |\nplay s\n", "bad duration"),
            ("bad setting", "part x channel=2 volume=loud\n", "bad number"),
            ("no channel", "part x program=3\n", "channel"),
            ("unknown key", "key H\n", "unknown key"),
        ]
        for label, body, message in cases:
            with self.subTest(label):
                with self.assertRaises(midigen.TuneError) as caught:
                    midigen.build(midigen.parse(HEAD + body))
                self.assertIn(message, str(caught.exception))


class Files(unittest.TestCase):
    def test_file_layout_and_timing(self):
        body = ("release 1.0\nsection s\nlead: C4/1 | T=60 D4/1 |\nplay s\n")
        data, summary = midigen.build(midigen.parse(HEAD + body))
        self.assertEqual(data[:4], b"MThd")
        self.assertEqual(data[8:14], b"\x00\x01\x00\x03\x01\xE0")  # format 1, 3 tracks, 480
        self.assertEqual(data.count(b"MTrk"), 3)
        # One bar at 120 (2 s), one at 60 (4 s), then the release at 60.
        self.assertAlmostEqual(summary["music_seconds"], 6.0)
        self.assertAlmostEqual(summary["seconds"], 7.0)
        self.assertIn(b"\xFF\x51\x03\x07\xA1\x20", data)  # 500000 us = 120 bpm
        self.assertIn(b"\xFF\x51\x03\x0F\x42\x40", data)  # 1000000 us = 60 bpm
        self.assertIn(b"\xC0\x0C", data)                   # marimba on channel 1


if __name__ == "__main__":
    unittest.main()

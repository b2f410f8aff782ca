#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks the two tunes in the program folder: valid Standard MIDI Files,
their lengths, a real arrangement (melody, harmony, bass, drums), and that
they are exactly what the generator makes from the current note texts."""

import os
import struct
import subprocess
import sys
import tempfile
import unittest

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


def read_vlq(data, i):
    value = 0
    for count in range(4):
        if i >= len(data):
            raise SmfError("truncated length")
        b = data[i]
        i += 1
        value = (value << 7) | (b & 0x7F)
        if not b & 0x80:
            return value, i
    raise SmfError("length longer than 4 bytes")


def read_smf(data):
    """Parses a whole file strictly; returns (format, division, tracks).

    Each track is a list of (tick, status, payload bytes); meta events have
    status 0xFF and payload (type, data).
    """
    if data[:4] != b"MThd" or struct.unpack(">I", data[4:8])[0] != 6:
        raise SmfError("no MThd header of length 6")
    fmt, ntracks, division = struct.unpack(">HHH", data[8:14])
    if division & 0x8000 or division == 0:
        raise SmfError("division must be ticks per quarter note")
    pos, tracks = 14, []
    while pos < len(data):
        if data[pos:pos + 4] != b"MTrk":
            raise SmfError("chunk at %d is not MTrk" % pos)
        size = struct.unpack(">I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        if len(body) != size:
            raise SmfError("track chunk runs past the end of the file")
        tracks.append(read_track(body))
        pos += 8 + size
    if len(tracks) != ntracks:
        raise SmfError("header says %d tracks, file has %d" % (ntracks, len(tracks)))
    return fmt, division, tracks


def read_track(body):
    events, i, tick, status = [], 0, 0, None
    while i < len(body):
        delta, i = read_vlq(body, i)
        tick += delta
        if body[i] & 0x80:
            status = body[i]
            i += 1
        elif status is None or status >= 0xF0:
            raise SmfError("running status without a status byte")
        if status == 0xFF:
            kind = body[i]
            length, i = read_vlq(body, i + 1)
            events.append((tick, status, (kind, body[i:i + length])))
            i += length
            if kind == 0x2F:
                if i != len(body):
                    raise SmfError("data after End of Track")
                return events
        elif status in (0xF0, 0xF7):
            length, i = read_vlq(body, i)
            i += length
        else:
            size = 1 if status & 0xF0 in (0xC0, 0xD0) else 2
            payload = body[i:i + size]
            if len(payload) != size or any(b & 0x80 for b in payload):
                raise SmfError("bad channel message data")
            events.append((tick, status, bytes(payload)))
            i += size
    raise SmfError("track has no End of Track")


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
        self.format, self.division, self.tracks = read_smf(self.data)
        self.tempos = [(t, int.from_bytes(p[1], "big")) for tr in self.tracks
                       for t, s, p in tr if s == 0xFF and p[0] == 0x51]
        self.end_tick = max(tr[-1][0] for tr in self.tracks)
        self.notes = []          # (on tick, off tick, channel, key, velocity)
        self.unmatched = []      # note-offs without a note-on, or hanging notes
        self.programs = {}       # channel -> (tick, program) of the first change
        for track in self.tracks:
            sounding = {}
            for tick, status, payload in track:
                kind, ch = status & 0xF0, status & 0x0F
                if kind == 0xC0:
                    self.programs.setdefault(ch, (tick, payload[0]))
                elif kind == 0x90 and payload[1] > 0:
                    if (ch, payload[0]) in sounding:
                        self.unmatched.append((tick, ch, payload[0]))
                    sounding[(ch, payload[0])] = (tick, payload[1])
                elif kind == 0x80 or (kind == 0x90 and payload[1] == 0):
                    if (ch, payload[0]) not in sounding:
                        self.unmatched.append((tick, ch, payload[0]))
                        continue
                    on, vel = sounding.pop((ch, payload[0]))
                    self.notes.append((on, tick, ch, payload[0], vel))
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
        generator = os.path.join(SOURCE_DIR, "tools", "midigen.py")
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

#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Writes the small MIDI tunes the audio tests play, with mido, into OUT_DIR.

usage: write_test_tunes.py OUT_DIR
"""
import os
import sys

import mido

TICKS_PER_BEAT = 480  # at the default 120 bpm: 960 ticks a second

# Each tune's notes as (start, length, key), in ticks; notes never overlap.
TUNES = {
    # Still playing, 4 s long, while a test looks at it.
    "long.mid": [(0, 960, 60), (960, 960, 64), (1920, 960, 67), (2880, 960, 72)],
    # A note, a rest from 0.3 s to 2 s, and a note: a tune that went on
    # where it was stopped would be silent there.
    "rest.mid": [(0, 288, 60), (1920, 288, 72)],
    # Two notes, the second ending 2.5 s in.
    "two_notes.mid": [(0, 480, 60), (1920, 480, 67)],
    "one_note.mid": [(0, 480, 60)],
}


def write(path, notes):
    track = mido.MidiTrack([mido.Message("program_change", program=0, time=0)])  # piano
    now = 0
    for start, length, key in notes:
        track.append(mido.Message("note_on", note=key, velocity=100, time=start - now))
        track.append(mido.Message("note_off", note=key, velocity=0, time=length))
        now = start + length
    track.append(mido.MetaMessage("end_of_track", time=0))
    mido.MidiFile(type=0, ticks_per_beat=TICKS_PER_BEAT, tracks=[track]).save(path)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__.strip())
    os.makedirs(sys.argv[1], exist_ok=True)
    for name, notes in TUNES.items():
        write(os.path.join(sys.argv[1], name), notes)


if __name__ == "__main__":
    main()

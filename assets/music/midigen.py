#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Turns a tune written in a small note language into a Standard MIDI File
(written with mido, Debian's python3-mido).

Usage: midigen.py TUNE.txt OUT.mid      write the file, print a summary
       midigen.py --info TUNE.txt       only print the summary

The note language, one statement per line ("#" after a blank starts a comment):

  title Moguana              name written into the conductor track
  tempo 100                  quarter notes per minute at the start
  meter 4/4                  time signature; bar lines are checked against it
  key F                      key signature (F, Bb, F#, Am, ...)
  release 1.5                seconds kept after the last note for the ring-out
  part lead channel=1 program=12 volume=100 pan=64 reverb=40 chorus=0
            gate=0.9 velocity=85
                             one instrument per part; channel 10 is the drum kit
  def name = tokens          a phrase to reuse; "def name(a, b) = ..." takes
                             arguments that replace the words a and b
  section A                  the part lines below belong to section A
  lead: tokens               notes of one part in the current section; a part
                             named twice in a section goes on where it stopped
  play intro A B A outro     the order in which the sections are played

Tokens of a part line:

  C4 F#5 Bb3                 a note; C4 is middle C (MIDI 60)
  [F3 A3 C4]                 a chord
  r                          a rest
  k s h ...                  drum names on channel 10 (see DRUMS)
  /4 /8. /8t                 duration written after a note, chord or rest:
                             1 2 4 8 16 32, "." dotted, "t" triplet; without
                             one the part's previous duration is used
  '  ^  ~                    after the duration: staccato, accent, tie into
                             the next note of the same pitch
  pp p mp mf f ff            loudness of the following notes
  T=92                       tempo change at this point (any part may say it)
  |                          bar line: must fall on a whole bar
  $name $name(x, y) $name+5 $name*2
                             a phrase from "def", with arguments, moved by
                             semitones, or repeated

Every part of a section must add up to the same whole number of bars; a part
that has no line in a section rests through it.
"""

import io
import re
import sys

import mido

PPQ = 480

DRUMS = {
    "k": 36,     # bass drum
    "rim": 37,   # side stick
    "s": 38,     # snare
    "cl": 39,    # hand clap
    "lt": 45,    # low tom
    "h": 42,     # closed hi-hat
    "ph": 44,    # pedal hi-hat
    "oh": 46,    # open hi-hat
    "mt": 47,    # low-mid tom
    "ht": 50,    # high tom
    "cr": 49,    # crash cymbal
    "rd": 51,    # ride cymbal
    "tam": 54,   # tambourine
    "cb": 56,    # cowbell
    "cg": 63,    # open high conga
    "lcg": 64,   # low conga
    "sh": 70,    # maracas
    "wb": 76,    # high wood block
    "lwb": 77,   # low wood block
    "tri": 81,   # open triangle
}

DYNAMICS = {"pp": 40, "p": 55, "mp": 70, "mf": 85, "f": 100, "ff": 115}

NOTE_RE = re.compile(r"^([A-G])(#|b)?(-?\d)$")
SEMITONES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
EVENT_RE = re.compile(r"^(\[[^\]]*\]|[^/'^~\[\]]+)(?:/(\d+)(\.?)(t?))?([ '^~]*)$")
MACRO_RE = re.compile(r"^\$(\w+)(?:\((.*)\))?([+-]\d+)?(?:\*(\d+))?$")
COMMENT_RE = re.compile(r"(?:^|\s)#")  # "#" inside F#4 is a sharp
TOKEN_RE = re.compile(r"\$\w+\([^)]*\)\S*|\[[^\]]*\]\S*|\S+")

PART_DEFAULTS = {"channel": None, "program": 0, "volume": 100, "pan": 64,
                 "reverb": 40, "chorus": 0, "gate": 0.9, "velocity": 85}


class TuneError(Exception):
    pass


def note_number(name, line):
    m = NOTE_RE.match(name)
    if not m:
        raise TuneError("line %d: not a note: %r" % (line, name))
    letter, accidental, octave = m.groups()
    n = SEMITONES[letter] + {"#": 1, "b": -1, None: 0}[accidental]
    n += (int(octave) + 1) * 12
    if not 0 <= n <= 127:
        raise TuneError("line %d: note out of range: %r" % (line, name))
    return n


class Part:
    def __init__(self, name, line, **settings):
        self.name = name
        for key, default in PART_DEFAULTS.items():
            setattr(self, key, settings.pop(key, default))
        if settings:
            raise TuneError("line %d: unknown setting %s" % (line, ", ".join(settings)))
        if self.channel is None or not 1 <= self.channel <= 16:
            raise TuneError("line %d: part %s needs channel=1..16" % (line, name))

    @property
    def is_drums(self):
        return self.channel == 10


class Tune:
    def __init__(self):
        self.title = "untitled"
        self.tempo = 120.0
        self.meter = (4, 4)
        self.key = None
        self.release = 1.0
        self.parts = {}
        self.macros = {}
        self.sections = {}
        self.form = []

    @property
    def bar_ticks(self):
        num, den = self.meter
        return num * PPQ * 4 // den


def _settings(words, line):
    out = {}
    for word in words:
        if "=" not in word:
            raise TuneError("line %d: expected name=value, got %r" % (line, word))
        key, value = word.split("=", 1)
        try:
            out[key] = float(value) if key == "gate" else int(value)
        except ValueError:
            raise TuneError("line %d: bad number in %r" % (line, word)) from None
    return out


def parse(text):
    tune = Tune()
    section = None
    for number, raw in enumerate(text.splitlines(), 1):
        line = COMMENT_RE.split(raw, 1)[0].strip()
        if not line:
            continue
        head, _, rest = line.partition(" ")
        rest = rest.strip()
        if head == "title":
            tune.title = rest
        elif head == "tempo":
            tune.tempo = float(rest)
        elif head == "meter":
            num, den = rest.split("/")
            tune.meter = (int(num), int(den))
        elif head == "key":
            try:
                mido.MetaMessage("key_signature", key=rest)
            except ValueError:
                raise TuneError("line %d: unknown key %r" % (number, rest)) from None
            tune.key = rest
        elif head == "release":
            tune.release = float(rest)
        elif head == "part":
            words = rest.split()
            tune.parts[words[0]] = Part(words[0], number, **_settings(words[1:], number))
        elif head == "def":
            m = re.match(r"^(\w+)\s*(?:\(([^)]*)\))?\s*=\s*(.*)$", rest)
            if not m:
                raise TuneError("line %d: expected def name(args) = tokens" % number)
            params = [p.strip() for p in (m.group(2) or "").split(",") if p.strip()]
            tune.macros[m.group(1)] = (params, TOKEN_RE.findall(m.group(3)), number)
        elif head == "section":
            section = tune.sections.setdefault(rest, {})
        elif head == "play":
            tune.form = rest.split()
        elif re.match(r"^\w+:", line):
            name, _, body = line.partition(":")
            if section is None:
                raise TuneError("line %d: part line outside a section" % number)
            if name not in tune.parts:
                raise TuneError("line %d: unknown part %r" % (number, name))
            section.setdefault(name, []).extend((t, number) for t in TOKEN_RE.findall(body))
        else:
            raise TuneError("line %d: cannot read %r" % (number, line))
    for name in tune.form:
        if name not in tune.sections:
            raise TuneError("play: unknown section %r" % name)
    if not tune.form:
        raise TuneError("no play line")
    return tune


def expand(tokens, macros, depth=0):
    """Replaces $macro tokens by their text; yields (token, line, transpose)."""
    if depth > 16:
        raise TuneError("phrases nest too deeply")
    for token, line, shift in tokens:
        m = MACRO_RE.match(token)
        if not m:
            yield token, line, shift
            continue
        name, args, move, times = m.groups()
        if name not in macros:
            raise TuneError("line %d: unknown phrase $%s" % (line, name))
        params, body, _ = macros[name]
        values = [a.strip() for a in args.split(",")] if args else []
        if len(values) != len(params):
            raise TuneError("line %d: $%s takes %d arguments" % (line, name, len(params)))
        lookup = dict(zip(params, values))
        replaced = []
        for word in body:
            head = re.match(r"^(\w+)(.*)$", word)
            if head and head.group(1) in lookup:
                word = lookup[head.group(1)] + head.group(2)
            replaced.append((word, line, shift + int(move or 0)))
        for _ in range(int(times or 1)):
            yield from expand(replaced, macros, depth + 1)


def _duration(den, dot, triplet, line):
    if den not in ("1", "2", "4", "8", "16", "32"):
        raise TuneError("line %d: bad duration /%s" % (line, den))
    ticks = PPQ * 4 // int(den)
    if dot:
        ticks += ticks // 2
    if triplet:
        ticks = ticks * 2 // 3
    return ticks


def _metric_accent(pos, tune):
    bar, beat = tune.bar_ticks, PPQ * 4 // tune.meter[1]
    if pos % bar == 0:
        return 8
    if pos % beat == 0:
        return 3
    if pos % (beat // 2) == 0:
        return 0
    return -4


def render_part(tune, part, tokens, start, tempo_events):
    """Returns (notes, length): notes are [start_tick, end_tick, key, velocity]."""
    notes = []
    pos = 0
    length = PPQ
    velocity = part.velocity
    tied = {}
    for token, line, shift in expand([(t, l, 0) for t, l in tokens], tune.macros):
        if token == "|":
            if pos % tune.bar_ticks:
                raise TuneError("line %d: part %s: bar line at beat %.2f of a bar"
                                % (line, part.name, (pos % tune.bar_ticks) / PPQ))
            continue
        if token in DYNAMICS:
            velocity = DYNAMICS[token]
            continue
        if token.startswith("T="):
            tempo_events.append((start + pos, float(token[2:])))
            continue
        m = EVENT_RE.match(token)
        if not m:
            raise TuneError("line %d: cannot read %r" % (line, token))
        body, den, dot, triplet, marks = m.groups()
        if den:
            length = _duration(den, dot, triplet, line)
        elif dot or triplet:
            raise TuneError("line %d: %r: dot without duration" % (line, token))
        if body == "r":
            keys = []
        else:
            names = body[1:-1].split() if body.startswith("[") else [body]
            if part.is_drums:
                unknown = [n for n in names if n not in DRUMS]
                if unknown:
                    raise TuneError("line %d: unknown drum %r" % (line, unknown[0]))
                keys = [DRUMS[n] for n in names]
            else:
                keys = [note_number(n, line) + shift for n in names]
        gate = 0.45 if "'" in marks else part.gate
        if part.is_drums:
            gate = 0.5
        vel = velocity + _metric_accent(pos, tune) + (18 if "^" in marks else 0)
        vel = max(1, min(127, vel))
        held = {}
        for key in keys:
            if key in tied:
                note = tied.pop(key)
                note[1] = start + pos + max(1, int(length * gate))
            else:
                note = [start + pos, start + pos + max(1, int(length * gate)), key, vel]
                notes.append(note)
            if "~" in marks:
                note[1] = start + pos + length
                held[key] = note
        if tied:
            raise TuneError("line %d: tie to a note that does not follow" % line)
        tied = held
        pos += length
    if tied:
        raise TuneError("part %s: tie at the end of a section" % part.name)
    return notes, pos


def arrange(tune):
    """Lays the sections out in time.

    Returns (notes per part name, tempo changes [(tick, bpm)], end tick of music).
    """
    tempo_events = [(0, tune.tempo)]
    notes = {name: [] for name in tune.parts}
    start = 0
    for section_name in tune.form:
        section = tune.sections[section_name]
        lengths = {}
        for part_name, tokens in section.items():
            part_notes, length = render_part(tune, tune.parts[part_name], tokens,
                                             start, tempo_events)
            notes[part_name].extend(part_notes)
            lengths[part_name] = length
        if len(set(lengths.values())) != 1:
            raise TuneError("section %s: parts differ in length: %s" % (
                section_name, ", ".join("%s %.2f beats" % (p, n / PPQ)
                                        for p, n in lengths.items())))
        length = next(iter(lengths.values()))
        if length % tune.bar_ticks:
            raise TuneError("section %s is not a whole number of bars" % section_name)
        start += length
    tempo_events.sort(key=lambda e: e[0])
    return notes, tempo_events, start


def seconds_at(tick, tempo_events):
    total, last_tick, bpm = 0.0, 0, tempo_events[0][1]
    for at, new_bpm in tempo_events:
        if at >= tick:
            break
        total += (at - last_tick) * 60.0 / (bpm * PPQ)
        last_tick, bpm = at, new_bpm
    return total + (tick - last_tick) * 60.0 / (bpm * PPQ)


# The longest gap between two events that a file can hold: four bytes of
# seven bits.
MAX_DELTA = 0x0FFFFFFF


def _track(events):
    """events: (tick, order, message); sorted by both and timed by the gaps
    between them, as a file keeps them."""
    track = mido.MidiTrack()
    now = 0
    for tick, _, message in sorted(events, key=lambda e: (e[0], e[1])):
        if tick - now > MAX_DELTA:
            raise ValueError("%d ticks between two events is more than a MIDI file holds"
                             % (tick - now))
        track.append(message.copy(time=tick - now))
        now = tick
    return track


def build(tune):
    """Returns (SMF bytes, summary dict)."""
    notes, tempo_events, music_end = arrange(tune)
    last_off = max((n[1] for ns in notes.values() for n in ns), default=0)
    music_end = max(music_end, last_off)
    bpm_end = tempo_events[-1][1]
    end = music_end + int(round(tune.release * bpm_end * PPQ / 60.0))

    Meta, Msg = mido.MetaMessage, mido.Message
    midi = mido.MidiFile(type=1, ticks_per_beat=PPQ)
    num, den = tune.meter
    conductor = [(0, 0, Meta("track_name", name=tune.title)),
                 (0, 1, Meta("time_signature", numerator=num, denominator=den,
                             clocks_per_click=24, notated_32nd_notes_per_beat=8))]
    if tune.key:
        conductor.append((0, 2, Meta("key_signature", key=tune.key)))
    for tick, bpm in tempo_events:
        conductor.append((tick, 3, Meta("set_tempo", tempo=int(round(60_000_000 / bpm)))))
    conductor.append((end, 9, Meta("end_of_track")))
    midi.tracks.append(_track(conductor))

    for name, part in tune.parts.items():
        ch = part.channel - 1
        events = [(0, 0, Meta("track_name", name=name)),
                  (0, 1, Msg("program_change", channel=ch, program=part.program & 0x7F))]
        for order, (cc, value) in enumerate(((7, part.volume), (10, part.pan),
                                             (91, part.reverb), (93, part.chorus)), 2):
            events.append((0, order, Msg("control_change", channel=ch, control=cc,
                                         value=value & 0x7F)))
        for on, off, key, vel in notes[name]:
            # Offs sort before ons at the same tick so that repeated notes retrigger.
            events.append((on, 8, Msg("note_on", channel=ch, note=key, velocity=vel)))
            events.append((off, 7, Msg("note_off", channel=ch, note=key, velocity=0)))
        events.append((end, 9, Meta("end_of_track")))
        midi.tracks.append(_track(events))

    data = io.BytesIO()
    midi.save(file=data)
    summary = {
        "title": tune.title,
        "seconds": seconds_at(end, tempo_events),
        "music_seconds": seconds_at(music_end, tempo_events),
        "bars": music_end // tune.bar_ticks,
        "notes": {name: len(ns) for name, ns in notes.items()},
    }
    return data.getvalue(), summary


def describe(summary):
    parts = ", ".join("%s %d" % item for item in summary["notes"].items())
    return "%s: %d bars, music %.1f s, file %.1f s; notes: %s" % (
        summary["title"], summary["bars"], summary["music_seconds"],
        summary["seconds"], parts)


def main(argv):
    args = argv[1:]
    info_only = bool(args) and args[0] == "--info"
    if info_only:
        args = args[1:]
    if len(args) != (1 if info_only else 2):
        sys.stderr.write(__doc__)
        return 2
    try:
        with open(args[0], encoding="utf-8") as f:
            data, summary = build(parse(f.read()))
    except TuneError as e:
        sys.stderr.write("%s: %s\n" % (args[0], e))
        return 1
    if not info_only:
        with open(args[1], "wb") as f:
            f.write(data)
    print(describe(summary))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))

#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks the six effects in the program folder: format, length, level,
clean edges, the character each one must have, and that they are exactly
what the synthesis script makes from the current sources."""

import math
import os
import struct
import subprocess
import sys
import tempfile
import unittest
import wave

PROGRAM_DIR = os.environ.get("POKOPIN_PROGRAM_DIR", "")
SOURCE_DIR = os.environ.get("POKOPIN_SOURCE_DIR", "")

# name: (shortest, longest) in seconds
EFFECTS = {
    "hue": (0.5, 0.8),
    "bisi": (0.05, 0.25),
    "hei": (0.6, 1.0),
    "pon": (0.05, 0.2),
    "pipo2": (0.15, 0.4),
    "pipo1": (0.15, 0.4),
}


def read(name):
    """Returns (wave params, samples of the first channel as floats in -1..1)."""
    with wave.open(os.path.join(PROGRAM_DIR, name + ".wav"), "rb") as w:
        params = w.getparams()
        raw = w.readframes(params.nframes)
    if params.sampwidth != 2:
        return params, []
    values = struct.unpack("<%dh" % (len(raw) // 2), raw)
    return params, [v / 32768.0 for v in values[::params.nchannels]]


def dbfs(value):
    return 20.0 * math.log10(max(value, 1e-12))


def rms(values):
    return math.sqrt(sum(v * v for v in values) / max(1, len(values)))


def pitch_at(samples, rate, seconds, window=2048):
    """Fundamental near `seconds`, by normalised autocorrelation (200-4000 Hz)."""
    centre = int(seconds * rate)
    frame = samples[max(0, centre - window // 2):centre + window // 2]
    energy = sum(v * v for v in frame)
    best = {}
    for lag in range(rate // 4000, rate // 200):
        best[lag] = sum(frame[i] * frame[i + lag] for i in range(len(frame) - lag)) / energy
    top = max(best.values())
    # The shortest lag that comes close to the best one avoids octave errors.
    lag = min(l for l, v in best.items() if v >= 0.9 * top)
    while lag + 1 in best and best[lag + 1] > best[lag]:
        lag += 1
    return rate / lag


class EffectFiles(unittest.TestCase):
    def test_format_length_and_peak(self):
        for name, (shortest, longest) in EFFECTS.items():
            with self.subTest(effect=name):
                params, samples = read(name)
                self.assertEqual(params.comptype, "NONE")
                self.assertEqual(params.sampwidth, 2, "16-bit PCM")
                self.assertIn(params.framerate, (44100, 22050))
                self.assertIn(params.nchannels, (1, 2))
                seconds = params.nframes / params.framerate
                self.assertGreaterEqual(seconds, shortest)
                self.assertLessEqual(seconds, longest)
                peak = dbfs(max(abs(v) for v in samples))
                self.assertGreater(peak, -4.0, "peak near -3 dBFS")
                self.assertLess(peak, -2.0, "peak near -3 dBFS")

    def test_edges_fade_to_silence(self):
        for name in EFFECTS:
            with self.subTest(effect=name):
                params, samples = read(name)
                edge = params.framerate // 1000  # 1 ms
                self.assertLess(abs(samples[0]), 0.01, "starts at silence")
                self.assertLess(abs(samples[-1]), 0.01, "ends at silence")
                peak = max(abs(v) for v in samples)
                tail = max(abs(v) for v in samples[-2 * edge:])
                self.assertLess(tail, 0.05 * peak, "faded out over the last 2 ms")
                # A fade-in rises from zero: no jump of more than a tenth of
                # the peak between neighbouring samples in the first 0.2 ms.
                head = samples[:edge // 5 + 1]
                jumps = [abs(b - a) for a, b in zip(head, head[1:])]
                self.assertLess(max(jumps), 0.1 * peak)

    def test_whack_is_loudest_at_once(self):
        params, samples = read("bisi")
        rate = params.framerate
        peak_at = max(range(len(samples)), key=lambda i: abs(samples[i]))
        self.assertLess(peak_at / rate, 0.020, "peak within the first 20 ms")
        step = rate // 50  # 20 ms windows
        windows = [rms(samples[i:i + step]) for i in range(0, len(samples) - step + 1, step)]
        self.assertEqual(windows.index(max(windows)), 0, "first 20 ms are the loudest")
        self.assertLess(windows[-1], 0.1 * windows[0], "it dies away: a smack, not a tone")

    def test_pitch_direction(self):
        # (effect, early point, late point as fractions of the length, direction)
        cases = [("hue", 0.12, 0.75, "up"),
                 ("pipo2", 0.25, 0.7, "up"),
                 ("pipo1", 0.25, 0.7, "down")]
        for name, early, late, direction in cases:
            with self.subTest(effect=name):
                params, samples = read(name)
                seconds = params.nframes / params.framerate
                first = pitch_at(samples, params.framerate, early * seconds)
                second = pitch_at(samples, params.framerate, late * seconds)
                if direction == "up":
                    self.assertGreater(second, first * 1.25, "%.0f Hz -> %.0f Hz" % (first, second))
                else:
                    self.assertLess(second, first / 1.25, "%.0f Hz -> %.0f Hz" % (first, second))

    def test_two_separate_beeps(self):
        for name in ("pipo2", "pipo1"):
            with self.subTest(effect=name):
                params, samples = read(name)
                step = params.framerate // 200  # 5 ms
                env = [0.0] + [max(abs(v) for v in samples[i:i + step])
                       for i in range(0, len(samples) - step, step)]
                # Count the strikes: the level jumps up by at least 6 dB.
                strikes = sum(1 for a, b in zip(env, env[1:]) if b > 0.2 and b > 2.0 * a)
                self.assertEqual(strikes, 2)

    def test_rebuilt_from_sources(self):
        script = os.path.join(SOURCE_DIR, "assets", "sound", "synth.py")
        with tempfile.TemporaryDirectory() as tmp:
            subprocess.run([sys.executable, "-B", script, tmp], check=True)
            self.assertEqual(sorted(os.listdir(tmp)), sorted(n + ".wav" for n in EFFECTS),
                             "each effect the script makes is checked here")
            for name in EFFECTS:
                with self.subTest(effect=name):
                    with open(os.path.join(tmp, name + ".wav"), "rb") as fresh, \
                            open(os.path.join(PROGRAM_DIR, name + ".wav"), "rb") as built:
                        self.assertEqual(fresh.read(), built.read(),
                                         "program folder copy is stale or not reproducible")


if __name__ == "__main__":
    if not PROGRAM_DIR or not SOURCE_DIR:
        sys.exit("set POKOPIN_PROGRAM_DIR and POKOPIN_SOURCE_DIR")
    unittest.main()

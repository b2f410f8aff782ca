# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Checks of the effect benchmark's analysis on made-up captures: a stream of
noise standing in for the music, effects put in at known buffers, reads and
keys at known times. Run by hand: /usr/bin/python3 -m unittest discover -s
tools/bench -p 'test_*.py'"""
import os
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import effect_latency as el  # noqa: E402

np = el.np
FRAMES = 512
PERIOD_MS = 11.6
FIRST_READ_MS = 1000.0


def click(seed, seconds=0.08):
    """A made-up effect with a sharp onset, mono."""
    rng = np.random.default_rng(seed)
    n = int(seconds * el.RATE)
    return rng.normal(0, 6000, n) * np.exp(-np.arange(n) / (0.02 * el.RATE))


def capture(buffers, effects, keys, noise=300.0):
    """effects: (buffer index, mono samples); keys: (ms, edge, name).
    Buffer k arrives at FIRST_READ_MS + k * PERIOD_MS, one read each."""
    rng = np.random.default_rng(7)
    stereo = rng.normal(0, noise, (buffers * FRAMES, 2))
    for k, fx in effects:
        start = k * FRAMES
        stereo[start: start + len(fx)] += fx[:, None]
    lines = [f"key {edge} {name} {t:.3f}" for t, edge, name in keys]
    lines += [f"read {FIRST_READ_MS + k * PERIOD_MS:.3f} {k * FRAMES * 4} {FRAMES * 4}"
              for k in range(buffers)]
    raw = tempfile.NamedTemporaryFile(suffix=".raw", delete=False)
    raw.write(np.clip(stereo, -32768, 32767).astype("<i2").tobytes())
    raw.close()
    try:
        return el.Capture("\n".join(lines), raw.name)
    finally:
        os.unlink(raw.name)


def arrival(k):
    return FIRST_READ_MS + k * PERIOD_MS


class FindAfterKey(unittest.TestCase):
    def test_table(self):
        fx = click(1)
        template = fx[: int(el.TEMPLATE_SECONDS * el.RATE)]
        # key time (ms), buffer holding the effect or None,
        # expected latency (ms) or None, in the next buffer
        cases = [
            ("in the next buffer", arrival(10) - 4.0, 10, 4.0, True),
            ("a buffer late", arrival(30) - 4.0, 31, 4.0 + PERIOD_MS, False),
            ("key right after a read", arrival(50) + 0.1, 51, PERIOD_MS - 0.1, True),
            ("no effect: the next key's is not taken", arrival(70) - 4.0, None, None, None),
        ]
        effects = [(b, fx) for _, _, b, _, _ in cases if b is not None]
        keys = [(t, "up", "Right") for _, t, _, _, _ in cases]
        # the key after the silent one, and its effect
        keys.append((arrival(90) - 4.0, "up", "Right"))
        effects.append((91, fx))
        c = capture(120, effects, keys)
        for name, t, _, latency, in_next in cases:
            with self.subTest(name):
                p = el.find_after_key(c, template, t, FRAMES)
                if latency is None:
                    self.assertIsNone(p)
                    continue
                self.assertIsNotNone(p)
                self.assertAlmostEqual(p.latency, latency, places=2)
                self.assertEqual(p.in_next, in_next)
                self.assertTrue(p.on_boundary)


class FindHits(unittest.TestCase):
    def test_each_hit_goes_to_the_last_key_before_it(self):
        fx = click(2)
        template = fx[: int(el.TEMPLATE_SECONDS * el.RATE)]
        keys = [(arrival(10) - 3.0, "down", "q"), (arrival(30) - 3.0, "down", "w"),
                (arrival(50) - 3.0, "down", "e")]
        # q hits at once, w misses (no sound), e is heard a buffer late;
        # a sound at buffer 5 comes before any key and belongs to none.
        c = capture(80, [(5, fx), (11, fx), (52, fx)], keys)
        hits = el.find_hits(c, template, [t for t, _, _ in keys], FRAMES, 0.0, arrival(79))
        got = [(round(h.t_key, 3), round(h.latency, 2)) for h in hits]
        want = [(round(keys[0][0], 3), round(arrival(11) - keys[0][0], 2)),
                (round(keys[2][0], 3), round(arrival(52) - keys[2][0], 2))]
        self.assertEqual(got, want)


class BufferSize(unittest.TestCase):
    def test_each_stretch_reports_the_buffers_it_met(self):
        # 100 reads of 512 frames every 11.6 ms, then 100 of 256 every 5.8 ms
        # (an older build and the game differ in size; so may the two stretches).
        lines, t, offset = [], FIRST_READ_MS, 0
        for frames, period in ((512, 11.6), (256, 5.8)):
            for _ in range(100):
                lines.append(f"read {t:.3f} {offset} {frames * 4}")
                t += period
                offset += frames * 4
        raw = tempfile.NamedTemporaryFile(suffix=".raw", delete=False)
        raw.write(b"\0" * offset)
        raw.close()
        try:
            c = el.Capture("\n".join(lines), raw.name)
        finally:
            os.unlink(raw.name)
        split = FIRST_READ_MS + 100 * 11.6
        for name, t0, t1, frames, period in (
                ("first stretch", FIRST_READ_MS, split - 1, 512, 11.6),
                ("second stretch", split, t, 256, 5.8)):
            with self.subTest(name):
                self.assertEqual(c.buffer_frames(t0, t1), frames)
                self.assertAlmostEqual(c.period_ms(frames), period, places=2)


if __name__ == "__main__":
    unittest.main()

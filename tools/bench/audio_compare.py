#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""What the player hears, from two builds of the game: each is run under a
private Xvfb with SDL's disk audio driver (in real time), put through the same
script of keys, and its output searched for every sound it should make.

usage: /usr/bin/python3 tools/bench/audio_compare.py OLD/pokopin NEW/pokopin
           --tool BUILD/tools/audio/pokopin_audio_tool [--keep DIR]

The script, from the moment the main window shows (W):
  W+3 s   Right, Right 0.1 s apart: two mode changes, the second "pon" cuts
          the first off
  W+58 s  Space: a game starts ("hue"), the game tune replaces the title tune;
          the title tune has restarted once by then (every 54.1 s)
          the game ends by its clock 24 s later ("hei"), the title tune again
  W+88 s  Right: one more "pon"; the program is ended at W+90 s

Each sound is found by normalised cross-correlation with its source: the
effects' WAV files and seconds 1 to 3 of each tune as the new renderer makes
it (the tool's "tune" command). Each is timed from its cause (the window,
the key, the tune's previous start), in wall-clock seconds: the disk driver
keeps only roughly to real time (it sleeps whole milliseconds per buffer),
so its output is mapped back to the clock through the moments the keys went
in. The outputs are then compared build against build: the correlation of
the two over each sound's stretch, aligned on where it was found.

Needs numpy (Debian's python3-numpy, installed when missing), xdotool and Xvfb.
"""
import argparse
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time
import wave

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from xvfb import Xvfb  # noqa: E402
import needs  # noqa: E402
from measure import copy_program, private_dirs  # noqa: E402

np = needs.numpy()

RATE = 44100
MAIN_TITLE = "Pokopin\uff01"
TOOL_ENV = dict(os.environ, LC_ALL="C.UTF-8")
TUNE_LEAD = RATE  # a tune is found by its second and third seconds


class Capture:
    """One run of one build: the output file and when each key went in."""

    def __init__(self, program, out_dir, name):
        self.name = name
        self.raw = os.path.join(out_dir, f"{name}.raw")
        self.marks = {}  # what -> seconds of output written when it happened
        self.wall = {}   # what -> seconds of wall clock from the window's showing
        self.clock = []  # (seconds of output, seconds of wall clock), every 0.25 s
        self.program = program
        self.out_dir = out_dir

    def written(self):
        try:
            return os.path.getsize(self.raw) / (4.0 * RATE)
        except FileNotFoundError:
            return 0.0

    def run(self):
        scratch = tempfile.mkdtemp(prefix="pokopin-audio-", dir=self.out_dir)
        program = copy_program(self.program, scratch)  # an empty score log: no greeting
        dirs = private_dirs(scratch)
        xvfb = Xvfb()
        env = dict(os.environ, DISPLAY=xvfb.display, **dirs,
                   QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=self.raw)
        env.pop("SESSION_MANAGER", None)
        env.pop("DBUS_SESSION_BUS_ADDRESS", None)
        xenv = dict(TOOL_ENV, DISPLAY=xvfb.display)
        proc = subprocess.Popen([program], cwd=os.path.dirname(program), env=env, stdin=subprocess.DEVNULL,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            wid = None
            deadline = time.monotonic() + 30
            while wid is None and time.monotonic() < deadline:
                r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{MAIN_TITLE}$"],
                                   env=xenv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                   text=True)
                wid = r.stdout.split()[0] if r.stdout.split() else None
                if wid is None:
                    time.sleep(0.01)
            if wid is None:
                raise RuntimeError(f"{self.name}: the main window did not show")
            shown = time.monotonic()
            self.marks["window"] = self.written()
            self.wall["window"] = 0.0
            subprocess.run(["xdotool", "windowfocus", "--sync", wid], env=xenv, check=True)

            def wait_until(seconds):
                # Samples the output's length as it goes, to map it to the clock.
                while time.monotonic() < shown + seconds:
                    self.clock.append((self.written(), time.monotonic() - shown))
                    time.sleep(min(0.25, max(0.0, shown + seconds - time.monotonic())))

            def at(seconds, what, *keys):
                wait_until(seconds)
                self.marks[what] = self.written()
                self.wall[what] = time.monotonic() - shown
                subprocess.run(["xdotool", "key", "--delay", "100", *keys], env=xenv, check=True)

            at(3, "mode keys", "Right", "Right")
            at(58, "space", "space")
            at(88, "mode key after the game", "Right")
            wait_until(90)
            self.marks["end"] = self.written()
            self.wall["end"] = time.monotonic() - shown
        finally:
            proc.kill()
            proc.wait()
            xvfb.stop()
            shutil.rmtree(scratch, ignore_errors=True)
        with open(self.raw + ".json", "w") as f:
            json.dump({"marks": self.marks, "wall": self.wall, "clock": self.clock}, f)
        self.load()

    def load(self):
        with open(self.raw + ".json") as f:
            d = json.load(f)
        self.marks, self.wall = d["marks"], d["wall"]
        # The disk driver keeps only roughly to real time (it sleeps whole
        # milliseconds per buffer, and longer on a busy machine); the samples
        # of its length map its output back to the clock.
        points = sorted([tuple(p) for p in d.get("clock", [])] +
                        [(self.marks[k], self.wall[k]) for k in self.marks])
        self.out_s = np.array([p[0] for p in points])
        self.wall_s = np.array([p[1] for p in points])
        data = np.fromfile(self.raw, dtype="<i2").astype(np.float64)
        self.stereo = data[: len(data) // 2 * 2].reshape(-1, 2)
        self.mono = self.stereo.sum(axis=1)


def read_wav(path):
    with wave.open(path) as w:
        assert w.getsampwidth() == 2 and w.getframerate() == RATE, path
        x = np.frombuffer(w.readframes(w.getnframes()), dtype="<i2").astype(np.float64)
        if w.getnchannels() == 2:
            x = x.reshape(-1, 2).sum(axis=1)
        else:
            x = 2 * x  # the mixer plays a mono effect on both channels
    return x


def correlate(signal, template):
    """Normalised correlation of template at every position of signal
    (0 where signal is near silence: silence matches nothing)."""
    n = len(signal) + len(template)
    size = 1 << (n - 1).bit_length()
    corr = np.fft.irfft(np.fft.rfft(signal, size) * np.conj(np.fft.rfft(template, size)), size)
    corr = corr[: len(signal) - len(template) + 1]
    energy = np.concatenate(([0.0], np.cumsum(signal * signal)))
    window = energy[len(template):] - energy[: len(signal) - len(template) + 1]
    score = corr / np.sqrt(np.maximum(window, 1e-9) * float(np.dot(template, template)))
    score[window < 1e-3 * len(template)] = 0.0
    return score


def matches(signal, template, threshold, min_gap):
    """Sample positions where template fits signal with a normalised
    correlation of at least threshold, strongest first within min_gap."""
    score = correlate(signal, template)
    found = []
    for i in np.argsort(score)[::-1]:
        if score[i] < threshold:
            break
        if all(abs(int(i) - j) >= min_gap for j, _ in found):
            found.append((int(i), float(score[i])))
        if len(found) > 50:
            break
    return sorted(found)


def first_after(found, t, limit=None):
    for pos, score in found:
        s = pos / RATE
        if s >= t and (limit is None or s <= t + limit):
            return s, score
    return None, None


def events(c, templates):
    """The sounds expected in capture c: name -> (output seconds, wall-clock
    seconds from its cause, match score), in the order of the script."""
    found = {k: matches(c.mono, t, 0.6, int(0.05 * RATE)) for k, t in templates.items()}
    for k in ("title", "game"):
        found[k] = [(p - TUNE_LEAD, score) for p, score in found[k]]
    clock = lambda s: float(np.interp(s, c.out_s, c.wall_s))  # noqa: E731
    out = {}

    def add(name, key, after, limit, cause):
        s, score = first_after(found[key], after, limit)
        since = clock(s) - clock(cause) if s is not None else None
        out[name] = (s, since, score)
        return s

    w = c.marks["window"]
    title0 = add("title tune starts, after the window", "title", w - 1, 10, w)
    add("title tune restarts, after its start", "title", (title0 or w) + 1, 70, title0 or w)
    m = c.marks["mode keys"]
    first = add("pon, after the key", "pon", m - 0.05, 1, m)
    add("second pon, after the first", "pon", (first or m) + 0.05, 1, first or m)
    sp = c.marks["space"]
    add("hue, after Space", "hue", sp - 0.05, 1, sp)
    add("game tune starts, after Space", "game", sp - 0.05, 5, sp)
    hei = add("hei (game over), after Space", "hei", sp + 20, 8, sp)
    add("title tune again, after hei", "title", (hei or sp + 20) - 0.05, 5, hei or sp + 20)
    k = c.marks["mode key after the game"]
    add("pon, after the key (after the game)", "pon", k - 0.05, 1, k)
    return out


def windowed_correlation(a, b, start_a, start_b, seconds, window=0.5):
    """Correlations of a and b (both channels) in consecutive windows over
    `seconds` from their starts: (median, share of windows above 0.99, lag
    in samples). The starts come from matching the very samples of the
    source, so only a few samples either way are tried. Windows are short so
    that a sound in one build alone (a mole that got away) or an effect a few
    ms apart spoils only its own."""
    ia, ib, n, w = int(start_a * RATE), int(start_b * RATE), int(seconds * RATE), int(window * RATE)

    def rs(lag):
        out = []
        for off in range(0, n - w + 1, w):
            x = a[ia + off: ia + off + w]
            y = b[max(0, ib + lag + off): ib + lag + off + w]
            if len(x) == w and len(y) == w and x.std() > 0 and y.std() > 0:
                out.append(float(np.corrcoef(x.ravel(), y.ravel())[0, 1]))
        return np.array(out) if out else np.array([0.0])

    lag = max(range(-8, 9), key=lambda k: float(np.median(rs(k))))
    r = rs(lag)
    return float(np.median(r)), float(np.mean(r > 0.99)), lag, len(r)


def main():
    p = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("old")
    p.add_argument("new")
    p.add_argument("--tool", required=True, help="pokopin_audio_tool of the new build")
    p.add_argument("--keep", help="folder to keep the captures in")
    p.add_argument("--reuse", action="store_true",
                   help="analyse again the captures already in the --keep folder")
    args = p.parse_args()

    out_dir = args.keep or tempfile.mkdtemp(prefix="pokopin-audio-compare-")
    os.makedirs(out_dir, exist_ok=True)
    folder = os.path.dirname(os.path.abspath(args.new))
    templates = {}
    for name in ("pon", "hue", "hei"):
        templates[name] = read_wav(os.path.join(folder, f"{name}.wav"))
    for key, midi in (("title", "moguana.mid"), ("game", "mogu20.mid")):
        raw = os.path.join(out_dir, f"{key}.rendered.raw")
        subprocess.run([args.tool, "tune", os.path.join(folder, midi), raw], check=True,
                       stdout=subprocess.DEVNULL)
        x = np.fromfile(raw, dtype="<i2").astype(np.float64).reshape(-1, 2).sum(axis=1)
        onset = int(np.argmax(np.abs(x) > 64))
        # From 1 s in: the effect that comes with each start of a tune
        # (hue, hei) is far louder than the tune's first second.
        templates[key] = x[onset + TUNE_LEAD: onset + TUNE_LEAD + 2 * RATE]

    caps = []
    for name, program in (("old", args.old), ("new", args.new)):
        c = Capture(os.path.abspath(program), out_dir, name)
        if args.reuse and os.path.exists(c.raw + ".json"):
            c.load()
        else:
            print(f"capturing {name}: {c.program} (90 s)", flush=True)
            c.run()
        caps.append(c)

    ev = [events(c, templates) for c in caps]
    print()
    print("each sound, in seconds of wall clock after its cause (output time mapped back")
    print("to the clock through the key presses); (score) is how well its source matched")
    print(f"{'event':<40} {'old':>16} {'new':>16} {'new - old':>10}")
    for name in ev[0]:
        cells = []
        for e in ev:
            _, since, score = e[name]
            cells.append(f"{since:8.3f} ({score:.2f})" if since is not None else "missing")
        a, b = ev[0][name][1], ev[1][name][1]
        d = f"{1000 * (b - a):+7.0f} ms" if a is not None and b is not None else ""
        print(f"{name:<40} {cells[0]:>16} {cells[1]:>16} {d:>10}")

    print()
    print("the tunes, build against build: correlation of the two outputs in 0.5 s windows,")
    print("each stretch aligned on where its tune was found (the effects are matched against")
    print("their own files above)")
    stretches = [
        # label, event it starts at, seconds from there, seconds long, window
        ("title tune, 4 s to 50 s", "title tune starts, after the window", 4.0, 46.0, 0.5),
        ("title tune restarted, 0.5 s to 3.5 s", "title tune restarts, after its start", 0.5, 3.0, 0.5),
        ("game tune, 1 s to 23 s", "game tune starts, after Space", 1.0, 22.0, 0.5),
        ("title tune after the game, 1 s to 5 s", "title tune again, after hei", 1.0, 4.0, 0.5),
    ]
    print(f"  {'stretch':<40} {'median r':>9} {'r > 0.99':>9} {'lag':>5} {'windows':>8}")
    for label, key, offset, seconds, window in stretches:
        so, sn = ev[0][key][0], ev[1][key][0]
        if so is None or sn is None:
            print(f"  {label:<40} not found")
            continue
        med, share, lag, count = windowed_correlation(caps[0].stereo, caps[1].stereo,
                                                      so + offset, sn + offset, seconds, window)
        print(f"  {label:<40} {med:9.4f} {100 * share:8.0f}% {lag:+5d} {count:8d}")
    print(f"captures: {out_dir}")


if __name__ == "__main__":
    sys.exit(main())

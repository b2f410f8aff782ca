#!/usr/bin/python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""How late an effect is heard: from a key reaching the X server to the
effect's first buffer in the audio stream, for the game and, as the floor,
for the minimal program (tools/bench/minimal.cpp with MINIMAL_EFFECT: a key
release goes straight to Mix_PlayChannel). Run through `tools/bench.sh
effects`, which builds the helpers first.

usage: effect_latency.py --game DIR/pokopin --helpers BUILD-BENCH/helpers
                         [--baseline OLD/pokopin] [--keys N] [--frames own 1024 256]
                         [--idle SECONDS] [--no-hits] [--no-shim] [--keep DIR]

How it is measured, each program under a private Xvfb of its own:
- keys go in through XTest (keyprobe.c), each timed right after the request
  is in the X server's socket (the helper waits for the server to take it
  before the next);
- SDL's disk audio driver writes the program's output into a FIFO that the
  same helper reads on its own thread, timing every read on the same clock.
  audio_shim.c, preloaded, makes that file unbuffered: SDL writes it through
  stdio, and glibc would hold every other 4 KiB buffer back one period;
- the disk driver stands in for the sound card. SDL's audio thread mixes a
  buffer, writes it, then sleeps one buffer's length (SDL_Delay of
  frames * 1000 / 44100 ms, in whole ms: 23 ms for 23.2 ms at 1024); with a
  card it would instead wait until the card has room, then mix and write.
  So a buffer reaches the FIFO when a card would have been handed it. What a
  card adds after that (its own queue) is counted neither for the game nor
  for the floor;
- each effect is found by normalised correlation with the first 50 ms of
  its WAV file, searched only in what the program wrote after the key; its
  latency is the time of the read that brought its first sample, minus the
  key's time;
- probes: between games Right and Left (mode steps, "pon.wav") act on
  release, 250 to 450 ms apart at random so that they fall at every phase
  of the buffer period, with the title tune playing as it does for the
  player. Up (the recording switch) is not used: "pipo1.wav" and
  "pipo2.wav" are steady tones whose correlation peaks a few tone periods
  either side of the onset nearly as high, so their onsets cannot be placed
  to the buffer. Then, unless --no-hits, a game: hole
  keys act on press, 150 to 300 ms apart; each "bisi.wav" found is put down
  to the last hole key pressed before it, and their number is checked
  against the hits of the game's score log. The minimal program plays
  pon.wav on every key release;
- "next buffer": the time from the key to the first buffer written after
  it, what a program that mixed the effect into that very buffer would
  get. "in next" is the share of effects that made it: the rest waited a
  whole period more, because of the program's own work on the key;
- the disk driver sleeps whole milliseconds, so its period is a little
  off a card's (11.2 ms against 11.6 ms at 512 frames); "p95 card" scales
  the p95 by the ratio of the two periods;
- buffer sizes: "own" runs the game as it is (its device at 512 frames),
  with the minimal program at the same size; a number fixes the game's
  device at that many frames through the shim (BENCH_AUDIO_FRAMES), so that
  any build can be measured at any size; the minimal program takes
  MINIMAL_BUFFER. The buffer each kind of probe met is read from the
  stream (the size of most reads over its stretch);
- --baseline: an older build, run as it is beside the "own" rows and in
  the same idle CPU sample, for before-and-after figures;
- idle CPU with the title tune playing, per buffer size, SDL's dummy driver
  (which calls the mixer at the same rate), once the game's start-up work
  (its tunes are synthesised at start) is over. The programs take turns of
  10 s, the others stopped (SIGSTOP), so that none slows another down;
- each program has a private D-Bus session bus, as on a desktop, and the
  game's tunes are synthesised with the project's SoundFont unless
  --soundfont says otherwise (see measure.py).

Needs numpy (installed when missing), Xvfb and xdotool.
"""
import argparse
import bisect
import os
import random
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, ".."))
sys.path.insert(0, here)
from xvfb import Xvfb  # noqa: E402
import needs  # noqa: E402
from audio_compare import correlate, read_wav  # noqa: E402  (the correlation is scale-free)
from measure import (SessionBus, add_soundfont_option, copy_program, cpu_seconds,  # noqa: E402
                     private_dirs, program_env, soundfont_text, status_kib, wait_until_quiet)

np = needs.numpy()

RATE = 44100
FRAME_BYTES = 4  # 16-bit stereo
MAIN_TITLE = "Pokopin\uff01"
MINIMAL_TITLE = "Minimal"
TEMPLATE_SECONDS = 0.05
MATCH_THRESHOLD = 0.6
TOOL_ENV = dict(os.environ, LC_ALL="C.UTF-8")
HOLE_KEYS = ["q", "w", "e", "a", "s", "d", "z", "x", "c"]
GAME_SECONDS = 24
IDLE_TURN_SECONDS = 10.0  # one program's turn when idle CPU is sampled
# The game's own device buffer (kDefaultBufferFrames in src/audio/mixer_backend.h).
OWN_FRAMES = 512


def percentile(values, q):
    """Linear-interpolated percentile (as numpy's default)."""
    return float(np.percentile(np.array(values), q))


class Capture:
    """One program's run: the keys sent and the stream read, on one clock."""

    def __init__(self, keyprobe_out, raw_path):
        self.keys = []   # (t, "down"/"up", keysym)
        self.reads = []  # (t, offset, bytes)
        for line in keyprobe_out.splitlines():
            f = line.split()
            if f[0] == "key":
                self.keys.append((float(f[3]), f[1], f[2]))
            elif f[0] == "read":
                self.reads.append((float(f[1]), int(f[2]), int(f[3])))
        self.read_times = [r[0] for r in self.reads]
        self.read_ends = [r[1] + r[2] for r in self.reads]
        data = np.fromfile(raw_path, dtype="<i2").astype(np.float64)
        self.mono = data[: len(data) // 2 * 2].reshape(-1, 2).sum(axis=1)

    def written_at(self, t):
        """Frames of the stream that had arrived by time t."""
        i = bisect.bisect_right(self.read_times, t)
        return self.read_ends[i - 1] // FRAME_BYTES if i else 0

    def read_holding(self, frame):
        """Index of the read that brought the given frame."""
        return bisect.bisect_right(self.read_ends, frame * FRAME_BYTES)

    def next_key_after(self, t):
        later = [k[0] for k in self.keys if k[0] > t]
        return min(later) if later else None

    def next_read_after(self, t):
        return bisect.bisect_right(self.read_times, t)

    def period_ms(self, frames):
        """Median time between reads that brought one buffer of `frames` each
        (a run with another program in it may hold other sizes)."""
        size = frames * FRAME_BYTES
        gaps = [b[0] - a[0] for a, b in zip(self.reads, self.reads[1:])
                if a[2] == size and b[2] == size]
        return statistics.median(gaps) if gaps else float("nan")

    def buffer_frames(self, t0, t1):
        """The size of most of the buffers that arrived between t0 and t1 (ms)."""
        sizes = [r[2] for r in self.reads if t0 <= r[0] <= t1]
        return statistics.mode(sizes) // FRAME_BYTES if sizes else 0

    def single_buffer_share(self, frames):
        if not self.reads:
            return 0.0
        return sum(1 for r in self.reads if r[2] == frames * FRAME_BYTES) / len(self.reads)


class Probe:
    """One effect traced from its key to the stream."""

    def __init__(self, capture, t_key, frame, score, frames):
        self.t_key = t_key
        self.frame, self.score = frame, score
        # A few frames in, so that an onset found a sample early still
        # falls in its own buffer.
        i = capture.read_holding(frame + 32)
        self.latency = capture.reads[i][0] - t_key
        nxt = capture.next_read_after(t_key)
        self.next_buffer = capture.reads[nxt][0] - t_key if nxt < len(capture.reads) else None
        self.in_next = i == nxt
        # Within two samples: the music under it can move the peak a little.
        self.on_boundary = min(frame % frames, -frame % frames) <= 2


def find_after_key(capture, template, t_key, frames, limit_s=0.4):
    """The effect a key caused: the best match in what was written after it
    and before the next key went in."""
    lo = capture.written_at(t_key)
    hi = min(len(capture.mono), lo + int(limit_s * RATE) + len(template))
    if hi - lo <= len(template):
        return None
    score = correlate(capture.mono[lo:hi], template)
    t_next = capture.next_key_after(t_key)
    if t_next is not None:
        score = score[: max(0, capture.written_at(t_next) - lo)]
    if len(score) == 0:
        return None
    i = int(np.argmax(score))
    if score[i] < MATCH_THRESHOLD:
        return None
    return Probe(capture, t_key, lo + i, float(score[i]), frames)


def find_hits(capture, template, key_downs, frames, from_t, to_t):
    """Every bisi in the game's stretch, each put down to the last hole key
    pressed before the read that brought it."""
    lo, hi = capture.written_at(from_t), capture.written_at(to_t)
    score = correlate(capture.mono[lo:hi], template)
    # The best match of each sound: strongest first, nothing within 50 ms of
    # one already taken (the keys are further apart than that).
    gap = int(0.05 * RATE)
    peaks = []
    candidates = np.flatnonzero(score >= MATCH_THRESHOLD)
    for c in candidates[np.argsort(score[candidates])[::-1]]:
        if all(abs(int(c) - p) >= gap for p in peaks):
            peaks.append(int(c))
    probes = []
    for best in sorted(peaks):
        frame = lo + best
        arrival = capture.reads[capture.read_holding(frame + 32)][0]
        before = [t for t in key_downs if t < arrival and capture.written_at(t) <= frame]
        if before:
            probes.append(Probe(capture, before[-1], frame, float(score[best]), frames))
    return probes


class Session:
    """A program under its own Xvfb, its audio into a FIFO read by keyprobe."""

    def __init__(self, args, scratch, name, program, title, env_extra, copy_folder=False):
        self.name, self.title = name, title
        self.dir = tempfile.mkdtemp(prefix=f"{name}-", dir=scratch)
        self.raw = os.path.join(self.dir, "out.raw")
        self.fifo = os.path.join(self.dir, "audio.fifo")
        os.mkfifo(self.fifo)
        dirs = private_dirs(self.dir)
        if copy_folder:
            program = copy_program(program, self.dir)
        self.folder = os.path.dirname(program)
        self.xvfb = Xvfb()
        self.bus = SessionBus()
        env = program_env(self.xvfb.display, self.bus, args)
        env.update(dirs, SDL_AUDIODRIVER="disk", SDL_DISKAUDIOFILE=self.fifo)
        if not args.no_shim:
            env["LD_PRELOAD"] = os.path.join(args.helpers, "libaudio_shim.so")
        env.update(env_extra)
        self.xenv = dict(TOOL_ENV, DISPLAY=self.xvfb.display)
        self.probe = subprocess.Popen(
            [os.path.join(args.helpers, "keyprobe"), self.fifo, self.raw],
            env=self.xenv, stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
        self.proc = subprocess.Popen([program], cwd=self.folder, env=env,
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL)
        self.window = None

    def wait_window(self, timeout=30):
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", f"^{self.title}$"],
                               env=self.xenv, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                               text=True)
            if r.stdout.split():
                self.window = r.stdout.split()[0]
                subprocess.run(["xdotool", "windowfocus", "--sync", self.window], env=self.xenv,
                               check=True, timeout=10)
                return
            if self.proc.poll() is not None:
                break
            time.sleep(0.05)
        raise RuntimeError(f"{self.name}: no window titled {self.title!r}")

    def send(self, edge, keysym):
        self.probe.stdin.write(f"{edge} {keysym}\n")
        self.probe.stdin.flush()

    def tap(self, keysym, hold):
        self.send("down", keysym)
        time.sleep(hold)
        self.send("up", keysym)

    def finish(self):
        out, _ = self.probe.communicate("quit\n", timeout=30)
        with open(os.path.join(self.dir, "keyprobe.txt"), "w") as f:
            f.write(out)
        self.proc.kill()
        self.proc.wait()
        self.bus.stop()
        self.xvfb.stop()
        return Capture(out, self.raw)


def idle_probes(session, keys, rng):
    """Taps keys between games; returns the key names in order."""
    sent = []
    for k in keys:
        time.sleep(rng.uniform(0.25, 0.45))
        session.tap(k, rng.uniform(0.03, 0.06))
        sent.append(k)
    time.sleep(0.5)
    return sent


def run_minimal(args, scratch, frames, pon, rng):
    """The floor for the game's keys, at the game's buffer size."""
    frames = device_frames(frames)
    s = Session(args, scratch, f"minimal-{frames}", os.path.join(args.helpers, "minimal"),
                MINIMAL_TITLE, {"MINIMAL_EFFECT": pon, "MINIMAL_BUFFER": str(frames)})
    try:
        s.wait_window()
        time.sleep(1.0)
        idle_probes(s, ["Right"] * args.keys, rng)
    finally:
        c = s.finish()
    template = read_wav(pon)[: int(TEMPLATE_SECONDS * RATE)]
    ups = [t for t, edge, _ in c.keys if edge == "up"]
    probes = [find_after_key(c, template, t, frames) for t in ups]
    return {"effects (pon)": (probes, len(ups), frames)}, c


def device_frames(frames):
    """The game's device frames at a --frames choice."""
    return OWN_FRAMES if frames == "own" else frames


def run_game(args, scratch, frames, rng, program, name):
    """frames: "own", or the size every device of the program is fixed at."""
    extra = {} if frames == "own" else {"BENCH_AUDIO_FRAMES": str(frames)}
    if frames != "own" and args.no_shim:
        raise SystemExit("--no-shim measures the game at its own buffer only")
    s = Session(args, scratch, f"{name}-{frames}", program, MAIN_TITLE, extra, copy_folder=True)
    # Mode steps back and forth; recording stays on for the game's entry.
    keys = [("Right", "Left")[i % 2] for i in range(args.keys)]
    hit_window = None
    try:
        s.wait_window()
        time.sleep(args.settle)
        idle_probes(s, keys, rng)
        if not args.no_hits:
            s.tap("space", 0.04)
            start = time.monotonic()
            time.sleep(1.0)
            first = time.monotonic()
            while time.monotonic() < start + GAME_SECONDS - 2:
                s.tap(rng.choice(HOLE_KEYS), 0.04)
                time.sleep(rng.uniform(0.15, 0.3))
            hit_window = (first, time.monotonic())
            # The game ends by its clock and writes its entry.
            time.sleep(max(0.0, start + GAME_SECONDS + 2 - time.monotonic()))
    finally:
        c = s.finish()
    folder = os.path.dirname(program)
    templates = {n: read_wav(os.path.join(folder, n))[: int(TEMPLATE_SECONDS * RATE)]
                 for n in ("pon.wav", "bisi.wav")}
    ups = [t for t, edge, k in c.keys if edge == "up" and k in ("Right", "Left")]
    # The buffer each stretch met, as the program chose it.
    key_frames = c.buffer_frames(ups[0], ups[-1] + 500) if ups else 0
    mode_probes = [find_after_key(c, templates["pon.wav"], t, key_frames) for t in ups]
    out = {"mode keys (pon)": (mode_probes, len(mode_probes), key_frames)}
    if hit_window:
        downs = [t for t, edge, k in c.keys if edge == "down" and k in HOLE_KEYS]
        # Clock of keyprobe and of this script are both CLOCK_MONOTONIC, in ms and s.
        lo, hi = hit_window[0] * 1000.0 - 50, hit_window[1] * 1000.0 + 500
        game_frames = c.buffer_frames(lo, hi)
        hits = find_hits(c, templates["bisi.wav"], downs, game_frames, lo, hi)
        out["hits in a game (bisi)"] = (hits, game_hits(s.folder), game_frames)
    return out, c


def game_hits(folder):
    """Hits of the last game in the score log, or None."""
    try:
        with open(os.path.join(folder, "Score.txt"), "rb") as f:
            text = f.read().decode("cp932", "replace")
    except OSError:
        return None
    found = re.findall(r"\u2606HIT (\d+)", text)
    return int(found[-1]) if found else None


def idle_cpu(args, scratch, frames, pon):
    """Idle CPU of the game (title tune playing), of the baseline when given,
    and of the minimal program, SDL's dummy driver, one --frames choice; also
    the games' peak memory."""
    xvfb = Xvfb()
    bus = SessionBus()
    env = program_env(xvfb.display, bus, args)
    env.update(SDL_AUDIODRIVER="dummy",
               LD_PRELOAD=os.path.join(args.helpers, "libaudio_shim.so"),
               MINIMAL_BUFFER=str(device_frames(frames)), MINIMAL_EFFECT=pon)
    if frames != "own":
        env["BENCH_AUDIO_FRAMES"] = str(frames)
    games = [("game", args.game)]
    if args.baseline and frames == "own":
        games.append(("before", args.baseline))
    procs = {}
    try:
        for name, program in games + [("minimal", os.path.join(args.helpers, "minimal"))]:
            d = tempfile.mkdtemp(prefix=f"idle-{name}-", dir=scratch)
            if name != "minimal":
                program = copy_program(program, d)
            procs[name] = subprocess.Popen([program], cwd=os.path.dirname(program),
                                           env=dict(env, **private_dirs(d)),
                                           stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                           stderr=subprocess.DEVNULL)
        settled = wait_until_quiet([procs[n].pid for n, _ in games], args.settle)
        # One program runs at a time, the others stopped, taking turns in
        # rounds: on two cores, audio threads woken together slow each other.
        used = {n: 0.0 for n in procs}
        spent = {n: 0.0 for n in procs}
        rounds = max(1, round(args.idle / IDLE_TURN_SECONDS))
        for p in procs.values():
            p.send_signal(signal.SIGSTOP)
        for _ in range(rounds):
            for n, p in procs.items():
                p.send_signal(signal.SIGCONT)
                time.sleep(1.0)  # back into its stride after the stop
                c0, t0 = cpu_seconds(p.pid), time.monotonic()
                time.sleep(args.idle / rounds)
                used[n] += cpu_seconds(p.pid) - c0
                spent[n] += time.monotonic() - t0
                p.send_signal(signal.SIGSTOP)
        for p in procs.values():
            p.send_signal(signal.SIGCONT)
        out = {n: 100.0 * used[n] / spent[n] for n in procs}
        for n, _ in games:
            out[f"{n} peak"] = status_kib(procs[n].pid, "VmHWM") / 1024.0
        out["settled"] = settled
        return out
    finally:
        for p in procs.values():
            p.kill()
            p.wait()
        bus.stop()
        xvfb.stop()


def summary(probes, expected):
    found = [p for p in probes if p]
    lat = [p.latency for p in found]
    nxt = [p.next_buffer for p in found if p.next_buffer is not None]
    if not lat:
        return None
    return {
        "found": f"{len(found)}/{expected if expected is not None else '?'}",
        "median": statistics.median(lat), "p5": percentile(lat, 5), "p95": percentile(lat, 95),
        "max": max(lat), "next": statistics.median(nxt) if nxt else float("nan"),
        "next95": percentile(nxt, 95) if nxt else float("nan"),
        "in_next": 100.0 * sum(p.in_next for p in found) / len(found),
        "boundary": 100.0 * sum(p.on_boundary for p in found) / len(found),
    }


def main():
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--game", required=True, help="the built pokopin executable")
    p.add_argument("--helpers", required=True, help="build folder of tools/bench")
    p.add_argument("--keys", type=int, default=60, help="probe keys per program and size")
    p.add_argument("--baseline", help="an older pokopin executable, run as it is beside 'own'")
    p.add_argument("--frames", nargs="+", default=["own", "1024", "256"],
                   help="'own' (the game as it is) and device buffer sizes to fix the game at")
    p.add_argument("--settle", type=float, default=5.0,
                   help="seconds after the game's window shows before the first key, and "
                        "at least as long after its start before idle CPU is sampled")
    p.add_argument("--idle", type=float, default=20.0,
                   help="seconds of idle CPU sampling per buffer size (0: none)")
    p.add_argument("--no-hits", action="store_true", help="no game, only the keys between games")
    p.add_argument("--no-shim", action="store_true",
                   help="leave SDL's output file buffered (shows why the shim is there)")
    p.add_argument("--keep", help="folder to keep the captures in")
    add_soundfont_option(p)
    p.add_argument("--seed", type=int, default=1)
    args = p.parse_args()
    args.game = os.path.abspath(args.game)
    if args.baseline:
        args.baseline = os.path.abspath(args.baseline)
    try:
        args.frames = [f if f == "own" else int(f) for f in args.frames]
    except ValueError:
        p.error("--frames takes 'own' and numbers of frames")
    args.helpers = os.path.abspath(args.helpers)
    rng = random.Random(args.seed)
    pon = os.path.join(os.path.dirname(args.game), "pon.wav")

    print(f"game:    {args.game}")
    if args.baseline:
        print(f"before:  {args.baseline}")
    print(f"machine: {os.cpu_count()} cores, load average {os.getloadavg()[0]:.2f} at start")
    print(f"tunes:   {soundfont_text(args)}")
    began = time.monotonic()
    scratch = args.keep or tempfile.mkdtemp(prefix="pokopin-effects-")
    os.makedirs(scratch, exist_ok=True)
    rows, idle = [], []
    try:
        for frames in args.frames:
            programs = [("minimal", None), ("game", args.game)]
            if args.baseline and frames == "own":
                programs.append(("before", args.baseline))
            for who, program in programs:
                t = time.monotonic()
                if who == "minimal":
                    found, c = run_minimal(args, scratch, frames, pon, rng)
                else:
                    found, c = run_game(args, scratch, frames, rng, program, who)
                for label, (probes, expected, buffer) in found.items():
                    rows.append((frames, who, label, summary(probes, expected), c, buffer))
                print(f"  {who} at {frames} frames: {time.monotonic() - t:.0f} s", flush=True)
            if args.idle > 0:
                idle.append((frames, idle_cpu(args, scratch, frames, pon)))
    finally:
        if not args.keep:
            shutil.rmtree(scratch, ignore_errors=True)

    print()
    print("key to the effect's first buffer in the stream, ms (disk driver; keys reach the X")
    print("server through XTest); 'next buffer' = key to the first buffer written after it")
    head = ("{:>6} {:>6} {:<8} {:<22} {:>6} {:>6} {:>5} {:>5} {:>5} {:>8} {:>11} {:>7} {:>7} "
            "{:>6}")
    print(head.format("run", "buffer", "program", "probe", "found", "median", "p5", "p95", "max",
                      "p95 card", "next med/95", "in next", "on edge", "period"))
    for frames, who, label, s, c, buffer in rows:
        period = c.period_ms(buffer)
        if s is None:
            print(head.format(frames, buffer, who, label, "0", *["-"] * 8, f"{period:.1f}"))
            continue
        card = s["p95"] * (1000.0 * buffer / RATE) / period
        print(head.format(frames, buffer, who, label, s["found"], f"{s['median']:.1f}",
                          f"{s['p5']:.1f}",
                          f"{s['p95']:.1f}", f"{s['max']:.1f}", f"{card:.1f}",
                          f"{s['next']:.1f}/{s['next95']:.1f}", f"{s['in_next']:.0f} %",
                          f"{s['boundary']:.0f} %", f"{period:.1f}"))
    print("run: 'own' = the games as they are (the buffer their probes met), a number = the")
    print("game's device fixed at that size; the 'before' build, if given, runs only as it is.")
    sizes = sorted({r[5] for r in rows})
    print("period: median time between buffers arriving; a card's is frames / 44.1 kHz ("
          + ", ".join(f"{f}: {1000.0 * f / RATE:.2f} ms" for f in sizes) + "), the disk")
    print("driver's its sleep in whole ms plus the mixing. 'p95 card' scales p95 by the two:")
    print("the wait for the next buffer, most of the latency, grows with the period.")
    print("'on edge': effects that start on a buffer boundary (SDL_mixer starts a channel")
    print("at the start of the buffer it mixes next)")
    for frames, who, label, s, c, buffer in rows[:1]:
        share = c.single_buffer_share(buffer)
        print(f"reads that brought exactly one buffer: {100 * share:.0f} %"
              + (" (SDL's file left buffered)" if args.no_shim else ""))
    if idle:
        print()
        print(f"idle CPU (% of one core) over {args.idle:.0f} s each, in turns of "
              f"{IDLE_TURN_SECONDS:.0f} s with the others stopped,")
        print("SDL's dummy driver, the game's title tune playing, from when the game's start-up")
        print("work has settled (seconds after its start)")
        print("{:>6} {:>10} {:>10} {:>12} {:>14} {:>15} {:>8}".format(
            "run", "game", "before", "minimal", "game peak RSS", "before peak RSS", "settled"))
        for frames, r in idle:
            before = f"{r['before']:.2f} %" if "before" in r else "-"
            before_peak = f"{r['before peak']:.1f} MiB" if "before" in r else "-"
            print("{:>6} {:>8.2f} % {:>10} {:>10.2f} % {:>10.1f} MiB {:>15} {:>7.0f} s".format(
                frames, r["game"], before, r["minimal"], r["game peak"], before_peak,
                r["settled"]))
        print("goal: game's idle CPU <= 0.3 % of one core, effect p95 <= 12 ms")
    print(f"\n(the benchmark took {time.monotonic() - began:.0f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main())

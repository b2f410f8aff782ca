#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Start-up time, peak memory and idle CPU of the game beside a minimal Qt +
SDL2_mixer program, both under one private Xvfb. Run through tools/bench.sh,
which builds the programs first.

Start-up is timed by tools/bench/waitmap.c, from the fork before exec to the
first pixels the program draws into its main window (the window's first
DAMAGE on the X server), the programs taking turns run by run. The game's
title card is timed the same way (its first damage), and the main window's
map and first Expose are shown too: the server sends that Expose on map,
before the program has drawn anything.

Each X server has a private D-Bus session bus (see SessionBus) and the game
synthesises its tunes with the project's SoundFont (see PROJECT_SOUNDFONT).
Idle CPU is sampled once the programs' start-up work is over, peak memory
(VmHWM) covers all of it.

usage: measure.py --game DIR/pokopin --minimal PATH --waitmap PATH
                  [--baseline OLDDIR/pokopin] [--runs N] [--idle SECONDS]
                  [--settle SECONDS] [--audio none|dummy ...]
                  [--soundfont PATH|system] [--bus private|autolaunch]

With --baseline, an earlier build of the game (its program folder beside it)
is measured in the same run, its ratio to the minimal program printed beside
the game's.
"""
import argparse
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))
from xvfb import Xvfb  # noqa: E402

# First pixels of the main window: at most 1.5 times the minimal program's.
GOAL_START_RATIO = 1.5
GOAL_IDLE_CPU_PERCENT = 0.3
GOAL_PEAK_MIB = 80.0


def proc_state(pid):
    try:
        with open(f"/proc/{pid}/stat") as f:
            return f.read().rsplit(")", 1)[1].split()[0]
    except FileNotFoundError:
        return None


def end(pid):
    """Kill a program that waitmap left running (not our child) and wait until it is gone."""
    try:
        os.kill(pid, signal.SIGKILL)
    except ProcessLookupError:
        return
    deadline = time.monotonic() + 10
    while time.monotonic() < deadline and proc_state(pid) not in (None, "Z"):
        time.sleep(0.02)


def cpu_seconds(pid):
    """CPU time of a process so far, to the nanosecond: the sum over its live
    threads of the scheduler's run time (/proc/PID/task/*/schedstat). The
    clock ticks of /proc/PID/stat are 10 ms each, too coarse for a program
    that uses a few ms a second. A thread that ends between two readings
    takes its time with it, so sample only once start-up work is over."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                total += int(f.read().split()[0])
        except (OSError, ValueError, IndexError):
            pass  # the thread ended meanwhile
    return total / 1e9


def wait_until_quiet(pids, settle, most=60.0):
    """Waits settle seconds, then until a second passes in which none of the
    programs uses 3 % of a core (the game synthesises its tunes after its
    window shows; on a busy machine that takes longer), for at most `most`
    seconds more. Returns the seconds waited."""
    began = time.monotonic()
    time.sleep(settle)
    while time.monotonic() < began + settle + most:
        used = [cpu_seconds(p) for p in pids]
        time.sleep(1.0)
        if all(cpu_seconds(p) - u < 0.03 for p, u in zip(pids, used)):
            break
    return time.monotonic() - began


def status_kib(pid, key):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith(key + ":"):
                return int(line.split()[1])
    raise KeyError(key)


def copy_program(program, run):
    """Copies a built program's folder into run/program with an empty score
    log (an existing one: no greeting box); returns the copy's program."""
    folder = os.path.join(run, "program")
    shutil.copytree(os.path.dirname(program), folder, ignore=shutil.ignore_patterns("Score.txt"))
    open(os.path.join(folder, "Score.txt"), "wb").close()
    return os.path.join(folder, os.path.basename(program))


def private_dirs(run):
    """A HOME and an XDG_RUNTIME_DIR of the program's own under run, as env."""
    home, runtime = os.path.join(run, "home"), os.path.join(run, "runtime")
    os.makedirs(home)
    os.makedirs(runtime, mode=0o700)
    return {"HOME": home, "XDG_RUNTIME_DIR": runtime}


class Subject:
    """One program to measure: how to prepare a run and the title of its window."""

    def __init__(self, name, title, program, copied=False):
        self.name, self.title, self.program, self.copied = name, title, program, copied

    def prepare(self, scratch):
        """A fresh folder per run: the game gets its data files and an existing
        Score.txt (so no greeting box), and a private runtime folder for its lock."""
        run = tempfile.mkdtemp(dir=scratch)
        program = copy_program(self.program, run) if self.copied else self.program
        return program, private_dirs(run), run


def start(subject, waitmap, env, scratch):
    """Starts the subject under waitmap: its pid and waitmap's marks, in ms
    from the fork (main_damage, main_map, main_expose, first_damage, ...;
    -1 for one not seen)."""
    program, extra, run = subject.prepare(scratch)
    e = dict(env, **extra)
    out = subprocess.run([waitmap, "-t", "30", subject.title, program], env=e,
                         cwd=os.path.dirname(program), stdout=subprocess.PIPE,
                         stderr=subprocess.DEVNULL, text=True)
    if out.returncode != 0:
        raise RuntimeError(f"{subject.name}: no window titled {subject.title!r} came up")
    marks = dict(field.split("=") for field in out.stdout.split())
    return int(marks.pop("pid")), {k: float(v) for k, v in marks.items()}, run


class SessionBus:
    """A private D-Bus session bus, as a desktop has one. Qt talks to the
    session bus at start-up (accessibility, the platform theme); with none
    in the environment, libdbus starts `dbus-launch --autolaunch` on every
    start, which no player's desktop pays for."""

    def __init__(self):
        self.proc = subprocess.Popen(["dbus-daemon", "--session", "--nofork", "--print-address"],
                                     stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True,
                                     start_new_session=True)
        self.address = self.proc.stdout.readline().strip()
        if not self.address:
            raise RuntimeError("dbus-daemon did not report its address")

    def stop(self):
        self.proc.terminate()
        self.proc.wait()
        self.proc.stdout.close()


# The SoundFont the project installs (tools/dev.sh). Debian's default-GM
# alternative points at whichever General MIDI font was installed last with
# the highest priority; fluid-soundfont-gm's is 148 MB, and synthesising the
# tunes with it at start takes far more time and memory. The benchmarks pin
# one so that their figures do not depend on what else is on the machine.
PROJECT_SOUNDFONT = "/usr/share/sounds/sf2/TimGM6mb.sf2"


def add_soundfont_option(parser):
    parser.add_argument("--soundfont", default=PROJECT_SOUNDFONT,
                        help="SoundFont the game synthesises its tunes with (SDL_SOUNDFONTS); "
                             "'system' for the game's own choice")


def soundfont_text(args):
    return "the game's own SoundFont choice" if args.soundfont == "system" \
        else f"SoundFont {args.soundfont}"


def program_env(display, bus, args):
    """The environment of a program under test: the display, the private
    session bus or none at all (bus=None: libdbus autolaunches one), and
    the SoundFont chosen."""
    env = {k: v for k, v in os.environ.items()
           if k not in ("QT_QPA_PLATFORM", "SDL_AUDIODRIVER", "SESSION_MANAGER",
                        "DBUS_SESSION_BUS_ADDRESS", "LD_PRELOAD", "SDL_SOUNDFONTS")}
    env["DISPLAY"] = display
    env["QT_QPA_PLATFORM"] = "xcb"
    if bus:
        env["DBUS_SESSION_BUS_ADDRESS"] = bus.address
    if args.soundfont != "system":
        env["SDL_SOUNDFONTS"] = args.soundfont
    return env


def measure(subjects, args, audio, scratch):
    xvfb = Xvfb()
    bus = SessionBus() if args.bus == "private" else None
    env = program_env(xvfb.display, bus, args)
    if audio != "none":
        env["SDL_AUDIODRIVER"] = audio
    results = {s.name: {"marks": []} for s in subjects}
    try:
        # One warm-up each so that the first timed run does not pay for a cold disk cache.
        for s in subjects:
            pid, _, _ = start(s, args.waitmap, env, scratch)
            end(pid)
        for _ in range(args.runs):
            for s in subjects:  # interleaved, so drifts in machine load hit both alike
                pid, marks, _ = start(s, args.waitmap, env, scratch)
                results[s.name]["marks"].append(marks)
                end(pid)

        pids = {}
        for s in subjects:
            pid, _, _ = start(s, args.waitmap, env, scratch)
            pids[s.name] = pid
        settled = wait_until_quiet(list(pids.values()), args.settle)
        before = {n: cpu_seconds(p) for n, p in pids.items()}
        t0 = time.monotonic()
        time.sleep(args.idle)
        elapsed = time.monotonic() - t0
        for n, p in pids.items():
            used = cpu_seconds(p) - before[n]
            results[n]["cpu"] = 100.0 * used / elapsed
            results[n]["hwm"] = status_kib(p, "VmHWM") / 1024.0
            results[n]["rss"] = status_kib(p, "VmRSS") / 1024.0
            results[n]["threads"] = status_kib(p, "Threads")
            results[n]["settled"] = settled
            end(p)
    finally:
        if bus:
            bus.stop()
        xvfb.stop()
    for r in results.values():
        r["start"] = [m["main_damage"] for m in r["marks"]]
    return results


def verdict(ok):
    return "ok" if ok else "OVER"


def median_of(r, key):
    """Median of one of waitmap's marks over the runs that saw it, or None."""
    seen = [m[key] for m in r["marks"] if m[key] >= 0]
    return statistics.median(seen) if seen else None


def report(results, args, audio):
    m, g = results["minimal"], results["game"]
    b = results.get("baseline")
    ms_m, ms_g = statistics.median(m["start"]), statistics.median(g["start"])
    ratio = ms_g / ms_m
    audio_text = "no audio device (SDL_AUDIODRIVER unset)" if audio == "none" \
        else f"SDL_AUDIODRIVER={audio}"
    audio_text += "; a private session bus" if args.bus == "private" \
        else "; no session bus (autolaunched)"
    print()
    print(f"== {audio_text}; {args.runs} start-ups each, taking turns; idle CPU over "
          f"{args.idle:.0f} s from {g['settled']:.0f} s after the windows showed, once "
          "their start-up work was over ==")
    row = "{:<44} {:>10} {:>10} {:>10}   {:<24} {}"
    print(row.format("", "minimal", "game", "baseline" if b else "", "goal", ""))
    subjects = (m, g, b)

    def cells(fmt, key):
        return tuple(fmt(r[key]) if r else "" for r in subjects)

    def mark_cells(key):
        out = []
        for r in subjects:
            v = median_of(r, key) if r else None
            out.append(f"{v:.0f} ms" if v is not None else ("-" if r else ""))
        return out

    def after_map(r):
        if not r:
            return ""
        gaps = [x["main_damage"] - x["main_map"] for x in r["marks"]]
        return f"{statistics.median(gaps):.0f} ms"

    print(row.format("main window's first pixels, median", *mark_cells("main_damage"),
                     f"game/minimal <= {GOAL_START_RATIO:.2f}", ""))
    print(row.format("  p10 .. p90", *cells(
        lambda v: "{:.0f}..{:.0f}".format(*percentiles(v, (10, 90))), "start"), "", ""))
    print(row.format("  ratio to minimal", "", f"{ratio:.2f} x",
                     f"{statistics.median(b['start']) / ms_m:.2f} x" if b else "", "",
                     verdict(ratio <= GOAL_START_RATIO)))
    print(row.format("title card's first pixels, median", "-", *mark_cells("first_damage")[1:],
                     "", ""))
    print(row.format("main window mapped, median", *mark_cells("main_map"), "", ""))
    print(row.format("  its first Expose (the old mark), median", *mark_cells("main_expose"),
                     "", ""))
    print(row.format("  first pixels after the map, median", *(after_map(r) for r in subjects),
                     "", ""))
    print(row.format("peak memory (VmHWM)", *cells(lambda v: f"{v:.1f} MiB", "hwm"),
                     f"game <= {GOAL_PEAK_MIB:.0f} MiB", verdict(g["hwm"] <= GOAL_PEAK_MIB)))
    print(row.format("  resident now (VmRSS)", *cells(lambda v: f"{v:.1f} MiB", "rss"), "", ""))
    print(row.format("idle CPU, % of one core", *cells(lambda v: f"{v:.2f} %", "cpu"),
                     f"game <= {GOAL_IDLE_CPU_PERCENT} %",
                     verdict(g["cpu"] <= GOAL_IDLE_CPU_PERCENT)))
    print(row.format("  threads", *cells(str, "threads"), "", ""))
    print("(all times from the fork before exec; first pixels = first DAMAGE of the window)")
    for name, r in (("minimal", m), ("game", g), ("baseline", b)):
        if r:
            print(f"  first pixels (ms), {name + ':':<9}", " ".join(f"{v:.0f}" for v in r["start"]))


def percentiles(values, qs):
    """Nearest-rank percentiles, enough for a few dozen runs."""
    v = sorted(values)
    return [v[min(len(v) - 1, max(0, int(round(q / 100.0 * len(v) + 0.5)) - 1))] for q in qs]


def main():
    p = argparse.ArgumentParser(description=__doc__,
                                formatter_class=argparse.RawDescriptionHelpFormatter)
    p.add_argument("--game", required=True, help="the built pokopin executable")
    p.add_argument("--minimal", required=True)
    p.add_argument("--waitmap", required=True)
    p.add_argument("--runs", type=int, default=20)
    p.add_argument("--idle", type=float, default=20.0, help="seconds of idle CPU sampling")
    p.add_argument("--settle", type=float, default=5.0,
                   help="seconds at least after the window shows before idle CPU is "
                        "sampled; longer while a program still works")
    p.add_argument("--baseline", help="an earlier build of the game to measure alongside")
    p.add_argument("--audio", nargs="+", default=["none", "dummy"],
                   help="audio set-ups to measure: none (no device) and/or an SDL driver name")
    add_soundfont_option(p)
    p.add_argument("--bus", choices=("private", "autolaunch"), default="private",
                   help="D-Bus session bus of the programs: a private one (default, as on a "
                        "desktop) or none, so that libdbus autolaunches one on every start")
    args = p.parse_args()

    game = os.path.abspath(args.game)
    subjects = [Subject("minimal", "Minimal", os.path.abspath(args.minimal)),
                Subject("game", "Pokopin\uff01", game, copied=True)]
    if args.baseline:
        old = os.path.abspath(args.baseline)
        subjects.append(Subject("baseline", "Pokopin\uff01", old, copied=True))
        print(f"baseline: {old}")
    print(f"game:    {game}")
    print(f"minimal: {os.path.abspath(args.minimal)}")
    print(f"machine: {os.cpu_count()} cores, load average {os.getloadavg()[0]:.2f} at start")
    print(f"tunes:   {soundfont_text(args)}")
    began = time.monotonic()
    with tempfile.TemporaryDirectory(prefix="pokopin-bench-") as scratch:
        for audio in args.audio:
            report(measure(subjects, args, audio, scratch), args, audio)
    print(f"\n(the benchmark took {time.monotonic() - began:.0f} s)")
    return 0


if __name__ == "__main__":
    sys.exit(main())

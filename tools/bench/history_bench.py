#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""Figures for the score history window, each beside a baseline measured in
the same run; nothing here passes or fails a build. Builds its helpers first
(tools/bench/history, Release, in build-bench/history).

usage: history_bench.py [--games N] [--runs N] [--platform xvfb|offscreen]
                        [--keep-logs DIR]

  reading   a log of N games (default 1,000,000) read by the reader alone:
            seconds and MB/s, against plain read() of the same bytes
  opening   the window on a 10,000-game log: time to its first painted
            frame, against a plain window of the same size
  stalls    the window taking in the N-game log: the longest wait of a 10 ms
            timer on the UI thread and the ticks later than 50 ms, against
            the same timer idle and while a plain window opens; also the
            UI thread's own processor time in its longest turn, which is what
            the wait would be on a machine with nothing else to run
  memory    peak memory of the window with the N-game log, over a stand-in
            for the idle game
  chart     Qt Charts drawing every game of the biggest mode, against the
            grouped points the window draws
  start-up  a small program that shows a window: without the history, with
            its entry linked in as the game links it, and with the window
            itself linked in, to see what each costs before anything opens
            (always offscreen)
"""
import argparse
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.abspath(os.path.join(HERE, "..", ".."))
sys.path.insert(0, os.path.join(HERE, ".."))
from xvfb import Xvfb  # noqa: E402

GOAL_READ_SECONDS = 2.0
GOAL_EXTRA_PEAK_MIB = 100.0
GOAL_FIRST_FRAME_MS = 300.0
GOAL_LONGEST_GAP_MS = 50.0


def build():
    out = os.path.join(ROOT, "build-bench", "history")
    env = dict(os.environ)
    subprocess.run(["cmake", "-S", os.path.join(HERE, "history"), "-B", out, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release"], check=True, stdout=subprocess.DEVNULL, env=env)
    subprocess.run(["cmake", "--build", out, "-j", "2"], check=True, stdout=subprocess.DEVNULL,
                   env=env)
    return out


def figures(cmd, env):
    """Runs one measurement and returns its "name value" lines as a dict."""
    r = subprocess.run(cmd, env=env, capture_output=True, text=True, timeout=600)
    if r.returncode != 0:
        sys.exit(f"history_bench: {' '.join(cmd)} failed ({r.returncode}):\n{r.stderr}")
    out = {}
    for line in r.stdout.splitlines():
        key, _, value = line.partition(" ")
        out[key] = float(value)
    return out


def median_of(runs, key):
    return statistics.median(r[key] for r in runs)


def verdict(ok):
    return "ok" if ok else "OVER"


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--games", type=int, default=1_000_000)
    ap.add_argument("--runs", type=int, default=3)
    ap.add_argument("--platform", choices=["xvfb", "offscreen"], default="xvfb")
    ap.add_argument("--keep-logs", help="folder for the generated logs, kept between runs")
    args = ap.parse_args()

    helpers = build()
    bench = os.path.join(helpers, "history_bench")
    logs = args.keep_logs or tempfile.mkdtemp(prefix="pokopin-history-bench-")
    os.makedirs(logs, exist_ok=True)
    big = os.path.join(logs, f"Score-{args.games}.txt")
    small = os.path.join(logs, "Score-10000.txt")
    for path, games in ((big, args.games), (small, 10_000)):
        if not os.path.exists(path):
            subprocess.run([bench, "generate", path, str(games)], check=True)

    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    env.pop("QT_SCALE_FACTOR", None)
    xvfb = None
    if args.platform == "xvfb":
        xvfb = Xvfb()
        env.update(QT_QPA_PLATFORM="xcb", DISPLAY=xvfb.display)
    print(f"platform: {env['QT_QPA_PLATFORM']}; load average at start: "
          f"{' '.join(f'{x:.1f}' for x in os.getloadavg())} on {os.cpu_count()} cores")
    try:
        reads = [figures([bench, "read", big], env) for _ in range(args.runs)]
        opens_small = [figures([bench, "open", small, "1"], env) for _ in range(args.runs)]
        opens_big = [figures([bench, "open", big, "1"], env) for _ in range(args.runs)]
        chart = figures([bench, "chart", big], env)

        # Start-up, alternating so that the machine's load falls on all of
        # them alike. Offscreen: connecting to an X server varies by tens of
        # milliseconds from run to run, far more than linking costs.
        offscreen = dict(env, QT_QPA_PLATFORM="offscreen")
        starts = {"idle_plain": [], "idle_entry": [], "idle_window": []}
        for _ in range(max(30, args.runs * 10)):
            for name in starts:
                t = time.perf_counter()
                subprocess.run([os.path.join(helpers, name)], env=offscreen, check=True,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                starts[name].append((time.perf_counter() - t) * 1000)
    finally:
        if xvfb:
            xvfb.stop()
        if not args.keep_logs:
            shutil.rmtree(logs, ignore_errors=True)

    mb = reads[0]["read.bytes_mb"]
    secs = median_of(reads, "read.seconds")
    print(f"\nmedians of {args.runs} runs unless noted")
    print(f"{'measure':56} {'value':>10} {'baseline':>10}  goal")
    def num(x):
        return f"{x:10.3f}" if abs(x) < 10 else f"{x:10.1f}"

    def row(name, value, baseline, goal=""):
        b = "" if baseline is None else num(baseline)
        print(f"{name:56} {num(value)} {b:>10}  {goal}")

    print(f"reading: {int(reads[0]['read.games'])} games, {mb:.1f} MB, "
          f"{int(reads[0]['read.skipped'])} skipped")
    plain_mb_s = median_of(reads, "read.baseline_plain_read_mb_per_s")
    row("  seconds (baseline: plain read())", secs, mb / plain_mb_s,
        f"<= {GOAL_READ_SECONDS} s: {verdict(secs <= GOAL_READ_SECONDS)}")
    row("  MB/s", mb / secs, plain_mb_s)
    row("  peak memory growth of the reader, MiB",
        median_of(reads, "read.peak_rss_growth_mib"), None)

    first = median_of(opens_small, "open.first_frame_ms")
    print(f"opening on {int(opens_small[0]['open.games_in_mode'])} games of one mode "
          f"(10,000 in the log)")
    row("  first frame, ms (baseline: plain window)", first,
        median_of(opens_small, "open.baseline_plain_window_first_frame_ms"),
        f"<= {GOAL_FIRST_FRAME_MS:.0f} ms: {verdict(first <= GOAL_FIRST_FRAME_MS)}")
    row("  first frame with the chart drawn, ms",
        median_of(opens_small, "open.first_frame_with_data_ms"), None)

    gap = max(r["open.ui_longest_gap_ms"] for r in opens_big)
    print(f"stalls while {args.games} games load ({int(opens_big[0]['open.games_in_mode'])} in the "
          f"mode shown); worst of {args.runs} runs")
    row("  longest timer wait, ms (baseline: idle)", gap,
        max(r["open.baseline_idle_longest_gap_ms"] for r in opens_big),
        f"<= {GOAL_LONGEST_GAP_MS:.0f} ms: {verdict(gap <= GOAL_LONGEST_GAP_MS)}")
    row("  ... baseline: a plain window opening", gap,
        max(r["open.baseline_plain_window_longest_gap_ms"] for r in opens_big))
    row("  ticks later than 50 ms", max(r["open.ui_late_ticks_over_50ms"] for r in opens_big), 0)
    turn = max(r["open.ui_longest_turn_cpu_ms"] for r in opens_big)
    row("  UI thread's longest turn, processor ms", turn, None,
        f"<= {GOAL_LONGEST_GAP_MS:.0f} ms: {verdict(turn <= GOAL_LONGEST_GAP_MS)}")
    row("  log read and shown, ms", median_of(opens_big, "open.first_frame_with_data_ms"), None)
    row("  sort by SCORE (a header click), ms", median_of(opens_big, "open.sort_by_score_ms"), None)
    row("  switch to another mode's tab, ms", median_of(opens_big, "open.switch_mode_ms"), None)

    extra = median_of(opens_big, "open.peak_rss_growth_mib")
    print("memory")
    row("  peak, MiB (baseline: the idle stand-in)", median_of(opens_big, "open.peak_rss_mib"),
        median_of(opens_big, "open.idle_peak_rss_mib"))
    row("  growth over idle, MiB", extra, None,
        f"<= {GOAL_EXTRA_PEAK_MIB:.0f} MiB: {verdict(extra <= GOAL_EXTRA_PEAK_MIB)}")

    print(f"chart of {int(chart['chart.games'])} games in Qt Charts (best of 3)")
    row("  every game a point, ms per drawing", chart["chart.every_game_ms"], None)
    row(f"  grouped, {int(chart['chart.grouped_points'])} points of "
        f"{int(chart['chart.grouped_games_per_point'])} games, ms", chart["chart.grouped_ms"], None)

    plain = statistics.median(starts["idle_plain"])
    print(f"start-up, exec to first frame and exit, offscreen "
          f"({len(starts['idle_plain'])} runs each)")
    for name, what in (("idle_entry", "entry linked, as the game will"),
                       ("idle_window", "window linked, Qt Charts too")):
        linked = statistics.median(starts[name])
        row(f"  {what}, ms (baseline: none)", linked, plain,
            f"difference {linked - plain:+.1f} ms")
    print(f"load average at end: {' '.join(f'{x:.1f}' for x in os.getloadavg())}")


if __name__ == "__main__":
    main()

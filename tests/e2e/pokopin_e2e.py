#!/usr/bin/env python3

# SPDX-FileCopyrightText: 2026 Pokopin developers
#
# SPDX-License-Identifier: GPL-3.0-or-later

"""End-to-end checks of the built game under a private X server.

usage: pokopin_e2e.py CASE PATH/TO/pokopin

Each case copies the program and its data files into a fresh folder (no
Score.txt), runs it there with its own HOME and runtime folder, plays it with
xdotool and checks what it shows and writes. Exit status 0 passed, 1 failed,
77 skipped (a needed X tool is missing).
"""

import datetime
import os
import shutil
import subprocess
import sys
import time
import urllib.parse

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from e2e_support import (EXIT_TITLE, GAME_SECONDS, GREETING_TITLE, MAIN_TITLE,  # noqa: E402
                         TITLE_WINDOW_SIZE, Failure, check, end_process, highest_score, run,
                         wait_until)

HISTORY_TITLE = "\u6210\u7e3e\u30b0\u30e9\u30d5 - Pokopin\uff01"  # 成績グラフ - Pokopin！
EASY = "\u304b\u3093\u305f\u3093"    # かんたん
NORMAL = "\u3075\u3064\u3046"        # ふつう
QUOTA_OVERRUN = 8                    # raises on the spawner tick that meets the quota
FULL_GAME_PLAYTIME = 25
LETTER_KEYS = ["q", "w", "e", "a", "s", "d", "z", "x", "c"]


def title_window(game):
    return next((w for w in game.windows()
                 if (w.width, w.height) == TITLE_WINDOW_SIZE and w.name != MAIN_TITLE), None)


def first_start(game):
    """The greeting comes before the main window, with the title window still
    behind it; with a score log present there is no greeting."""
    proc = game.start()
    box = game.wait_window(GREETING_TITLE)
    check(game.window(MAIN_TITLE) is None, "no main window while the greeting is up")
    check(title_window(game) is not None, "the title window is on screen behind the greeting")
    game.keys(box, "Return")
    game.wait_window(MAIN_TITLE)
    check(game.window(GREETING_TITLE) is None,
          "Enter closes the greeting and the main window shows")
    closed = wait_until(lambda: title_window(game) is None, 5, "the title window to close",
                        fail=False)
    check(closed, "the title window closes once the main window is up")
    check(game.score_bytes() is None, "start-up alone writes no score log")
    end_process(proc)

    with open(game.score_file, "wb"):
        pass
    game.fresh_runtime()
    proc = game.start()

    def first_window():
        # A greeting blocks the start-up until answered, so it cannot slip by unseen.
        for title in (GREETING_TITLE, MAIN_TITLE):
            if game.window(title):
                return title
        return "program ended" if proc.poll() is not None else None

    shown = wait_until(first_window, 20, "a window of the later run")
    check(shown == MAIN_TITLE,
          f"with a score log the main window comes without a greeting ({shown})")
    check(game.score_bytes() == b"", "start-up leaves the score log alone")


def start_from_menu(game, main):
    game.keys(main, "alt+g")
    # The menu takes the keyboard; its first item is "スタート".
    time.sleep(0.5)
    game.press("Return")


def play_until_logged(game, entries_before, play_round, timeout):
    """Plays rounds until a new score log entry appears; returns the seconds
    from the first round until the entry was there."""
    started = time.monotonic()
    while game.finished_entries() == entries_before:
        if time.monotonic() - started > timeout:
            raise Failure(f"no score log entry within {timeout} s of the start")
        play_round()
    return time.monotonic() - started


def check_whacks(e, whacked):
    """The figures of any game in which holes were whacked."""
    check(e["hit"] + e["miss"] > 0, whacked)
    check(e["hit"] <= e["count"], "no more hits than moles")
    check(e["score"] <= highest_score(e["hit"]), "the score is within what the hits can give")


def check_full_game(e, quota, whacked):
    """The figures of a game that ran its whole clock in a mode with this quota."""
    check(e["playtime"] == FULL_GAME_PLAYTIME, f"PlayTime {e['playtime']} is a full game's")
    check(1 <= e["count"] <= quota + QUOTA_OVERRUN,
          f"COUNT {e['count']} within 1..{quota + QUOTA_OVERRUN}")
    check_whacks(e, whacked)


def mouse_game(game):
    """A whole game with the mouse, started from the menu and ended by the
    clock: the one game of these tests that runs its full 24 seconds."""
    proc, main = game.open_to_main()
    check(main.width >= 640 and main.height >= 480,
          f"the main window holds the 640 x 480 board ({main.width} x {main.height})")
    start_from_menu(game, main)
    main = game.window(MAIN_TITLE) or main  # where it is now
    seconds = play_until_logged(game, 0, lambda: game.click_holes(main, range(9)),
                                GAME_SECONDS + 12)
    check(GAME_SECONDS - 1 <= seconds <= GAME_SECONDS + 6,
          f"the clock ended the game after {seconds:.1f} s")
    entries = game.score_entries()
    check(len(entries) == 1, f"exactly one score log entry ({len(entries)})")
    e = entries[0]
    print("entry:", e)
    check(e["mode"] == EASY, "played in mode かんたん")
    check_full_game(e, quota=30, whacked="the clicks were judged as hits or misses")
    check(abs((e["when"] - datetime.datetime.now()).total_seconds()) < 120,
          "the entry carries the time of the game's end")
    check(proc.poll() is None, "the program runs on after the game")

    # The game just written down opens in the history, once however often asked.
    game.keys(main, "ctrl+g")
    history = game.wait_window(HISTORY_TITLE)
    game.keys(main, "ctrl+g")
    time.sleep(0.5)
    shown = [w for w in game.windows() if w.name == HISTORY_TITLE]
    check(len(shown) == 1, f"a second Ctrl+G raises the one history window ({len(shown)})")
    shots = os.environ.get("POKOPIN_E2E_SHOTS")
    if shots:
        time.sleep(1)
        game.x("xdotool", "windowraise", history.id, check_rc=False)
        subprocess.run(["timeout", "20", "import", "-window", history.id,
                        os.path.join(shots, "history_after_game.png")],
                       env=dict(os.environ, DISPLAY=game.xvfb.display), check=False)
    check(proc.poll() is None, "the program runs on with its history open")


def clock_pixels(game, main):
    """The clock digits at the bottom of the board."""
    ox, oy = main.client_origin()
    return game.grab(main, ox - main.x + 345, oy - main.y + 437, 44, 40)


def record_label_pixels(game, main):
    """The "SCORE RECORD" label pair at the bottom left of the board."""
    ox, oy = main.client_origin()
    return game.grab(main, ox - main.x + 30, oy - main.y + 446, 150, 26)


def keyboard(game):
    """Space starts and stops (once per real release); a held hole key keeps
    whacking; Up switches recording off and on again; Right changes the mode;
    the letter keys whack. Every game here is stopped early: mouse_game plays
    the one that runs out the clock."""
    proc, main = game.open_to_main()
    idle_clock = clock_pixels(game, main)

    # Held keys repeat. Space acts once, on the real release; a hole key
    # whacks on every repeated press.
    game.tap(main, "space", hold=1.5)
    time.sleep(0.3)
    game.tap(main, "s", hold=2.0)
    running_clock = clock_pixels(game, main)
    game.tap(main, "space")
    entries = game.wait_entries(1, 10)
    time.sleep(1)  # the end-of-game pause
    entries = game.score_entries()
    check(len(entries) == 1, f"a held Space started one game, a tap stopped it ({len(entries)})")
    e = entries[0]
    print("entry:", e)
    check(2 <= e["playtime"] <= 5, f"Space stopped the game after PlayTime {e['playtime']}")
    check(e["mode"] == EASY, "the first game is played in mode かんたん")
    check(e["hit"] + e["miss"] >= 2, "a held hole key whacks again while it repeats")
    check(running_clock != idle_clock, "the clock counts down while a game runs")
    check(clock_pixels(game, main) == idle_clock, "the clock shows its idle value again")

    logged = game.score_bytes()
    recording_label = record_label_pixels(game, main)
    game.tap(main, "Up")
    time.sleep(0.3)
    check(record_label_pixels(game, main) != recording_label,
          "Up hides the SCORE RECORD label")
    game.tap(main, "space")
    time.sleep(2.2)
    unrecorded_clock = clock_pixels(game, main)
    game.tap(main, "space")
    time.sleep(1.5)
    check(unrecorded_clock != idle_clock, "the game with recording off ran")
    check(game.score_bytes() == logged, "with recording off the score log is unchanged")

    game.tap(main, "Up")
    time.sleep(0.3)
    check(record_label_pixels(game, main) == recording_label,
          "Up again shows the SCORE RECORD label")
    game.tap(main, "Right")
    game.tap(main, "space")
    time.sleep(0.5)
    game.keys(main, *LETTER_KEYS, delay_ms=40)
    time.sleep(1.0)
    game.tap(main, "space")
    entries = game.wait_entries(2, 10)
    check(len(entries) == 2, f"with recording on again the game is logged: two entries in all "
          f"({len(entries)})")
    e = entries[1]
    print("entry:", e)
    check(e["mode"] == NORMAL, "Right switched the mode to ふつう")
    check_whacks(e, "the letter keys whacked holes")
    check(proc.poll() is None, "the program runs on")


def help_key(game):
    """F1 hands Help.html from the program's folder to the desktop's viewer;
    while the page is missing F1 calls no viewer, even before the Help menu
    was ever opened."""
    record = os.path.join(game.scratch, "viewer-args")
    game.install_command("xdg-open", f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{record}"\n')
    help_path = os.path.join(game.folder, "Help.html")
    os.rename(help_path, help_path + ".aside")
    _, main = game.open_to_main()
    game.tap(main, "F1")
    # Keys are handled in order: once Up has switched the SCORE RECORD label,
    # the F1 before it has been handled too.
    label = record_label_pixels(game, main)
    game.tap(main, "Up")
    wait_until(lambda: record_label_pixels(game, main) != label, 10,
               "Up to switch the SCORE RECORD label")
    os.rename(help_path + ".aside", help_path)
    game.tap(main, "F1")
    wait_until(lambda: os.path.exists(record) and open(record).read().strip(), 10,
               "the viewer to be called")
    with open(record) as f:
        args = f.read().split("\n")[:-1]
    print("viewer arguments:", args)
    accepted = {help_path, "file://" + help_path,
                "file://" + urllib.parse.quote(help_path)}
    check(len(args) == 1 and args[0] in accepted,
          f"the viewer is given {help_path}, and nothing while it was missing")


def exit_confirmation(game):
    """Ctrl+Q asks first: Escape keeps the program (and its game) going, Enter
    ends it at once with status 0 and without logging the running game."""
    proc, main = game.open_to_main()
    game.keys(main, "ctrl+q")
    box = game.wait_window(EXIT_TITLE, timeout=10)
    game.keys(box, "Escape")
    game.wait_gone(EXIT_TITLE)
    time.sleep(0.5)
    check(proc.poll() is None and game.window(MAIN_TITLE) is not None,
          "Escape answers Cancel: the program runs on")

    game.tap(main, "space")
    time.sleep(1.2)
    game.keys(main, "ctrl+q")
    box = game.wait_window(EXIT_TITLE, timeout=10)
    before = clock_pixels(game, main)
    time.sleep(1.5)
    check(clock_pixels(game, main) != before, "the game clock runs on behind the question")
    game.keys(box, "Escape")
    game.wait_gone(EXIT_TITLE)

    game.keys(main, "ctrl+q")
    box = game.wait_window(EXIT_TITLE, timeout=10)
    game.keys(box, "Return")
    try:
        rc = proc.wait(10)
    except subprocess.TimeoutExpired:
        rc = None
    check(rc == 0, f"Enter answers OK: the program ends with status 0 ({rc})")
    check(game.score_bytes() is None, "the game running at exit is not logged")


def single_instance(game):
    """A second start while the game runs ends at once without a window; after
    the first is killed, a new start takes over its lock."""
    first, main = game.open_to_main()
    watcher = game.watch_maps()
    started = time.monotonic()
    second = game.start()
    try:
        rc = second.wait(10)
    except subprocess.TimeoutExpired:
        rc = None
    took = time.monotonic() - started
    time.sleep(0.3)
    maps = game.stop_watch(watcher)
    check(rc == 0, f"the second start ends with status 0 ({rc})")
    check(took < 5, f"the second start ends at once ({took:.1f} s)")
    check(maps == 0, f"the second start maps no window ({maps})")
    check(first.poll() is None and game.window(MAIN_TITLE) is not None,
          "the first instance runs on with its window")

    first.kill()
    first.wait()
    game.wait_gone(MAIN_TITLE)
    third, _ = game.open_to_main()
    check(third.poll() is None, "after a kill -9 of the first, a new start shows its window")


CASES = {
    "first_start": first_start,
    "mouse_game": mouse_game,
    "keyboard": keyboard,
    "help_key": help_key,
    "exit_confirmation": exit_confirmation,
    "single_instance": single_instance,
}

if __name__ == "__main__":
    missing = [t for t in ("Xvfb", "xdotool", "xwininfo", "xev", "import") if not shutil.which(t)]
    if missing:
        print("skipped: missing", " ".join(missing))
        sys.exit(77)
    sys.exit(run(CASES))
